#include "brigade/distributionstore.h"

#include "core/datamodule.h"
#include "core/vocabulary.h"
#include "db/transaction.h"

using namespace Qt::StringLiterals;

namespace kordel {
namespace distribution {

Decimal coefficient(Distribution kind)
{
    switch (kind) {
    case Distribution::Brigade:
        return *Decimal::parse(u"0.7");
    case Distribution::Painting:
        return *Decimal::parse(u"1.2");
    case Distribution::Hanging:
        return *Decimal::parse(u"0.4");
    }
    return {};
}

int code(Distribution kind)
{
    switch (kind) {
    case Distribution::Brigade:
        return vocabulary::Brigade;
    case Distribution::Painting:
        return vocabulary::Painting;
    case Distribution::Hanging:
        return vocabulary::Hanging;
    }
    return 0;
}

namespace {

bool lastDigitOdd(const Decimal &value, int scale)
{
    const QString text = value.toString(scale);
    return (text.back().unicode() - u'0') % 2 != 0;
}

// One unit of the last place kept, and half of it, with a sign.
Decimal unit(int scale, bool negative)
{
    const QString text = (negative ? u"-0."_s : u"0."_s) + QString(scale - 1, u'0') + u"1"_s;
    return *Decimal::parse(text);
}

} // namespace

Decimal roundHalfEven(const Decimal &value, int scale)
{
    if (value.scale() <= scale)
        return value;
    const Decimal away = value.rounded(scale); // halves away from zero
    const bool negative = value < Decimal();
    const Decimal half = unit(scale + 1, negative) * Decimal::fromInt(5);
    if (away - value == half && lastDigitOdd(away, scale))
        return away - unit(scale, negative);
    return away;
}

Decimal divideHalfEven(const Decimal &a, const Decimal &b, int scale)
{
    const Decimal away = Decimal::divide(a, b, scale);
    const bool negative = (a < Decimal()) != (b < Decimal());
    // Exactly a half when the midpoint below the rounded quotient, times b,
    // gives a back without remainder.
    const Decimal midpoint = away - unit(scale + 1, negative) * Decimal::fromInt(5);
    if (midpoint * b == a && lastDigitOdd(away, scale))
        return away - unit(scale, negative);
    return away;
}

std::optional<Pay> compute(const Decimal &totalMoney, const Decimal &totalHours, int hoursWorked,
                           Distribution kind)
{
    if (totalHours.isZero())
        return std::nullopt;
    const Decimal weighted = totalMoney * coefficient(kind);
    return Pay{divideHalfEven(weighted, totalHours, 2),
               divideHalfEven(weighted * Decimal::fromInt(hoursWorked), totalHours, 2)};
}

} // namespace distribution

DistributionStore::DistributionStore(DataModule &dataModule)
    : m_data(dataModule), m_upkeep(dataModule),
      // The reference worker's name is found as the journal's picks find
      // it: by the person's id or by his code.
      m_list(dataModule.connectionName(), u"painting_temp"_s,
             u"SELECT p.s_caption w_fio, pt.id_p, pt.id, pt.f_time, (pt.f_count*pt.f_time)::t_money f_count, "
             "vo.vid\nFROM accounts_dep.painting_temp pt\n"
             "left join accounts_dep.vid_oper vo on pt.v_id=vo.id\n"
             "left join cmn_contractor.person p on (p.id=pt.id_w or p.s_code::t_id=pt.id_w)\n"
             "where pt.id_p =:p_id::numeric order by pt.id"_s),
      m_totals(dataModule.connectionName(), u"painting_temp_sum"_s,
               u"SELECT pt.id_p, sum(pt.f_count*pt.f_time)::t_money f_count,sum(pt.f_time)::t_money f_time\n"
               "FROM accounts_dep.painting_temp pt\nwhere pt.id_p =:p_id::numeric group by pt.id_p"_s),
      m_delete(dataModule.connectionName(), u"DelSmena"_s),
      m_insert(dataModule.connectionName(), u"ins_person"_s),
      m_write(dataModule.connectionName(), u"SmenaIU"_s)
{
    m_list.setParam(u"p_id"_s, 0);
    m_totals.setParam(u"p_id"_s, 0);
}

DistributionStore::~DistributionStore() = default;

qint64 DistributionStore::lockKey(int paidWorker)
{
    // Apart from every other advisory lock of the client, which take two
    // int keys.
    return (qint64(vocabulary::Hanging) << 32) + paidWorker;
}

void DistributionStore::clearRows(int paidWorker)
{
    m_delete.run(u"DELETE FROM accounts_dep.painting_temp WHERE id_p=:p::numeric"_s, {{u"p"_s, paidWorker}});
}

bool DistributionStore::take(int paidWorker)
{
    if (paidWorker != m_paidWorker) {
        const bool locked = sql::scalar(m_data.connectionName(), u"select pg_try_advisory_lock(:k::bigint)"_s,
                                        {{u"k"_s, lockKey(paidWorker)}})
                                .toBool();
        if (!locked)
            return false;
        release();
        m_paidWorker = paidWorker;
    }
    clearRows(paidWorker);
    return true;
}

void DistributionStore::release()
{
    m_list.close();
    m_totals.close();
    const int held = m_paidWorker;
    if (held == 0)
        return;
    m_paidWorker = 0;
    const auto unlock = [&] {
        sql::exec(m_data.connectionName(), u"select pg_advisory_unlock(:k::bigint)"_s,
                  {{u"k"_s, lockKey(held)}});
    };
    try {
        clearRows(held);
    } catch (...) {
        unlock();
        throw;
    }
    unlock();
}

void DistributionStore::reopen()
{
    m_list.close();
    m_totals.close();
    m_list.setParam(u"p_id"_s, m_paidWorker);
    m_totals.setParam(u"p_id"_s, m_paidWorker);
    m_list.open();
    m_totals.open();
}

void DistributionStore::add(const ReferenceRow &row)
{
    m_insert.run(u"insert into accounts_dep.painting_temp(id_p, id_w, v_id, f_count, f_time, color) "
                 "values(:p, :w, :v, :rate::numeric, :t::numeric, 0)"_s,
                 {{u"p"_s, m_paidWorker},
                  {u"w"_s, row.worker},
                  {u"v"_s, row.kind},
                  {u"rate"_s, row.rate.toString()},
                  {u"t"_s, row.hours.toString()}});
}

void DistributionStore::removeRow(int rowId)
{
    m_delete.run(u"DELETE FROM accounts_dep.painting_temp WHERE id=:id"_s, {{u"id"_s, rowId}});
}

std::optional<DistributionStore::Totals> DistributionStore::currentTotals() const
{
    if (!m_totals.isOpen() || m_totals.isEmpty())
        return std::nullopt;
    return Totals{m_totals.decimal(u"f_count"_s), m_totals.decimal(u"f_time"_s)};
}

int DistributionStore::save(Distribution kind, const Decimal &pay, int hoursWorked, const QDate &date,
                            int shift)
{
    const int code = distribution::code(kind);
    Transaction transaction(m_data.connectionName());
    const int id =
        m_write
            .runReturning(
                u"insert into accounts_dep.SMENA(w_id, i_id, o_id, cena, kol_vo, brak, data, smena, color, "
                u"time, "
                "vvod,ok, prize, id_doc, id_doc_item, f_gds_qty_use, id_gds_use, id_cons_use) values(:w, "
                ":code, "
                ":code, :cena::numeric, 1, 0, :d::date, :s, :code, :t, :vvod::date, 'no', 0, 0, 0, 0, 0, 0) "
                "returning id"_s,
                {{u"w"_s, m_paidWorker},
                 {u"code"_s, code},
                 {u"cena"_s, pay.toString()},
                 {u"d"_s, date},
                 {u"s"_s, shift},
                 {u"t"_s, hoursWorked},
                 {u"vvod"_s, QDate::currentDate()}})
            .toInt();
    // Only the hanging worker's hours count in the timesheet.
    if (kind == Distribution::Hanging)
        m_upkeep.shiftHours(m_paidWorker, shift, date, HoursUpkeep::Mode::Upsert);
    clearRows(m_paidWorker);
    transaction.commit();
    return id;
}

} // namespace kordel
