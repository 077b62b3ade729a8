#pragma once

#include <QDate>
#include <QString>

namespace data {

// Translates a statement of the program's dialect into SQLite text:
//  - #dd/MMM/yy#, #dd/MMM/yyyy#, #dd/mm/yyyy# become 'yyyy-mm-dd' (always
//    day first; a two-digit year is taken in the century nearest to today;
//    an impossible date is an error);
//  - "x BETWEEN a AND b" with literal or single-name bounds takes the
//    bounds in either order;
//  - everything else passes unchanged: MONTH(), the case-insensitive
//    comparisons and LIKE with * and ? are provided by functions and the
//    collation the connection registers.
QString translateSql(const QString& sql, const QDate& today = QDate::currentDate());

// Parses the text between the # signs of a date literal; invalid QDate
// when it is not a date.
QDate parseDateLiteral(const QString& body, const QDate& today = QDate::currentDate());

// LIKE of the dialect: * any run of characters, ? one character, every
// other character itself; letters compared without regard to case.
bool likeMatch(const QString& value, const QString& pattern);

// Case-insensitive comparison used by the UNOCASE collation (full Unicode
// case folding; ASCII compared byte-wise without allocation).
int compareNoCase(const char* a, int na, const char* b, int nb);

} // namespace data
