#include "data/SqlText.h"

#include "data/DbError.h"

#include <QDate>
#include <cmath>
#include <cstdlib>

namespace data {

QString WholeText(const QString& text)
{
    const qsizetype n = text.size();
    qsizetype i = 0;
    // Most texts are whole: returned as they are, without a copy.
    for (; i < n; ++i) {
        const QChar c = text[i];
        if (c.unicode() == 0 || c.isSurrogate())
            break;
    }
    if (i == n)
        return text;
    QString out = text.left(i);
    for (; i < n; ++i) {
        const QChar c = text[i];
        if (c.isHighSurrogate()  ? i + 1 < n && text[i + 1].isLowSurrogate()
            : c.isLowSurrogate() ? i > 0 && text[i - 1].isHighSurrogate()
                                 : c.unicode() != 0)
            out += c;
    }
    return out;
}

QString TextFromUtf8(const char* utf8, qsizetype size)
{
    QString lead;
    while (size >= 3 && utf8[0] == '\xEF' && utf8[1] == '\xBB' && utf8[2] == '\xBF') {
        lead += QChar(0xFEFF);
        utf8 += 3;
        size -= 3;
    }
    return lead.isEmpty() ? QString::fromUtf8(utf8, size) : lead + QString::fromUtf8(utf8, size);
}

QString Quote(const QString& text)
{
    const QString whole = WholeText(text);
    QString out;
    out.reserve(whole.size() + 2);
    out += QLatin1Char('\'');
    for (const QChar c : whole) {
        if (c == QLatin1Char('\''))
            out += QLatin1String("''");
        else
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
