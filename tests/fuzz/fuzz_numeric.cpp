// Fuzz entry point for the numeric value of a text (and the quoting of a
// text value, which shares the input). The input is read as UTF-8, or, when
// its first byte is odd, as raw UTF-16 code units (halves of characters
// included). Checked: the numeric value is plain decimal notation, equal to
// a straightforward reading of the definition, stable when read again, and
// a number the engine reads as a number; a refusal happens only beyond the
// engine's range. The quoted text reads back from the engine as the text
// without NUL characters and halves of characters.
#include "FuzzDb.h"
#include "data/SqlText.h"

#include <QString>
#include <cmath>
#include <cstddef>
#include <cstdint>

namespace {

using fuzz::Check;

// The definition read literally: blanks skipped wherever they stand, an
// optional sign first, digits with at most one point, up to the first
// character that cannot continue the number.
QString Reference(const QString& text, qsizetype* wholeDigits)
{
    bool negative = false, seenSign = false, seenDigit = false, seenPoint = false;
    QString whole, fraction;
    for (const QChar c : text) {
        if (c == QLatin1Char(' ') || c == QLatin1Char('\t'))
            continue;
        if (!seenSign && !seenDigit && !seenPoint &&
            (c == QLatin1Char('+') || c == QLatin1Char('-'))) {
            negative = c == QLatin1Char('-');
            seenSign = true;
        } else if (c >= QLatin1Char('0') && c <= QLatin1Char('9')) {
            (seenPoint ? fraction : whole) += c;
            seenDigit = true;
        } else if (c == QLatin1Char('.') && !seenPoint) {
            seenPoint = true;
        } else {
            break;
        }
    }
    while (whole.startsWith(QLatin1Char('0')))
        whole.remove(0, 1);
    while (fraction.endsWith(QLatin1Char('0')))
        fraction.chop(1);
    *wholeDigits = whole.size();
    QString out = whole.isEmpty() ? QStringLiteral("0") : whole;
    if (!fraction.isEmpty())
        out += QLatin1Char('.') + fraction;
    if (negative && out != QLatin1String("0"))
        out.prepend(QLatin1Char('-'));
    return out;
}

bool PlainDecimal(const QString& s)
{
    qsizetype i = s.startsWith(QLatin1Char('-')) ? 1 : 0;
    const qsizetype start = i;
    while (i < s.size() && s[i].isDigit() && s[i].unicode() < 128)
        ++i;
    const qsizetype digits = i - start;
    if (digits == 0 || (digits > 1 && s[start] == QLatin1Char('0')))
        return false;
    if (i == s.size())
        return !(start == 1 && s == QLatin1String("-0"));
    if (s[i] != QLatin1Char('.') || i + 1 == s.size() || s.back() == QLatin1Char('0'))
        return false;
    for (++i; i < s.size(); ++i)
        if (!(s[i].isDigit() && s[i].unicode() < 128))
            return false;
    return true;
}

void NumericValue(const QString& text)
{
    qsizetype wholeDigits = 0;
    const QString expected = Reference(text, &wholeDigits);
    QString out;
    try {
        out = data::NumericText(text);
    } catch (const data::DbError& e) {
        Check(wholeDigits > 300 && std::isinf(expected.toDouble()),
              "a number refused that the engine can hold", text.left(400));
        Check(e.description().startsWith(QLatin1String("Overflow")),
              "a refusal that says no overflow", e.description());
        return;
    }
    Check(out == expected, "numeric value differs from the definition",
          text.left(400) + "\n" + out);
    Check(PlainDecimal(out), "numeric value not in plain decimal notation", out);
    Check(data::NumericText(out) == out, "numeric value not stable when read again", out);
    const double value = data::NumericValue(text);
    Check(std::isfinite(value) && value == out.toDouble(), "NumericValue differs from NumericText",
          out);
    const fuzz::Result r = fuzz::Run(QStringLiteral("SELECT typeof(") + out + QLatin1Char(')'));
    Check(r.ok && (r.first == QLatin1String("integer") || r.first == QLatin1String("real")),
          "the engine does not read the numeric value as a number", out + "\n" + r.first + r.error);
}

void Quoted(const QString& text)
{
    const QString literal = data::Quote(text);
    const fuzz::Result r = fuzz::Run(QStringLiteral("SELECT ") + literal);
    Check(r.ok && r.rows == 1, "a quoted text is no single value",
          literal.left(400) + "\n" + r.error);
    Check(r.first == data::WholeText(text), "a quoted text reads back changed", literal.left(400));
    if (!text.contains(QChar(0xFFFD)))
        Check(!r.first.contains(QChar(0xFFFD)), "half a character stored as U+FFFD",
              literal.left(400));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size)
{
    if (size == 0 || size > 20000)
        return 0;
    QString text;
    if (bytes[0] & 1) {
        for (size_t i = 1; i + 1 < size; i += 2)
            text += QChar(char16_t(bytes[i] | bytes[i + 1] << 8));
    } else {
        text = QString::fromUtf8(reinterpret_cast<const char*>(bytes) + 1, qsizetype(size - 1));
    }
    NumericValue(text);
    Quoted(text);
    return 0;
}
