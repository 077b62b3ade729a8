#pragma once

#include <QString>
#include <QVariant>

namespace data {

// The text without NUL characters (the engine would cut the text there)
// and without halves of characters (a surrogate without its partner, as a
// field's length limit can leave one), which the engine would store as
// U+FFFD: the text as the database stores it.
QString WholeText(const QString& text);

// A text value as an SQL literal: WholeText between single quotes, every
// inner quote doubled.
QString Quote(const QString& text);

// The numeric value of a text: blanks are skipped wherever they stand,
// reading stops at the first character that cannot continue the number,
// a text that begins with no number is 0. Written in plain decimal notation
// ("0471 55512" -> "47155512", "555-0199" -> "555", "1,500" -> "1").
// A number too large for the engine (beyond about 1.8e308) raises a
// DbError "Overflow" instead of being stored as infinity.
QString NumericText(const QString& text);
double NumericValue(const QString& text);

// A text of the engine (UTF-8) as a QString, exactly: unlike
// QString::fromUtf8, a leading U+FEFF is kept as a character of the text
// rather than dropped as a byte order mark.
QString TextFromUtf8(const char* utf8, qsizetype size);

// The default text form of a field value spliced into text: NULL is "",
// numbers in plain decimal notation, dates "dd/mm/yyyy".
QString FieldText(const QVariant& value);

} // namespace data
