#include "data/Recordset.h"

#include "data/Connection.h"
#include "data/DbError.h"
#include "data/SqlDialect.h"
#include "data/SqlText.h"

#include <QDate>
#include <QRegularExpression>
#include <algorithm>
#include <cstring>
#include <sqlite3.h>

namespace data {

namespace {

const QString kNoCurrentRow = QStringLiteral(
    "Either BOF or EOF is True, or the current record has been deleted. Requested operation "
    "requires a current record.");

bool onlyTerminators(const char* tail)
{
    for (; tail && *tail; ++tail) {
        const char c = *tail;
        if (c != ' ' && c != '\t' && c != '\r' && c != '\n' && c != ';')
            return false;
    }
    return true;
}

// A value of a column declared DATE, stored yyyy-mm-dd, parsed without going
// through a QString; an invalid date returns false.
bool parseStoredDate(const char* p, int n, QDate* date)
{
    if (n < 10)
        return false;
    auto digits = [p](int from, int count) {
        int v = 0;
        for (int k = from; k < from + count; ++k) {
            if (p[k] < '0' || p[k] > '9')
                return -1;
            v = v * 10 + (p[k] - '0');
        }
        return v;
    };
    const int y = digits(0, 4), m = digits(5, 2), d = digits(8, 2);
    if (y < 0 || m < 0 || d < 0 || p[4] != '-' || p[7] != '-')
        return false;
    *date = QDate(y, m, d);
    return date->isValid();
}

// Values are read with sqlite3_column_value and the sqlite3_value_*
// functions: one engine call per value that takes the connection's lock
// instead of one per type, text and length. A connection is only ever used
// from one thread.
//
// The stored text of a column of the current row; false when the value is
// NULL or a number.
bool storedText(sqlite3_stmt* stmt, int index, const char** text, int* size)
{
    sqlite3_value* v = sqlite3_column_value(stmt, index);
    const int type = sqlite3_value_type(v);
    if (type != SQLITE_TEXT && type != SQLITE_BLOB)
        return false;
    *text = reinterpret_cast<const char*>(sqlite3_value_text(v));
    *size = sqlite3_value_bytes(v);
    return true;
}

bool isAscii(const char* p, int n)
{
    for (int k = 0; k < n; ++k)
        if (static_cast<unsigned char>(p[k]) >= 0x80)
            return false;
    return true;
}

char asciiLower(char c)
{
    return c >= 'A' && c <= 'Z' ? char(c + ('a' - 'A')) : c;
}

// Whether the stored text p begins with the lower-case ASCII prefix, letters
// compared without regard to case: 1 yes, 0 no, -1 when a character that is
// not ASCII comes first (it may fold to an ASCII letter: the caller compares
// the text itself).
int asciiPrefixMatch(const char* p, int n, const QByteArray& lowerPrefix)
{
    for (qsizetype k = 0; k < lowerPrefix.size(); ++k) {
        if (k >= n)
            return 0;
        const char c = p[k];
        if (static_cast<unsigned char>(c) >= 0x80)
            return -1;
        if (asciiLower(c) != lowerPrefix[k])
            return 0;
    }
    return 1;
}

} // namespace

Recordset::Recordset(const QString& sql, Connection& db, CursorType cursor, LockType lock)
{
    open(sql, db, cursor, lock);
}

Recordset::~Recordset()
{
    close();
}

void Recordset::open(const QString& sql, Connection& db, CursorType cursor, LockType)
{
    close();
    m_db = &db;
    m_buffered = cursor != CursorType::ForwardOnly;
    prepare(sql);
}

void Recordset::open(const QString& sql)
{
    if (!m_db)
        throw DbError(QStringLiteral("The result has no connection to open on."));
    const bool buffered = m_buffered;
    close();
    m_buffered = buffered;
    prepare(sql);
}

void Recordset::prepare(const QString& sql)
{
    if (!m_db->isOpen())
        throw DbError(QStringLiteral("The database is not open."));
    const QByteArray text = m_db->optimise(translateSql(sql)).toUtf8();
    const char* tail = nullptr;
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(m_db->handle(), text.constData(), int(text.size()), &stmt, &tail) !=
        SQLITE_OK)
        m_db->raiseError();
    if (!stmt)
        throw DbError(QStringLiteral("Invalid SQL statement; expected 'DELETE', 'INSERT', "
                                     "'SELECT', or 'UPDATE'."));
    if (!onlyTerminators(tail)) {
        sqlite3_finalize(stmt);
        throw DbError(QStringLiteral("Characters found after end of SQL statement."));
    }
    m_stmt = stmt;
    const int n = sqlite3_column_count(stmt);
    m_names.clear();
    m_index.clear();
    m_isDate.assign(size_t(n), false);
    m_textCache.assign(size_t(n), {});
    for (int i = 0; i < n; ++i) {
        const QString name = QString::fromUtf8(sqlite3_column_name(stmt, i));
        m_names << name;
        m_index.insert(name.toLower(), i);
        const char* decl = sqlite3_column_decltype(stmt, i);
        m_isDate[size_t(i)] = decl && sqlite3_stricmp(decl, "DATE") == 0;
    }
    m_open = true;
    m_position = 0;
    step();
    if (m_buffered) {
        // Read every row now and release the statement (and its read lock).
        while (!m_atEnd) {
            std::vector<QVariant> row;
            row.reserve(size_t(n));
            for (int i = 0; i < n; ++i)
                row.push_back(readCurrent(i));
            m_rows.push_back(std::move(row));
            step();
        }
        sqlite3_finalize(m_stmt);
        m_stmt = nullptr;
        m_position = 0;
        m_atEnd = m_rows.empty();
    }
}

