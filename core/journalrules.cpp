#include "core/journalrules.h"

#include "core/datamodule.h"

using namespace Qt::StringLiterals;

namespace kordel::journal {

bool isWeekend(const QDate &date)
{
    return date.dayOfWeek() == Qt::Saturday || date.dayOfWeek() == Qt::Sunday;
}

Period previousMonth(const QDate &today)
{
    const QDate first(today.year(), today.month(), 1);
    return {first.addMonths(-1), first};
}

Acceptance::Acceptance(DataModule &data)
    : m_update(data.connectionName(), u"updtOK"_s, u"update accounts_dep.smena set ok=:ok where id=:id"_s)
{}

QString Acceptance::toggled(const QString &mark)
{
    return mark == u"ok"_s || mark == u"да"_s ? u"no"_s : u"ok"_s;
}

QString Acceptance::toggle(int rowId, const QString &currentMark)
{
    const QString mark = toggled(currentMark);
    m_update.setParam(u"ok"_s, mark);
    m_update.setParam(u"id"_s, rowId);
    m_update.execute();
    return mark;
}

} // namespace kordel::journal
