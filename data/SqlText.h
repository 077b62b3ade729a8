#pragma once

#include <QString>
#include <QVariant>

namespace data {

// A text value as an SQL literal: between single quotes, every inner quote
// doubled, NUL characters dropped (the engine would cut the text there).
QString Quote(const QString& text);

// The numeric value of a text: blanks are skipped wherever they stand,
// reading stops at the first character that cannot continue the number,
// a text that begins with no number is 0. Written in plain decimal notation
// ("0471 55512" -> "47155512", "555-0199" -> "555", "1,500" -> "1").
// A number too large for the engine (beyond about 1.8e308) raises a
// DbError "Overflow" instead of being stored as infinity.
QString NumericText(const QString& text);
double NumericValue(const QString& text);

// The default text form of a field value spliced into text: NULL is "",
// numbers in plain decimal notation, dates "dd/mm/yyyy".
QString FieldText(const QVariant& value);

} // namespace data
