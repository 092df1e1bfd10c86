#pragma once

// The month sheets with a correlated subquery per worker for every figure,
// as they were first written.  The client's statements sum each month once
// and join; the tests prove both return the same rows.

#include "timesheets/pieceworkstore.h"

#include <QStringList>

namespace kordel::correlated {

using namespace Qt::StringLiterals;

inline QString daySums()
{
    QStringList items;
    for (int day = 1; day <= 31; ++day)
        items << u"\tsum(h. d%1)\tas\td%1"_s.arg(day);
    return items.join(u",\n"_s) + u'\n';
}

inline QString householdSheet(const QString &kinds, const QString &rowKinds)
{
    return u"select p.s_caption fio, p.id,h.i_type, case when h.i_night=0 then 'дн.' else 'ноч.' end as "
           u"s_night, "
           "h.i_night,\n"
           "(select sum(f.cnt) from accounts_dep.fatigue f where f.d_date<:d_date1 and f.d_date>=:d_date2 "
           "and "
           "f.id_p=p.id and "_s +
           kinds +
           u" and f.i_night=h.i_night) i_time,\n"
           "(select sum(f.cnt*f.price)::numeric(10,2) from accounts_dep.fatigue f where f.d_date<:d_date3 "
           "and "
           "f.d_date>=:d_date4 and f.id_p=p.id and "_s +
           kinds +
           u" and f.i_night=h.i_night) f_price,\n"
           "(select case when coalesce(sum(f.cnt),0)::numeric(10,2)=0 then 0 else "
           "coalesce(sum((f.cnt*f.price))/sum(f.cnt),0)::numeric(10,2) end \n"
           "from accounts_dep.fatigue f where f.d_date<:d_date5 and f.d_date>=:d_date6 and f.id_p=p.id and "_s +
           kinds + u" and f.i_night=h.i_night) average_price,\n"_s + daySums() +
           u"from  cmn_contractor.person p, accounts_dep.h_tabel h\n"
           "where h.year=:i_year and h.month=:i_month and h.w_id=p.id and "_s +
           rowKinds +
           u"\ngroup by p.id, p.s_caption, h.i_type, h.i_night\n"
           "order by fio"_s;
}

inline QString pieceworkSheet(PieceworkMode mode)
{
    switch (mode) {
    case PieceworkMode::Piecework:
        return u"select p.s_caption fio, p.id,h.i_type,\n"
               "(select sum(s.time) from accounts_dep.smena s where s.data<:d_date1 and s.data>=:d_date2 and "
               "s.w_id=p.id) i_time,\n"
               "(select sum((s.kol_vo-s.brak)*s.cena)::numeric(10,2)from accounts_dep.smena s where "
               "s.data<:d_date3 and s.data>=:d_date4 and s.w_id=p.id) f_price,\n"
               "(select case when coalesce(sum(s.time),0)::numeric(10,2)=0 then 0 else "
               "coalesce(sum((s.kol_vo-s.brak)*s.cena)/sum(time),0)::numeric(10,2) end from "
               "accounts_dep.smena s "
               "where s.data<:d_date5 and s.data>=:d_date6 and s.w_id=p.id) average_price,\n"_s +
               daySums() +
               u"from  cmn_contractor.person p, accounts_dep.h_tabel h\n"
               "where h.year=:i_year and h.month=:i_month and h.w_id=p.id and i_type=0\n"
               "group by p.id, p.s_caption, h.i_type\n"
               "order by fio"_s;
    case PieceworkMode::General:
        return u"select p.s_caption fio, p.id,\n"
               "coalesce((select sum(s.time) from accounts_dep.smena s where s.data<:d_date1 and "
               "s.data>=:d_date2 and s.w_id=p.id),0)+\n"
               "coalesce((select sum(f.cnt) from accounts_dep.fatigue f where f.d_date<:d_date7 and "
               "f.d_date>=:d_date8 and f.id_p=p.id),0) i_time,\n"
               "coalesce((select sum((s.kol_vo-s.brak)*s.cena)::numeric(10,2)from accounts_dep.smena s where "
               "s.data<:d_date3 and s.data>=:d_date4 and s.w_id=p.id),0)+ \n"
               "coalesce((select sum(f.cnt*f.price)::numeric(10,2)from accounts_dep.fatigue f where "
               "f.d_date<:d_date5 and f.d_date>=:d_date6 and f.id_p=p.id),0) f_price,\n"_s +
               daySums() +
               u"from  cmn_contractor.person p, accounts_dep.h_tabel h\n"
               "where h.year=:i_year and h.month=:i_month and h.w_id=p.id\n"
               "group by p.id, p.s_caption\n"
               "order by fio"_s;
    case PieceworkMode::Household:
        return householdSheet(u"(f.id_o=7777 or f.id_o=7782 or f.id_o=7783)"_s,
                              u"( i_type=7777 or i_type=7782 or i_type=7783)"_s);
    case PieceworkMode::Average:
        return householdSheet(u"f.id_o=7778"_s, u"i_type=7778"_s);
    }
    return {};
}

inline QString groupDaySums()
{
    QStringList items;
    for (int day = 1; day <= 31; ++day)
        items << u"\tsum(h. d%1)\tas\td%1,\n"_s.arg(day);
    return items.join(QString());
}

inline QString groupSheet(int kind)
{
    const QString kinds = kind == 7777 ? u"(f.id_o=7777 or f.id_o=7782 or f.id_o=7783)"_s : u"f.id_o=7778"_s;
    const QString groupKinds =
        kind == 7777 ? u"(f3.id_o=7777 or f3.id_o=7782 or f3.id_o=7783)"_s : u"f3.id_o=7778"_s;
    const QString rowKinds =
        kind == 7777 ? u"(i_type=7777 or i_type=7782 or i_type=7783)"_s : u"i_type=7778"_s;
    return u"select distinct Trim(i.s_caption) as s_nom, Trim(p.s_caption) as fio, h.id_nom, \n"
           "case when h.i_night=0 then 'дн.' else 'ноч.' end as s_night, h.i_night,\n"
           "(select sum(f.cnt) from accounts_dep.fatigue f where f.d_date<:d_date1 and f.d_date>=:d_date2 "
           "and "
           "f.id_p=p.id and "_s +
           kinds +
           u" and f.i_night=h.i_night and f.id_nom=h.id_nom) i_time,\n"
           "(select sum(f.cnt*f.price)::numeric(10,2) from accounts_dep.fatigue f where f.d_date<:d_date3 "
           "and "
           "f.d_date>=:d_date4 and f.id_p=p.id and "_s +
           kinds +
           u" and f.i_night=h.i_night and f.id_nom=h.id_nom) f_price,\n"
           "(select case when coalesce(sum(f.cnt),0)::numeric(10,2)=0 then 0 else "
           "coalesce(sum((f.cnt*f.price))/sum(f.cnt),0)::numeric(10,2) end \n"
           "from accounts_dep.fatigue f where f.d_date<:d_date5 and f.d_date>=:d_date6 and f.id_p=p.id and "_s +
           kinds +
           u" and f.i_night=h.i_night) average_price,\n"
           "(select sum(coalesce(f3.cnt*f3.price,0))::numeric(10,2) from accounts_dep.fatigue f3 where "
           "f3.d_date<:d_date7 and f3.d_date>=:d_date8 and f3.id_nom=h.id_nom and "_s +
           groupKinds + u") f_price_nom,\n"_s + groupDaySums() +
           u"p.id, h.i_type\n"
           "from  cmn_contractor.person p, accounts_dep.h_tabel h, cmn_classifier.item i\n"
           "where h.year=:i_year and h.month=:i_month and h.w_id=p.id and "_s +
           rowKinds +
           u" and h.id_nom=i.id\n"
           "group by p.id, p.s_caption, h.i_type, h.i_night, h.id_nom, i.s_caption\n"
           "order by s_nom, fio"_s;
}

} // namespace kordel::correlated
