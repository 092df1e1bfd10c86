#include "db/decimal.h"

using namespace Qt::StringLiterals;

namespace kordel {
namespace {

constexpr int kMaxScale = 18;

__int128 pow10(int n)
{
    __int128 result = 1;
    while (n-- > 0)
        result *= 10;
    return result;
}

// Integer division rounded half away from zero.
__int128 divRound(__int128 a, __int128 b)
{
    const bool negative = (a < 0) != (b < 0);
    const __int128 ua = a < 0 ? -a : a;
    const __int128 ub = b < 0 ? -b : b;
    __int128 q = ua / ub;
    if ((ua % ub) * 2 >= ub)
        ++q;
    return negative ? -q : q;
}

} // namespace

std::optional<Decimal> Decimal::parse(QStringView text)
{
    text = text.trimmed();
    if (text.isEmpty())
        return std::nullopt;
    qsizetype i = 0;
    bool negative = false;
    if (text[0] == u'-' || text[0] == u'+') {
        negative = text[0] == u'-';
        ++i;
    }
    __int128 units = 0;
    int scale = 0;
    bool seenSeparator = false;
    bool seenDigit = false;
    for (; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'.' || c == u',') {
            if (seenSeparator)
                return std::nullopt;
            seenSeparator = true;
        } else if (c >= u'0' && c <= u'9') {
            seenDigit = true;
            if (seenSeparator) {
                if (scale == kMaxScale)
                    continue; // digits beyond what any amount needs
                ++scale;
            }
            units = units * 10 + (c.unicode() - u'0');
            if (units > pow10(30))
                return std::nullopt;
        } else {
            return std::nullopt;
        }
    }
    if (!seenDigit)
        return std::nullopt;
    return Decimal(negative ? -units : units, scale);
}

Decimal Decimal::fromVariant(const QVariant &value)
{
    if (value.isNull())
        return {};
    switch (value.metaType().id()) {
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::UInt:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
        return fromInt(value.toLongLong());
    case QMetaType::Double:
    case QMetaType::Float:
        return parse(QString::number(value.toDouble(), 'f', 10)).value_or(Decimal()).normalizedForDouble();
    default:
        return parse(value.toString()).value_or(Decimal());
    }
}

Decimal Decimal::normalizedForDouble() const
{
    // 15 significant digits is what a double carries; beyond is noise.
    return rounded(10);
}

Decimal Decimal::withScale(int scale) const
{
    if (scale == m_scale)
        return *this;
    if (scale > m_scale)
        return Decimal(m_units * pow10(scale - m_scale), scale);
    return Decimal(divRound(m_units, pow10(m_scale - scale)), scale);
}

Decimal Decimal::rounded(int scale) const
{
    return scale >= m_scale ? *this : withScale(scale);
}

Decimal Decimal::divide(const Decimal &a, const Decimal &b, int scale)
{
    Q_ASSERT(!b.isZero());
    // a/b = (ua / 10^sa) / (ub / 10^sb); scaled to 10^scale.
    const int shift = scale + b.m_scale - a.m_scale;
    __int128 numerator = a.m_units;
    __int128 denominator = b.m_units;
    if (shift >= 0)
        numerator *= pow10(shift);
    else
        denominator *= pow10(-shift);
    return Decimal(divRound(numerator, denominator), scale);
}

Decimal Decimal::operator+(const Decimal &other) const
{
    const int scale = std::max(m_scale, other.m_scale);
    return Decimal(withScale(scale).m_units + other.withScale(scale).m_units, scale);
}

Decimal Decimal::operator-(const Decimal &other) const
{
    const int scale = std::max(m_scale, other.m_scale);
    return Decimal(withScale(scale).m_units - other.withScale(scale).m_units, scale);
}

Decimal Decimal::operator*(const Decimal &other) const
{
    Decimal product(m_units * other.m_units, m_scale + other.m_scale);
    return product.m_scale > kMaxScale ? product.withScale(kMaxScale) : product;
}

std::strong_ordering Decimal::operator<=>(const Decimal &other) const
{
    const int scale = std::max(m_scale, other.m_scale);
    const __int128 a = withScale(scale).m_units;
    const __int128 b = other.withScale(scale).m_units;
    return a < b   ? std::strong_ordering::less
           : a > b ? std::strong_ordering::greater
                   : std::strong_ordering::equal;
}

double Decimal::toDouble() const
{
    return toString().toDouble();
}

QString Decimal::toString(int decimals) const
{
    const Decimal d = withScale(decimals);
    const bool negative = d.m_units < 0;
    __int128 u = negative ? -d.m_units : d.m_units;
    QString digits;
    do {
        digits.prepend(QChar(u'0' + int(u % 10)));
        u /= 10;
    } while (u > 0);
    while (digits.size() <= decimals)
        digits.prepend(u'0');
    if (decimals > 0)
        digits.insert(digits.size() - decimals, u'.');
    if (negative)
        digits.prepend(u'-');
    return digits;
}

QString Decimal::toString() const
{
    QString text = toString(m_scale);
    if (m_scale > 0) {
        while (text.endsWith(u'0'))
            text.chop(1);
        if (text.endsWith(u'.'))
            text.chop(1);
    }
    if (text == u"-0"_s)
        text = u"0"_s;
    return text;
}

} // namespace kordel
