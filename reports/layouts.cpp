#include "reports/layouts.h"

using namespace Qt::StringLiterals;
using kordel::report::Column;
using kordel::report::Line;
using kordel::report::LineKind;

namespace kordel::reports {

namespace {

const Decimal coefficient = *Decimal::parse(u"1.2");

QString plain(const Decimal &value)
{
    return value.toString();
}

Line line(LineKind kind, QStringList cells, bool bold = false)
{
    return Line{kind, std::move(cells), bold};
}

// Rows [begin, end) sharing a key, in order.
template <typename Row, typename Key>
QList<std::pair<int, int>> runs(const QList<Row> &rows, int begin, int end, Key key)
{
    QList<std::pair<int, int>> groups;
    int start = begin;
    for (int i = begin + 1; i <= end; ++i) {
        if (i == end || key(rows[i]) != key(rows[start])) {
            groups.append({start, i});
            start = i;
        }
    }
    return groups;
}

} // namespace

QString reportTitle(const QString &name, const Period &period)
{
    return u"   "_s + name + u" за период с "_s + period.from.toString(u"dd.MM.yyyy"_s) + u" по "_s +
           period.to.toString(u"dd.MM.yyyy"_s);
}

QString masked(const Decimal &value, int decimals)
{
    return value.toString(decimals);
}

QString withoutCoefficient(const Decimal &value, int decimals)
{
    return Decimal::divide(value, coefficient, decimals).toString(decimals);
}

QString colourText(int color)
{
    if (color == 1)
        return u" (грунт)"_s;
    if (color > 1)
        return u" (RAL: "_s + QString::number(color) + u')';
    return u" "_s;
}

QString workbookOperation(const QString &vid, int color)
{
    if (color == 1)
        return vid + u" (грунт)"_s;
    if (color > 1)
        return vid + u" (цвет: "_s + QString::number(color) + u')';
    return vid;
}

report::Report workerDetailReport(const QList<WorkerDetailRow> &rows, const HouseholdTotals &all,
                                  const Period &period)
{
    report::Report r;
    r.title = reportTitle(u"Детальный отчет по рабочим"_s, period);
    r.columns = {Column{u"Изделие"_s, 2.2, Qt::AlignLeft},       Column{u"Операция"_s, 2.2, Qt::AlignLeft},
                 Column{u"Вид продукции"_s, 2.6, Qt::AlignLeft}, Column{u"Часы"_s, 1.0, Qt::AlignRight},
                 Column{u"Брак"_s, 1.0, Qt::AlignRight},         Column{u"Количество"_s, 1.6, Qt::AlignRight},
                 Column{u"Сумма"_s, 2.6, Qt::AlignRight}};
    Decimal reportQuantity, reportAmount;
    for (const auto &[begin, end] : runs(rows, 0, int(rows.size()), [](const WorkerDetailRow &row) {
             return std::pair(row.fio, row.workerId);
         })) {
        const WorkerDetailRow &worker = rows[begin];
        r.lines << line(LineKind::GroupHeader,
                        {worker.fio, {}, {}, u"Часы"_s, u"Брак"_s, u"Количество"_s, u"Сумма"_s}, true);
        Decimal hours, rejects, quantity, amount;
        for (int i = begin; i < end; ++i) {
            const WorkerDetailRow &row = rows[i];
            r.lines << line(LineKind::Detail,
                            {row.marka, row.vid, kindText(row.naimen), plain(row.hours), plain(row.rejects),
                             plain(row.quantity), masked(row.amount, 2)});
            hours = hours + row.hours;
            rejects = rejects + row.rejects;
            quantity = quantity + row.quantity;
            amount = amount + row.amount;
        }
        reportQuantity = reportQuantity + quantity;
        reportAmount = reportAmount + amount;

        auto footer = [&](QStringList cells, bool bold = false) {
            r.lines << line(LineKind::GroupFooter, std::move(cells), bold);
        };
        footer({u"Всего:"_s, {}, {}, {}, plain(rejects), plain(quantity), masked(amount, 2)}, true);
        footer({{}, {}, {}, u"Часы"_s, {}, u"Сумма с р/к (р.)"_s, u"Сумма без р/к (р.)"_s}, true);
        auto money = [&](const QString &caption, const QString &hoursText, const Decimal &sum) {
            footer({caption, {}, {}, hoursText, {}, masked(sum, 2), withoutCoefficient(sum, 2)});
        };
        money(u"Хоз. раб. (дн.)"_s, plain(worker.householdHours), worker.household);
        money(u"Хоз. раб. (нч.)"_s, plain(worker.householdNightHours), worker.householdNight);
        money(u"Ср. сд. (дн.)"_s, plain(worker.averageHours), worker.average);
        money(u"Ср. сд. (нч.)"_s, plain(worker.averageNightHours), worker.averageNight);
        money(u"Сдел."_s, masked(hours, 2), amount);
        const Decimal allHours = hours + worker.householdHours + worker.householdNightHours +
                                 worker.averageHours + worker.averageNightHours;
        const Decimal allMoney =
            amount + worker.household + worker.householdNight + worker.average + worker.averageNight;
        money(u"Итого:"_s, masked(allHours, 2), allMoney);
        // A worker without piecework hours has no hourly price: left empty
        // rather than divided by zero.
        QString price, priceWithout;
        if (!hours.isZero()) {
            price = masked(Decimal::divide(amount, hours, 2), 2);
            priceWithout = masked(Decimal::divide(amount, hours * coefficient, 2), 2);
        }
        footer({u"Цена ср. сд. за 1 ч.:"_s, {}, {}, {}, {}, price, priceWithout});
    }
    auto footer = [&](QStringList cells) { r.lines << line(LineKind::ReportFooter, std::move(cells), true); };
    footer({u"Итого по отчету:"_s, {}, {}, {}, {}, plain(reportQuantity), masked(reportAmount, 2)});
    footer({u"Хоз.р.:"_s, {}, {}, {}, {}, masked(all.household, 2), withoutCoefficient(all.household, 2)});
    footer({u"Ср.сд.:"_s, {}, {}, {}, {}, masked(all.average, 2), withoutCoefficient(all.average, 2)});
    const Decimal total = reportAmount + all.household + all.average;
    footer({u"Итого:"_s, {}, {}, {}, {}, masked(total, 2), withoutCoefficient(total, 2)});
    return r;
}

report::Report productDetailReport(const QList<ProductDetailRow> &rows, const Period &period)
{
    report::Report r;
    r.title = reportTitle(u"Детальный отчет по продукции"_s, period);
    r.columns = {Column{u"Изделие"_s, 2.2, Qt::AlignLeft}, Column{u"Операция"_s, 2.2, Qt::AlignLeft},
                 Column{u"Цвет"_s, 0.8, Qt::AlignRight},   Column{u"Вид продукции"_s, 2.6, Qt::AlignLeft},
                 Column{u"Брак"_s, 1.0, Qt::AlignRight},   Column{u"Коробки"_s, 1.3, Qt::AlignRight},
                 Column{u"Кол-во"_s, 1.3, Qt::AlignRight}, Column{u"Сумма"_s, 1.8, Qt::AlignRight}};
    Decimal allRejects, allBoxes, allQuantity, allAmount;
    for (const auto &[begin, end] :
         runs(rows, 0, int(rows.size()), [](const ProductDetailRow &row) { return row.nom; })) {
        r.lines << line(LineKind::GroupHeader, {rows[begin].nom}, true);
        Decimal rejects, boxes, quantity, amount;
        for (int i = begin; i < end; ++i) {
            const ProductDetailRow &row = rows[i];
            r.lines << line(LineKind::Detail, {row.marka, row.vid, QString::number(row.color),
                                               kindText(row.naimen), plain(row.rejects), plain(row.boxes),
                                               plain(row.quantity), masked(row.amount, 3)});
            rejects = rejects + row.rejects;
            boxes = boxes + row.boxes;
            quantity = quantity + row.quantity;
            amount = amount + row.amount;
        }
        r.lines << line(
            LineKind::GroupFooter,
            {u"Всего:"_s, {}, {}, {}, plain(rejects), masked(boxes, 2), plain(quantity), masked(amount, 2)},
            true);
        allRejects = allRejects + rejects;
        allBoxes = allBoxes + boxes;
        allQuantity = allQuantity + quantity;
        allAmount = allAmount + amount;
    }
    r.lines << line(LineKind::ReportFooter,
                    {u"Итого:"_s,
                     {},
                     {},
                     {},
                     plain(allRejects),
                     masked(allBoxes, 2),
                     plain(allQuantity),
                     masked(allAmount, 2)},
                    true);
    return r;
}

report::Report workerSummaryReport(const QList<WorkerSummaryRow> &rows, const HouseholdTotals &all,
                                   const Period &period)
{
    report::Report r;
    r.title = reportTitle(u"Отчет по рабочим"_s, period);
    r.columns = {Column{u"Вид продукции"_s, 2.4, Qt::AlignLeft}, Column{u"Операция"_s, 3.0, Qt::AlignLeft},
                 Column{u"Количество"_s, 1.5, Qt::AlignRight}, Column{u"Сумма"_s, 1.8, Qt::AlignRight},
                 Column{u"Сумма без Р/К"_s, 1.8, Qt::AlignRight}};
    Decimal reportAmount;
    for (const auto &[begin, end] : runs(rows, 0, int(rows.size()), [](const WorkerSummaryRow &row) {
             return std::pair(row.fio, row.workerId);
         })) {
        const WorkerSummaryRow &worker = rows[begin];
        r.lines << line(LineKind::GroupHeader, {worker.fio, {}, {}, {}, u"Сумма без Р/К"_s}, true);
        Decimal workerAmount;
        for (const auto &[groupBegin, groupEnd] : runs(rows, begin, end, [](const WorkerSummaryRow &row) {
                 return std::pair(row.nom, row.nomId);
             })) {
            const WorkerSummaryRow &group = rows[groupBegin];
            r.lines << line(LineKind::GroupHeader, {group.nom}, false);
            Decimal quantity, amount;
            for (int i = groupBegin; i < groupEnd; ++i) {
                const WorkerSummaryRow &row = rows[i];
                r.lines << line(LineKind::Detail,
                                {kindText(row.naimen), row.vid, plain(row.quantity), masked(row.amount, 3)});
                quantity = quantity + row.quantity;
                amount = amount + row.amount;
            }
            r.lines << line(LineKind::GroupFooter, {u"Хоз.р.: "_s + plain(group.household) +
                                                        u"   Ср. сд.: "_s + plain(group.average),
                                                    {},
                                                    plain(quantity),
                                                    masked(amount, 3),
                                                    withoutCoefficient(amount, 3)});
            const Decimal total = amount + group.household + group.average;
            r.lines << line(LineKind::GroupFooter,
                            {u"Итого:"_s, {}, {}, masked(total, 3), withoutCoefficient(total, 3)}, true);
            workerAmount = workerAmount + amount;
        }
        r.lines << line(
            LineKind::GroupFooter,
            {u"Всего по работнику:"_s, {}, {}, masked(workerAmount, 2), withoutCoefficient(workerAmount, 2)},
            true);
        const Decimal withHousehold = workerAmount + worker.allOwn;
        r.lines << line(
            LineKind::GroupFooter,
            {u"С хоз. работами:"_s, {}, {}, masked(withHousehold, 3), withoutCoefficient(withHousehold, 3)},
            true);
        reportAmount = reportAmount + workerAmount;
    }
    auto footer = [&](QStringList cells) { r.lines << line(LineKind::ReportFooter, std::move(cells), true); };
    footer({u"Сдел.:"_s, {}, {}, masked(reportAmount, 2), withoutCoefficient(reportAmount, 2)});
    footer({u"Хоз.р.:"_s, {}, {}, masked(all.household, 2), withoutCoefficient(all.household, 2)});
    footer({u"Ср.сд.:"_s, {}, {}, masked(all.average, 2), withoutCoefficient(all.average, 2)});
    const Decimal total = reportAmount + all.household + all.average;
    footer({u"Итого:"_s, {}, {}, masked(total, 2), withoutCoefficient(total, 2)});
    return r;
}

report::Report productSummaryReport(const QList<ProductSummaryRow> &rows, const Period &period)
{
    report::Report r;
    r.title = reportTitle(u"Отчет по продукции"_s, period);
    r.columns = {Column{u"Вид продукции"_s, 2.4, Qt::AlignLeft}, Column{u"Операция"_s, 3.0, Qt::AlignLeft},
                 Column{u"Цвет"_s, 1.6, Qt::AlignLeft}, Column{u"Коробки"_s, 1.5, Qt::AlignRight},
                 Column{u"Количество"_s, 1.5, Qt::AlignRight}};
    Decimal allBoxes, allQuantity;
    for (const auto &[begin, end] :
         runs(rows, 0, int(rows.size()), [](const ProductSummaryRow &row) { return row.nom; })) {
        r.lines << line(LineKind::GroupHeader, {rows[begin].nom}, true);
        Decimal boxes, quantity;
        for (int i = begin; i < end; ++i) {
            const ProductSummaryRow &row = rows[i];
            r.lines << line(LineKind::Detail, {kindText(row.naimen), row.vid, colourText(row.color),
                                               plain(row.boxes), plain(row.quantity)});
            boxes = boxes + row.boxes;
            quantity = quantity + row.quantity;
        }
        r.lines << line(LineKind::GroupFooter, {u"Всего:"_s, {}, {}, plain(boxes), plain(quantity)}, true);
        allBoxes = allBoxes + boxes;
        allQuantity = allQuantity + quantity;
    }
    r.lines << line(LineKind::ReportFooter, {u"Итого:"_s, {}, {}, masked(allBoxes, 0), plain(allQuantity)},
                    true);
    return r;
}

} // namespace kordel::reports
