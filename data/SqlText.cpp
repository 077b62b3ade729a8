#include "data/SqlText.h"

#include "data/DbError.h"

#include <QDate>
#include <cmath>
#include <cstdlib>

namespace data {

QString Quote(const QString& text)
{
    QString out;
    out.reserve(text.size() + 2);
    out += QLatin1Char('\'');
    for (const QChar c : text) {
        if (c == QLatin1Char('\''))
            out += QLatin1String("''");
        else if (c.unicode() != 0)
            out += c;
    }
    out += QLatin1Char('\'');
    return out;
}

namespace {

bool isBlank(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

// Reads the number a text begins with into sign, integer digits and
// fraction digits; blanks anywhere are skipped.
struct ParsedNumber {
    bool negative = false;
    QString whole;
    QString fraction;
};

ParsedNumber parseNumber(const QString& text)
{
    ParsedNumber n;
    enum { Sign, Whole, Fraction } state = Sign;
    for (const QChar c : text) {
        if (isBlank(c))
            continue;
        if (state == Sign && (c == QLatin1Char('+') || c == QLatin1Char('-'))) {
            n.negative = c == QLatin1Char('-');
            state = Whole;
            continue;
        }
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9')) {
            (state == Fraction ? n.fraction : n.whole) += c;
            if (state == Sign)
                state = Whole;
            continue;
        }
        if (c == QLatin1Char('.') && state != Fraction) {
            state = Fraction;
            continue;
        }
        break;
    }
    return n;
}

} // namespace

QString NumericText(const QString& text)
{
    ParsedNumber n = parseNumber(text);
    qsizetype lead = 0;
    while (lead < n.whole.size() && n.whole[lead] == QLatin1Char('0'))
        ++lead;
    QString whole = n.whole.mid(lead);
    QString fraction = n.fraction;
    while (!fraction.isEmpty() && fraction.back() == QLatin1Char('0'))
        fraction.chop(1);
    if (whole.isEmpty())
        whole = QStringLiteral("0");
    QString out = whole;
    if (!fraction.isEmpty())
        out += QLatin1Char('.') + fraction;
    if (n.negative && out != QLatin1String("0"))
        out.prepend(QLatin1Char('-'));
    // The engine would store a number beyond the range of a double as
    // infinity; it is refused instead.
    if (whole.size() > 300 && !std::isfinite(std::strtod(out.toLatin1().constData(), nullptr)))
        throw DbError(QStringLiteral("Overflow: the number %1... is too large.").arg(out.left(12)));
    return out;
}

double NumericValue(const QString& text)
{
    return NumericText(text).toDouble();
}

QString FieldText(const QVariant& value)
{
    if (value.isNull())
        return {};
    switch (value.typeId()) {
    case QMetaType::Double: {
        const double d = value.toDouble();
        if (std::isfinite(d) && d == std::floor(d) && std::fabs(d) < 1e15)
            return QString::number(qint64(d));
        return QString::number(d, 'f', QLocale::FloatingPointShortest);
    }
    case QMetaType::QDate:
        return value.toDate().toString(QStringLiteral("dd/MM/yyyy"));
    default:
        return value.toString();
    }
}

} // namespace data
