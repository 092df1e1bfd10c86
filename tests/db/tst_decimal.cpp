// Exact money: parsing typed and stored numbers, rounding half away from
// zero on the decimal value, and division to a fixed scale.

#include "db/decimal.h"

#include <QtTest>

using namespace Qt::StringLiterals;
using kordel::Decimal;

class DecimalTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void parse_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<QString>("shortest");
        QTest::newRow("point") << u"12.5"_s << true << u"12.5"_s;
        QTest::newRow("comma") << u"12,5"_s << true << u"12.5"_s;
        QTest::newRow("stored numeric") << u"10.0000"_s << true << u"10"_s;
        QTest::newRow("negative") << u"-0.50"_s << true << u"-0.5"_s;
        QTest::newRow("blanks around") << u" 7 "_s << true << u"7"_s;
        QTest::newRow("two separators") << u"1,234,5"_s << false << QString();
        QTest::newRow("letters") << u"12a"_s << false << QString();
        QTest::newRow("empty") << QString() << false << QString();
        QTest::newRow("only a point") << u"."_s << false << QString();
    }
    void parse()
    {
        QFETCH(QString, text);
        QFETCH(bool, valid);
        const auto value = Decimal::parse(text);
        QCOMPARE(value.has_value(), valid);
        if (valid)
            QTEST(value->toString(), "shortest");
    }

    void rounding_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<int>("scale");
        QTest::addColumn<QString>("expected");
        QTest::newRow("half up at four") << u"0.12345"_s << 4 << u"0.1235"_s;
        QTest::newRow("below half") << u"0.12344"_s << 4 << u"0.1234"_s;
        QTest::newRow("negative half away") << u"-2.345"_s << 2 << u"-2.35"_s;
        // 1.005 is 1.00499999... as a double; the decimal value rounds up.
        QTest::newRow("binary artefact") << u"1.005"_s << 2 << u"1.01"_s;
        QTest::newRow("shorter stays") << u"8.7"_s << 2 << u"8.70"_s;
    }
    void rounding()
    {
        QFETCH(QString, value);
        QFETCH(int, scale);
        QTEST(Decimal::parse(value)->rounded(scale).toString(scale), "expected");
    }

    void arithmetic()
    {
        const Decimal ten = *Decimal::parse(u"10"_s);
        // Final price of a day-off overtime piece: 10 × 2 × 1.5.
        QCOMPARE((ten * Decimal::fromInt(2) * *Decimal::parse(u"1.5"_s)).toString(), u"30"_s);
        // Hourly share: 10 × 0.7 × 10 / 8 = 8.75, and 10 × 0.7 × 10 / 8.4 = 8.333… → 8.33.
        const Decimal earned = ten * *Decimal::parse(u"0.7"_s) * Decimal::fromInt(10);
        QCOMPARE(Decimal::divide(earned, Decimal::fromInt(8), 2).toString(2), u"8.75"_s);
        QCOMPARE(Decimal::divide(earned, *Decimal::parse(u"8.4"_s), 2).toString(2), u"8.33"_s);
        QCOMPARE(Decimal::divide(Decimal::fromInt(-1), Decimal::fromInt(8), 2).toString(2), u"-0.13"_s);
        QVERIFY(*Decimal::parse(u"2.50"_s) == *Decimal::parse(u"2.5"_s));
        QVERIFY(*Decimal::parse(u"2.49"_s) < *Decimal::parse(u"2.5"_s));
    }

    void fromVariant_data()
    {
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<QString>("expected");
        QTest::newRow("decimal text") << QVariant(u"35.0000"_s) << u"35"_s;
        QTest::newRow("integer") << QVariant(12) << u"12"_s;
        QTest::newRow("double") << QVariant(0.1 + 0.2) << u"0.3"_s;
        QTest::newRow("null") << QVariant() << u"0"_s;
    }
    void fromVariant()
    {
        QFETCH(QVariant, value);
        QTEST(Decimal::fromVariant(value).toString(), "expected");
    }
};

QTEST_APPLESS_MAIN(DecimalTest)
#include "tst_decimal.moc"
