// Fuzz entry point for the SQL dialect layer. The first byte of an input
// picks what the rest is:
//   0  any statement text: translated without crash or hang; what comes out
//      may be run, and the engine may refuse it;
//   1  three date literal bodies a|b|c: the translation is an error exactly
//      when one of them is no date, and otherwise SQL that the engine runs,
//      "c BETWEEN a AND b" selecting the dates between a and b in either
//      order;
//   2  three numbers a|b|c: "c BETWEEN a AND b" is the engine's
//      "c >= min(a,b) AND c <= max(a,b)";
//   3  a column compared BETWEEN two bounds, each a number, a date literal
//      or a column: the translation runs and selects the rows between the
//      bounds in either order.
#include "FuzzDb.h"
#include "data/SqlDialect.h"
#include "data/SqlText.h"

#include <QDate>
#include <QStringList>
#include <cstddef>
#include <cstdint>

namespace {

using fuzz::Check;
using fuzz::Result;
using fuzz::Run;

// The translation of a statement, or a null text when the layer refuses it.
QString Translate(const QString& sql, bool* refused)
{
    try {
        *refused = false;
        return data::translateSql(sql, QDate(2024, 6, 15));
    } catch (const data::DbError& e) {
        Check(!e.description().isEmpty(), "a refusal without a description", sql);
        *refused = true;
        return {};
    }
}

QStringList Parts(const QString& text, int n)
{
    QStringList parts = text.split(QLatin1Char('|'));
    while (parts.size() < n)
        parts << QString();
    return parts.mid(0, n);
}

void AnyStatement(const QString& sql)
{
    bool refused = false;
    const QString out = Translate(sql, &refused);
    if (!refused)
        Run(out); // the engine may refuse it; it must not crash
}

void DateLiterals(const QString& rest)
{
    QStringList p = Parts(rest, 3);
    for (QString& body : p)
        body.remove(QLatin1Char('#'));
    const QDate today(2024, 6, 15);
    QDate d[3];
    bool allDates = true;
    for (int i = 0; i < 3; ++i) {
        d[i] = data::parseDateLiteral(p[i], today);
        allDates = allDates && d[i].isValid();
    }
    const QString sql = QStringLiteral("SELECT CASE WHEN #%3# BETWEEN #%1# AND #%2# THEN 1 ELSE 0 "
                                       "END FROM trnEnquiryRegister WHERE enqDate BETWEEN #%2# "
                                       "AND #%1# OR enqCode=1")
                            .arg(p[0], p[1], p[2]);
    bool refused = false;
    const QString out = Translate(sql, &refused);
    Check(refused == !allDates, "a date literal refused or taken against its parse", sql);
    if (refused)
        return;
    Check(!out.contains(QLatin1Char('#')), "a date literal left untranslated", sql + "\n" + out);
    const Result r = Run(out);
    Check(r.ok, "translated date SQL refused by the engine", sql + "\n" + out + "\n" + r.error);
    Check(r.rows >= 1, "the enquiry selected by code is missing", out);
    const QDate low = qMin(d[0], d[1]), high = qMax(d[0], d[1]);
    const bool between = d[2] >= low && d[2] <= high;
    Check(r.first == QLatin1String(between ? "1" : "0"), "BETWEEN of dates in the wrong order",
          sql + "\n" + out + "\n" + r.first);
    for (const QDate& date : d)
        Check(date.year() >= 1 && date.year() <= 9999, "a date beyond four-digit years",
              date.toString(Qt::ISODate));
}

// A numeric literal made of the part: its numeric value, with a sign kept.
QString NumberOf(const QString& part)
{
    try {
        QString n = data::NumericText(part);
        if (part.contains(QLatin1Char('e')) && !n.startsWith(QLatin1Char('-')))
            n += QStringLiteral("e") + QString::number(part.size() % 20 - 10);
        return n;
    } catch (const data::DbError&) {
        return QStringLiteral("0"); // beyond any number the engine holds
    }
}

void Numbers(const QString& rest)
{
    const QStringList p = Parts(rest, 3);
    const QString a = NumberOf(p[0]), b = NumberOf(p[1]), c = NumberOf(p[2]);
    const QString sql =
        QStringLiteral("SELECT CASE WHEN %3 BETWEEN %1 AND %2 THEN 1 ELSE 0 END").arg(a, b, c);
    bool refused = false;
    const QString out = Translate(sql, &refused);
    Check(!refused, "plain numbers refused", sql);
    const Result r = Run(out);
    Check(r.ok, "translated BETWEEN of numbers refused by the engine",
          sql + "\n" + out + "\n" + r.error);
    const Result expected = Run(QStringLiteral("SELECT CASE WHEN %3 >= min(%1,%2) AND %3 <= "
                                               "max(%1,%2) THEN 1 ELSE 0 END")
                                    .arg(a, b, c));
    Check(expected.ok && r.first == expected.first, "BETWEEN of numbers in the wrong order",
          sql + "\n" + out);
}

// One bound: a number, a date literal or a column, picked by the part.
QString Bound(const QString& part)
{
    const uint pick = part.isEmpty() ? 0 : part[0].unicode() % 4;
    const QString body = part.mid(1);
    switch (pick) {
    case 0:
        return NumberOf(body);
    case 1:
        return QLatin1Char('#') + QString(body).remove(QLatin1Char('#')) + QLatin1Char('#');
    case 2: {
        static const char* const columns[] = {"enqAmount", "ER.enqPercentage", "enqCode",
                                              "ER.enqAmount"};
        return QLatin1String(columns[body.size() % 4]);
    }
    default: {
        QString n = NumberOf(body);
        return n.startsWith(QLatin1Char('-')) ? n : QLatin1Char('-') + n;
    }
    }
}

void Columns(const QString& rest)
{
    const QStringList p = Parts(rest, 3);
    static const char* const tested[] = {"ER.enqAmount", "enqPercentage", "MONTH(enqDate)",
                                         "enqDate"};
    const QString column = QLatin1String(tested[p[2].size() % 4]);
    const QString a = Bound(p[0]), b = Bound(p[1]);
    const QString sql = QStringLiteral("SELECT COUNT(*) FROM trnEnquiryRegister ER WHERE %1 "
                                       "BETWEEN %2 AND %3")
                            .arg(column, a, b);
    bool refused = false;
    const QString out = Translate(sql, &refused);
    if (refused) {
        // Only an impossible date literal is refused.
        Check(a.startsWith(QLatin1Char('#')) || b.startsWith(QLatin1Char('#')),
              "a bound refused that is no date literal", sql);
        return;
    }
    const Result r = Run(out);
    Check(r.ok, "translated BETWEEN refused by the engine", sql + "\n" + out + "\n" + r.error);
    // The bounds select the same rows in either order, unless they are a
    // date and a number (no statement of the program mixes those).
    auto isDate = [](const QString& x) { return x.startsWith(QLatin1Char('#')); };
    auto isNumber = [&](const QString& x) { return !isDate(x) && !x.back().isLetter(); };
    if (!(isDate(a) && isNumber(b)) && !(isNumber(a) && isDate(b))) {
        bool swappedRefused = false;
        const QString swapped = Translate(QStringLiteral("SELECT COUNT(*) FROM trnEnquiryRegister "
                                                         "ER WHERE %1 BETWEEN %3 AND %2")
                                              .arg(column, a, b),
                                          &swappedRefused);
        Check(!swappedRefused, "bounds refused in the other order", sql);
        const Result s = Run(swapped);
        Check(s.ok && s.first == r.first, "BETWEEN depends on the order of its bounds",
              sql + "\n" + out + "\n" + swapped);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size)
{
    if (size == 0 || size > 4096)
        return 0;
    const QString rest =
        QString::fromUtf8(reinterpret_cast<const char*>(bytes) + 1, qsizetype(size - 1));
    switch (bytes[0] % 4) {
    case 0:
        AnyStatement(rest);
        break;
    case 1:
        DateLiterals(rest);
        break;
    case 2:
        Numbers(rest);
        break;
    default:
        Columns(rest);
        break;
    }
    return 0;
}
