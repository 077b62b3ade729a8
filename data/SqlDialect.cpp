#include "data/SqlDialect.h"

#include "data/DbError.h"
#include "data/SqlText.h"

#include <QStringList>
#include <cstring>
#include <vector>

namespace data {

namespace {

enum class Tok { Space, String, Date, Number, Word, Other };

struct Token {
    Tok kind;
    QString text; // translated text of the token
    QString raw;  // as written
};

bool isWordChar(QChar c)
{
    return c.isLetterOrNumber() || c == QLatin1Char('_') || c == QLatin1Char('$');
}

int monthOfName(const QString& name)
{
    static const char* const names[] = {"jan", "feb", "mar", "apr", "may", "jun",
                                        "jul", "aug", "sep", "oct", "nov", "dec"};
    const QString lower = name.toLower();
    if (lower.size() < 3)
        return 0;
    for (int i = 0; i < 12; ++i) {
        const QLatin1String abbrev(names[i]);
        if (lower == abbrev)
            return i + 1;
        // Full month names are read too.
        const QString full = QDate(2000, i + 1, 1).toString(QStringLiteral("MMMM")).toLower();
        if (lower == full)
            return i + 1;
    }
    return 0;
}

std::vector<Token> tokenize(const QString& sql, const QDate& today)
{
    std::vector<Token> out;
    const qsizetype n = sql.size();
    qsizetype i = 0;
    while (i < n) {
        const QChar c = sql[i];
        const qsizetype start = i;
        if (c.isSpace()) {
            while (i < n && sql[i].isSpace())
                ++i;
            out.push_back({Tok::Space, sql.mid(start, i - start), {}});
        } else if (c == QLatin1Char('\'')) {
            ++i;
            while (i < n) {
                if (sql[i] == QLatin1Char('\'')) {
                    if (i + 1 < n && sql[i + 1] == QLatin1Char('\'')) {
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                ++i;
            }
            const QString s = sql.mid(start, i - start);
            out.push_back({Tok::String, s, s});
        } else if (c == QLatin1Char('#')) {
            const qsizetype close = sql.indexOf(QLatin1Char('#'), i + 1);
            if (close < 0)
                throw DbError(QStringLiteral("Syntax error in date in query expression '%1'.")
                                  .arg(sql.mid(start)));
            const QString body = sql.mid(i + 1, close - i - 1);
            const QDate d = parseDateLiteral(body, today);
            if (!d.isValid())
                throw DbError(QStringLiteral("Syntax error in date in query expression '#%1#'.")
                                  .arg(body));
            i = close + 1;
            out.push_back({Tok::Date,
                           QLatin1Char('\'') + d.toString(QStringLiteral("yyyy-MM-dd")) +
                               QLatin1Char('\''),
                           sql.mid(start, i - start)});
        } else if (c.isDigit() || (c == QLatin1Char('.') && i + 1 < n && sql[i + 1].isDigit())) {
            while (i < n && (sql[i].isDigit() || sql[i] == QLatin1Char('.')))
                ++i;
            if (i < n && (sql[i] == QLatin1Char('e') || sql[i] == QLatin1Char('E'))) {
                qsizetype j = i + 1;
                if (j < n && (sql[j] == QLatin1Char('+') || sql[j] == QLatin1Char('-')))
                    ++j;
                if (j < n && sql[j].isDigit()) {
                    i = j;
                    while (i < n && sql[i].isDigit())
                        ++i;
                }
            }
            const QString s = sql.mid(start, i - start);
            out.push_back({Tok::Number, s, s});
        } else if (isWordChar(c)) {
            while (i < n && isWordChar(sql[i]))
                ++i;
            const QString s = sql.mid(start, i - start);
            out.push_back({Tok::Word, s, s});
        } else if (c == QLatin1Char('[')) {
            // Bracketed name: passed as is (SQLite reads [name] too).
            const qsizetype close = sql.indexOf(QLatin1Char(']'), i + 1);
            i = close < 0 ? n : close + 1;
            const QString s = sql.mid(start, i - start);
            out.push_back({Tok::Word, s, s});
        } else if (c == QLatin1Char('"')) {
            ++i;
            while (i < n && sql[i] != QLatin1Char('"'))
                ++i;
            if (i < n)
                ++i;
            const QString s = sql.mid(start, i - start);
            out.push_back({Tok::Word, s, s});
        } else {
            ++i;
            out.push_back({Tok::Other, QString(c), QString(c)});
        }
    }
    return out;
}

bool isKeyword(const Token& t, const char* word)
{
    return t.kind == Tok::Word && t.text.compare(QLatin1String(word), Qt::CaseInsensitive) == 0;
}

qsizetype nextSolid(const std::vector<Token>& toks, qsizetype i)
{
    while (i < qsizetype(toks.size()) && toks[i].kind == Tok::Space)
        ++i;
    return i;
}

// One bound of a BETWEEN: a literal (optionally signed number) or a single
// name. Returns the token range [first, last] or false.
struct Operand {
    qsizetype first = -1;
    qsizetype last = -1;
    Tok kind = Tok::Other;
    QString text;
};

bool readOperand(const std::vector<Token>& toks, qsizetype i, Operand& op)
{
    i = nextSolid(toks, i);
    if (i >= qsizetype(toks.size()))
        return false;
    op.first = i;
    QString sign;
    if (toks[i].kind == Tok::Other &&
        (toks[i].text == QLatin1String("-") || toks[i].text == QLatin1String("+"))) {
        sign = toks[i].text;
        i = nextSolid(toks, i + 1);
        if (i >= qsizetype(toks.size()) || toks[i].kind != Tok::Number)
            return false;
    }
    const Token& t = toks[i];
    if (t.kind != Tok::Number && t.kind != Tok::String && t.kind != Tok::Date &&
        t.kind != Tok::Word)
        return false;
    if (t.kind == Tok::Word && (isKeyword(t, "AND") || isKeyword(t, "NOT")))
        return false;
    // A name followed by "(" or "." is a call or a qualified name: treat the
    // qualified name a.b as one operand, leave calls alone.
    qsizetype last = i;
    if (t.kind == Tok::Word) {
        while (last + 2 < qsizetype(toks.size()) && toks[last + 1].text == QLatin1String(".") &&
               toks[last + 2].kind == Tok::Word)
            last += 2;
        if (last + 1 < qsizetype(toks.size()) && toks[last + 1].text == QLatin1String("("))
            return false;
    }
    op.last = last;
    op.kind = t.kind;
    for (qsizetype k = op.first; k <= last; ++k)
        op.text += toks[k].text;
    return true;
}

QString join(const std::vector<Token>& toks)
{
    QString out;
    for (const Token& t : toks)
        out += t.text;
    return out;
}

// Rewrites BETWEEN so that its bounds may come in either order.
void normaliseBetween(std::vector<Token>& toks)
{
    for (qsizetype i = 0; i < qsizetype(toks.size()); ++i) {
        if (!isKeyword(toks[i], "BETWEEN"))
            continue;
        Operand low, high;
        if (!readOperand(toks, i + 1, low))
            continue;
        const qsizetype andPos = nextSolid(toks, low.last + 1);
        if (andPos >= qsizetype(toks.size()) || !isKeyword(toks[andPos], "AND"))
            continue;
        if (!readOperand(toks, andPos + 1, high))
            continue;
        // A bound must not be followed by an operator that extends it.
        const qsizetype after = nextSolid(toks, high.last + 1);
        if (after < qsizetype(toks.size()) && toks[after].kind == Tok::Other) {
            const QString& o = toks[after].text;
            if (o == QLatin1String("+") || o == QLatin1String("-") || o == QLatin1String("*") ||
                o == QLatin1String("/") || o == QLatin1String("|") || o == QLatin1String("."))
                continue;
        }
        QString first = low.text, second = high.text;
        const bool literal = low.kind != Tok::Word && high.kind != Tok::Word;
        if (literal && low.kind == high.kind) {
            bool swap = false;
            if (low.kind == Tok::Number)
                swap = first.toDouble() > second.toDouble();
            else // dates as yyyy-mm-dd strings, texts without regard to case
                swap = first.compare(second, Qt::CaseInsensitive) > 0;
            if (swap)
                std::swap(first, second);
        } else if (literal && (low.kind == Tok::Number) != (high.kind == Tok::Number)) {
            continue; // mixed kinds: leave to the engine
        } else {
            const QString a = first, b = second;
            first = QStringLiteral("min(%1,%2)").arg(a, b);
            second = QStringLiteral("max(%1,%2)").arg(a, b);
        }
        std::vector<Token> replacement{{Tok::Space, QStringLiteral(" "), {}},
                                       {Tok::Other, first, {}},
                                       {Tok::Space, QStringLiteral(" "), {}},
                                       {Tok::Word, QStringLiteral("AND"), {}},
                                       {Tok::Space, QStringLiteral(" "), {}},
                                       {Tok::Other, second, {}}};
        toks.erase(toks.begin() + i + 1, toks.begin() + high.last + 1);
        toks.insert(toks.begin() + i + 1, replacement.begin(), replacement.end());
        i += qsizetype(replacement.size());
    }
}

} // namespace

QDate parseDateLiteral(const QString& body, const QDate& today)
{
    const QString s = body.trimmed();
    QStringList parts = s.split(QLatin1Char('/'));
    if (parts.size() != 3)
        parts = s.split(QLatin1Char('-'));
    if (parts.size() != 3)
        return {};
    bool ok = false;
    const QString dayText = parts[0].trimmed();
    const QString monthText = parts[1].trimmed();
    const QString yearText = parts[2].trimmed();
    if (dayText.isEmpty() || dayText.size() > 2 || yearText.isEmpty())
        return {};
    const int day = dayText.toInt(&ok);
    if (!ok)
        return {};
    int month = 0;
    if (!monthText.isEmpty() && monthText[0].isDigit()) {
        if (monthText.size() > 2)
            return {};
        month = monthText.toInt(&ok);
        if (!ok)
            return {};
    } else {
        month = monthOfName(monthText);
    }
    for (const QChar c : yearText)
        if (!c.isDigit())
            return {};
    int year = yearText.toInt(&ok);
    if (!ok)
        return {};
    if (yearText.size() <= 2) {
        // Nearest century to today: the 100 years from 50 back to 49 ahead.
        const int current = today.year();
        int candidate = (current / 100) * 100 + year;
        if (candidate > current + 49)
            candidate -= 100;
        else if (candidate < current - 50)
            candidate += 100;
        year = candidate;
    } else if (yearText.size() != 4) {
        return {};
    }
    return QDate(year, month, day); // invalid when impossible
}

QString translateSql(const QString& sql, const QDate& today)
{
    // Fast path: nothing to translate.
    if (!sql.contains(QLatin1Char('#')) && !sql.contains(QLatin1String("between"), Qt::CaseInsensitive))
        return sql;
    std::vector<Token> toks = tokenize(sql, today);
    normaliseBetween(toks);
    return join(toks);
}

namespace {

char32_t fold(char32_t c)
{
    if (c < 128)
        return (c >= 'A' && c <= 'Z') ? c + 32 : c;
    return QChar::toCaseFolded(c);
}

std::u32string folded(const QString& s)
{
    std::u32string out;
    out.reserve(s.size());
    for (const char32_t c : s.toUcs4())
        out.push_back(fold(c));
    return out;
}

bool matchFrom(const std::u32string& v, size_t vi, const std::u32string& p, size_t pi)
{
    // Iterative glob matching with backtracking on the last '*'.
    size_t starP = std::u32string::npos, starV = 0;
    while (vi < v.size()) {
        if (pi < p.size() && (p[pi] == U'?' || (p[pi] != U'*' && p[pi] == v[vi]))) {
            ++vi;
            ++pi;
        } else if (pi < p.size() && p[pi] == U'*') {
            starP = pi++;
            starV = vi;
        } else if (starP != std::u32string::npos) {
            pi = starP + 1;
            vi = ++starV;
        } else {
            return false;
        }
    }
    while (pi < p.size() && p[pi] == U'*')
        ++pi;
    return pi == p.size();
}

} // namespace

bool likeMatch(const QString& value, const QString& pattern)
{
    return matchFrom(folded(value), 0, folded(pattern), 0);
}

int compareNoCase(const char* a, int na, const char* b, int nb)
{
    const int n = na < nb ? na : nb;
    int i = 0;
    for (; i < n; ++i) {
        unsigned char ca = static_cast<unsigned char>(a[i]);
        unsigned char cb = static_cast<unsigned char>(b[i]);
        if ((ca | cb) & 0x80)
            break; // non-ASCII: compare the rest folded
        if (ca >= 'A' && ca <= 'Z')
            ca += 32;
        if (cb >= 'A' && cb <= 'Z')
            cb += 32;
        if (ca != cb)
            return ca < cb ? -1 : 1;
    }
    if (i == n)
        return na == nb ? 0 : (na < nb ? -1 : 1);
    const std::u32string fa = folded(TextFromUtf8(a + i, na - i));
    const std::u32string fb = folded(TextFromUtf8(b + i, nb - i));
    const int c = fa.compare(fb);
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

} // namespace data