void Recordset::step()
{
    const int rc = sqlite3_step(m_stmt);
    if (rc == SQLITE_ROW) {
        m_atEnd = false;
        return;
    }
    m_atEnd = true;
    if (rc == SQLITE_DONE) {
        sqlite3_reset(m_stmt); // ends the statement's read transaction
        return;
    }
    // The error text is kept by the connection until the next call.
    try {
        m_db->raiseError();
    } catch (...) {
        sqlite3_reset(m_stmt);
        throw;
    }
}

void Recordset::close()
{
    if (m_stmt) {
        sqlite3_finalize(m_stmt);
        m_stmt = nullptr;
    }
    m_open = false;
    m_atEnd = true;
    m_rows.clear();
    m_names.clear();
    m_index.clear();
    m_isDate.clear();
    m_textCache.clear();
    m_position = 0;
}

bool Recordset::eof() const
{
    return !m_open || m_atEnd;
}

void Recordset::moveFirst()
{
    if (!m_open)
        throw DbError(QStringLiteral("Operation is not allowed when the object is closed."));
    if (m_buffered) {
        m_position = 0;
        m_atEnd = m_rows.empty();
        return;
    }
    if (m_position == 0)
        return; // already on the first row (or the result is empty)
    sqlite3_reset(m_stmt);
    m_position = 0;
    step();
}

void Recordset::moveNext()
{
    if (eof())
        throw DbError(kNoCurrentRow);
    ++m_position;
    if (m_buffered)
        m_atEnd = m_position >= qsizetype(m_rows.size());
    else
        step();
}

void Recordset::requireRow() const
{
    if (eof())
        throw DbError(kNoCurrentRow);
}

QString Recordset::fieldName(int index) const
{
    if (index < 0 || index >= m_names.size())
        throw DbError(QStringLiteral("Item cannot be found in the collection corresponding to "
                                     "the requested name or ordinal."));
    return m_names[index];
}

int Recordset::indexOf(const QString& name) const
{
    auto it = m_index.constFind(name.toLower());
    if (it == m_index.constEnd()) {
        // A qualified name "ER.enqCode" is found by its column part.
        const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
        if (dot >= 0)
            it = m_index.constFind(name.mid(dot + 1).toLower());
    }
    if (it == m_index.constEnd())
        throw DbError(QStringLiteral("Item cannot be found in the collection corresponding to "
                                     "the requested name or ordinal (%1).")
                          .arg(name));
    return it.value();
}

QVariant Recordset::columnValue(int index) const
{
    requireRow();
    if (index < 0 || index >= m_names.size())
        throw DbError(QStringLiteral("Item cannot be found in the collection corresponding to "
                                     "the requested name or ordinal."));
    if (m_buffered)
        return m_rows[size_t(m_position)][size_t(index)];
    return readCurrent(index);
}

