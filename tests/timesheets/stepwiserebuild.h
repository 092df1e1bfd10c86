#pragma once

// The month rebuild of the piecework timesheet done statement by statement,
// day by day and record by record, as the rows it must leave are defined.
// The tests and the benchmark compare the client's set-based rebuild with it.

#include "db/command.h"
#include "db/dataset.h"

#include <QDate>
#include <QString>

namespace kordel::stepwise {

inline void rebuildMonth(const QString &connection, int month, int year)
{
    using namespace Qt::StringLiterals;
    const Params key{{u"m"_s, month}, {u"y"_s, year}};
    sql::exec(connection, u"delete from accounts_dep.h_tabel where smena=0 and month=:m and year=:y"_s, key);
    Dataset journal(
        connection, u"refresh_h_tabel"_s,
        u"select p.fio, s.w_id, s.smena, sum(s.\"time\") as t_sum_time from accounts_dep.smena s, "
        "accounts_dep.person p where s.\"data\" = :d_date and p.id=s.w_id group by s.w_id, p.fio, "
        "s.smena order by fio"_s);
    Dataset household(
        connection, u"dt"_s,
        u"select f.id_p, f.id_o, f.i_night, sum(f.cnt) as tim, f.id_nom from accounts_dep.fatigue f "
        "where f.d_date =:data group by f.id_p, f.id_o, f.i_night, f.id_nom order by id_p"_s);
    const int days = QDate(year, month, 1).daysInMonth();
    for (int day = 1; day <= days; ++day) {
        const QDate date(year, month, day);
        const QString cell = u"d"_s + QString::number(day);
        journal.setParam(u"d_date"_s, date);
        journal.open();
        household.setParam(u"data"_s, date);
        household.open();
        sql::exec(connection,
                  u"update accounts_dep.h_tabel set "_s + cell +
                      u"=NULL where i_type=0 and i_night=0 and month=:m and year=:y and id_nom=0"_s,
                  key);
        for (int row = 0; row < journal.recordCount(); ++row) {
            Params p = key;
            p.insert(u"t"_s, journal.valueAt(row, u"t_sum_time"_s));
            p.insert(u"w"_s, journal.valueAt(row, u"w_id"_s));
            p.insert(u"s"_s, journal.valueAt(row, u"smena"_s));
            sql::exec(
                connection,
                u"update accounts_dep.h_tabel set "_s + cell +
                    u"=:t::integer where w_id=:w::integer and smena=:s::integer and i_type=0 and i_night=0 "
                    "and month=:m and year=:y and id_nom=0"_s,
                p);
        }
        journal.close();
        for (int row = 0; row < household.recordCount(); ++row) {
            Params p = key;
            p.insert(u"p"_s, household.valueAt(row, u"id_p"_s));
            p.insert(u"k"_s, household.valueAt(row, u"id_o"_s));
            p.insert(u"g"_s, household.valueAt(row, u"i_night"_s));
            p.insert(u"c"_s, household.valueAt(row, u"id_nom"_s));
            const int count =
                sql::scalar(connection,
                            u"select count(w_id) as cnt from accounts_dep.h_tabel h_tabel where "
                            "w_id=:p::integer and i_type=:k::integer and i_night=:g::integer and "
                            "month=:m and year=:y and id_nom=:c::numeric"_s,
                            p)
                    .toInt();
            p.insert(u"t"_s, household.valueAt(row, u"tim"_s));
            if (count != 0)
                sql::exec(connection,
                          u"update accounts_dep.h_tabel set "_s + cell +
                              u"=:t::integer where w_id=:p::integer and i_type=:k::integer and "
                              "i_night=:g::integer and month=:m and year=:y and id_nom=:c::numeric"_s,
                          p);
            else
                sql::exec(connection,
                          u"insert into accounts_dep.h_tabel(i_type, w_id, i_night, month, year, "_s + cell +
                              u", id_nom) values(:k::integer, :p::integer, :g::integer, :m, :y, :t::integer, "
                              ":c::numeric)"_s,
                          p);
        }
        household.close();
    }
}

} // namespace kordel::stepwise
