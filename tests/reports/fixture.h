#pragma once

// A small December 2024 of the shift journal and the household records,
// shared by the reports' tests.

#include "testdatabase.h"

#include <QDate>

namespace kordel::test {

struct ReportFixture
{
    int ivanov = 0, namesake = 0, petrov = 0, sidorov = 0;
    int brackets = 0, angles = 0;

    void build(const TestDatabase &db)
    {
        brackets = db.addGroup(QStringLiteral("Кронштейны"));
        angles = db.addGroup(QStringLiteral("Уголки"));
        const int bracket = db.addProduct(QStringLiteral("КР-1"), brackets);
        const int angle = db.addProduct(QStringLiteral("УГ-5"), angles);
        db.exec(QStringLiteral("update cmn_gds_and_srv.gds_and_srv set massa = 0.5 where id = :id"),
                {{QStringLiteral("id"), angle}});
        const int welding = db.addKind(QStringLiteral("Сварка"));
        const int painting = db.addKind(QStringLiteral("Покраска"));
        const int weldBracket = db.addOperation(welding, bracket, 0);
        const int paintBracket = db.addOperation(painting, bracket, 1); // a blank
        const int weldAngle = db.addOperation(welding, angle, 0);

        ivanov = db.addWorker(QStringLiteral("Иванов И.И."));
        petrov = db.addWorker(QStringLiteral("Петров П.П."));
        sidorov = db.addWorker(QStringLiteral("Сидоров С.С."));
        namesake = db.addWorker(QStringLiteral("Иванов И.И."));

        // 10 hours for 1000.00.
        row(db, ivanov, weldBracket, QDate(2024, 12, 2), 100, 0, QStringLiteral("10"), 10, 0);
        row(db, namesake, weldAngle, QDate(2024, 12, 3), 5, 0, QStringLiteral("2"), 1, 0);
        row(db, petrov, paintBracket, QDate(2024, 12, 5), 10, 1, QStringLiteral("2.5"), 4, 1);
        row(db, petrov, weldAngle, QDate(2024, 12, 31), 20, 0, QStringLiteral("3.3333"), 6, 7);
        // Outside the period: the day before and the "по" day itself.
        row(db, petrov, weldBracket, QDate(2024, 11, 30), 500, 0, QStringLiteral("1"), 8, 0);
        row(db, petrov, weldBracket, QDate(2025, 1, 1), 999, 0, QStringLiteral("1"), 8, 0);

        household(db, ivanov, 7777, brackets, QDate(2024, 12, 9), 8, QStringLiteral("12.5"), 0);
        household(db, ivanov, 7778, brackets, QDate(2024, 12, 10), 4, QStringLiteral("30"), 1);
        household(db, petrov, 7777, angles, QDate(2024, 12, 12), 2, QStringLiteral("15"), 0);
        // Household work only, no journal rows.
        household(db, sidorov, 7782, angles, QDate(2024, 12, 11), 5, QStringLiteral("20"), 0);
        household(db, sidorov, 7782, angles, QDate(2025, 1, 1), 5, QStringLiteral("1000"), 0);
    }

    static void row(const TestDatabase &db, int worker, int operation, const QDate &date, int quantity,
                    int rejects, const QString &price, int hours, int colour)
    {
        db.exec(QStringLiteral(
                    "insert into accounts_dep.smena(w_id, i_id, o_id, cena, kol_vo, brak, data, smena, "
                    "color, time, ok, prize) select :w, o.i_id, o.id, :p::numeric, :q, :r, :d, 1, :c, "
                    ":t, 'ok', 0 from accounts_dep.oper o where o.id = :o"),
                {{QStringLiteral("w"), worker},
                 {QStringLiteral("o"), operation},
                 {QStringLiteral("p"), price},
                 {QStringLiteral("q"), quantity},
                 {QStringLiteral("r"), rejects},
                 {QStringLiteral("d"), date},
                 {QStringLiteral("c"), colour},
                 {QStringLiteral("t"), hours}});
    }

    static void household(const TestDatabase &db, int worker, int kind, int group, const QDate &date,
                          int hours, const QString &price, int night)
    {
        db.exec(QStringLiteral(
                    "insert into accounts_dep.fatigue(id_p, id_o, id_nom, d_date, i_mnth, i_year, cnt, "
                    "price, i_night) values (:w, :k, :g, :d, :m, :y, :h, :p::numeric, :n)"),
                {{QStringLiteral("w"), worker},
                 {QStringLiteral("k"), kind},
                 {QStringLiteral("g"), group},
                 {QStringLiteral("d"), date},
                 {QStringLiteral("m"), date.month()},
                 {QStringLiteral("y"), date.year()},
                 {QStringLiteral("h"), hours},
                 {QStringLiteral("p"), price},
                 {QStringLiteral("n"), night}});
    }
};

} // namespace kordel::test
