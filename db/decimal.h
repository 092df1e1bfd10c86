#pragma once

#include <QString>
#include <QStringView>
#include <QVariant>
#include <compare>
#include <optional>

namespace kordel {

// An exact decimal number for prices, amounts and rates.  Money read from the
// database arrives as decimal text and is rounded half away from zero on its
// decimal value, never through binary floating point.
class Decimal
{
public:
    Decimal() = default;
    static Decimal fromInt(qint64 value) { return Decimal(value, 0); }
    // Digits with an optional sign and one decimal point or comma.
    static std::optional<Decimal> parse(QStringView text);
    // Decimal text (numeric columns), integers, or doubles taken at 15 digits.
    static Decimal fromVariant(const QVariant &value);

    Decimal rounded(int scale) const;
    // a / b rounded to the given scale; b must not be zero.
    static Decimal divide(const Decimal &a, const Decimal &b, int scale);

    Decimal operator+(const Decimal &other) const;
    Decimal operator-(const Decimal &other) const;
    Decimal operator*(const Decimal &other) const;
    std::strong_ordering operator<=>(const Decimal &other) const;
    bool operator==(const Decimal &other) const { return (*this <=> other) == 0; }

    bool isZero() const { return m_units == 0; }
    int scale() const { return m_scale; }
    double toDouble() const;
    // Shortest form with a point: "12.5", "35", "-0.1235".
    QString toString() const;
    // Exactly `decimals` digits after the point.
    QString toString(int decimals) const;

private:
    Decimal(__int128 units, int scale) : m_units(units), m_scale(scale) {}
    Decimal withScale(int scale) const; // exact when growing, rounded when shrinking
    Decimal normalizedForDouble() const;

    __int128 m_units = 0;
    int m_scale = 0;
};

} // namespace kordel