const QString& Recordset::cachedText(int index, const char* p, int n) const
{
    TextCache& c = m_textCache[size_t(index)];
    if (c.valid && c.text.size() == n) {
        // An ASCII text is compared with the bytes directly; any byte that is
        // not ASCII then differs.
        if (c.ascii) {
            const char16_t* d = reinterpret_cast<const char16_t*>(c.text.constData());
            int k = 0;
            while (k < n && d[k] == char16_t(static_cast<unsigned char>(p[k])))
                ++k;
            if (k == n)
                return c.text;
        }
    }
    if (c.valid && !c.ascii && c.bytes.size() == size_t(n) &&
        std::memcmp(c.bytes.data(), p, size_t(n)) == 0)
        return c.text;

    c.valid = true;
    c.ascii = isAscii(p, n);
    if (c.ascii) {
        c.bytes.clear();
        // When nobody holds the previous text any more its buffer is reused.
        if (c.text.isDetached() && c.text.capacity() >= n) {
            c.text.resize(n);
            char16_t* d = reinterpret_cast<char16_t*>(c.text.data());
            for (int k = 0; k < n; ++k)
                d[k] = char16_t(static_cast<unsigned char>(p[k]));
        } else {
            c.text = QString::fromLatin1(p, n);
        }
    } else {
        c.bytes.assign(p, size_t(n));
        c.text = TextFromUtf8(p, n);
    }
    return c.text;
}

QVariant Recordset::readCurrent(int index) const
{
    sqlite3_value* v = sqlite3_column_value(m_stmt, index);
    switch (sqlite3_value_type(v)) {
    case SQLITE_NULL:
        return {};
    case SQLITE_INTEGER:
        return QVariant(qlonglong(sqlite3_value_int64(v)));
    case SQLITE_FLOAT:
        return QVariant(sqlite3_value_double(v));
    default: {
        const auto* p = reinterpret_cast<const char*>(sqlite3_value_text(v));
        const int n = sqlite3_value_bytes(v);
        if (m_isDate[size_t(index)]) {
            QDate date;
            if (parseStoredDate(p, n, &date))
                return QVariant(date);
        }
        // A value repeated from row to row (types, services, statuses,
        // cities) is shared instead of converted again.
        return QVariant(cachedText(index, p, n));
    }
    }
}

QVariant Recordset::field(int index) const
{
    return columnValue(index);
}

QVariant Recordset::field(const QString& name) const
{
    return columnValue(indexOf(name));
}

QString Recordset::text(const QString& name) const
{
    return FieldText(field(name));
}

QString Recordset::text(int index) const
{
    // A text column of a streaming result is read without a QVariant: the
    // pick-lists read tens of thousands of names per keystroke.
    if (!m_buffered && m_open && !m_atEnd && index >= 0 && index < m_names.size() &&
        !m_isDate[size_t(index)]) {
        const char* p = nullptr;
        int n = 0;
        if (storedText(m_stmt, index, &p, &n))
            return cachedText(index, p, n);
    }
    return FieldText(field(index));
}

void Recordset::find(const QString& criterion)
{
    static const QRegularExpression re(
        QStringLiteral("^\\s*([^\\s]+)\\s+like\\s+'((?:[^']|'')*)'\\s*$"),
        QRegularExpression::CaseInsensitiveOption);
    // Compared as the database stores texts (and a regular expression does
    // not match a text holding half a character).
    const QRegularExpressionMatch m = re.match(WholeText(criterion));
    if (!m.hasMatch())
        throw DbError(QStringLiteral("The criterion '%1' is not of the form column LIKE 'text'.")
                          .arg(criterion));
    const int column = indexOf(m.captured(1));
    QString pattern = m.captured(2);
    pattern.replace(QLatin1String("''"), QLatin1String("'"));

    // The common case, a prefix followed by one *, without the general matcher.
    const bool prefixOnly = pattern.endsWith(QLatin1Char('*')) &&
                            !pattern.chopped(1).contains(QLatin1Char('*')) &&
                            !pattern.contains(QLatin1Char('?'));
    const QString prefix = prefixOnly ? pattern.chopped(1) : QString();
    // An ASCII prefix on a streaming text column is compared with the stored
    // bytes, without making a text of every row passed over.
    QByteArray lowerPrefix;
    const bool bytePath =
        prefixOnly && !m_buffered && !m_isDate[size_t(column)] &&
        std::all_of(prefix.cbegin(), prefix.cend(), [](QChar c) { return c.unicode() < 0x80; });
    if (bytePath)
        for (const QChar c : prefix)
            lowerPrefix += asciiLower(char(c.unicode()));
    while (!eof()) {
        const char* p = nullptr;
        int n = 0;
        if (bytePath && storedText(m_stmt, column, &p, &n)) {
            const int found = asciiPrefixMatch(p, n, lowerPrefix);
            if (found == 1)
                return;
            if (found == 0) {
                moveNext();
                continue;
            }
        }
        const QVariant v = columnValue(column);
        const QString value = v.typeId() == QMetaType::QString ? v.toString() : FieldText(v);
        if (prefixOnly ? value.startsWith(prefix, Qt::CaseInsensitive) : likeMatch(value, pattern))
            return;
        moveNext();
    }
}

} // namespace data
