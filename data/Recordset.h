#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <string>
#include <vector>

struct sqlite3_stmt;

namespace data {

class Connection;

enum class CursorType { ForwardOnly, Keyset, Dynamic, Static };
enum class LockType { ReadOnly, Pessimistic, Optimistic, BatchOptimistic };

// The rows of one query. Field values are QVariant: null for NULL,
// qlonglong for whole numbers, double for decimals, QString for text and
// QDate for date columns.
//
// A forward-only result streams its rows from the engine; the other cursor
// kinds read every row at open so that find and move first are cheap.
class Recordset {
public:
    Recordset() = default;
    Recordset(const QString& sql, Connection& db, CursorType cursor = CursorType::ForwardOnly,
              LockType lock = LockType::ReadOnly);
    ~Recordset();
    Recordset(const Recordset&) = delete;
    Recordset& operator=(const Recordset&) = delete;

    void open(const QString& sql, Connection& db, CursorType cursor = CursorType::ForwardOnly,
              LockType lock = LockType::ReadOnly);
    // Opens again with a new text on the connection of the last open.
    void open(const QString& sql);
    void close();
    bool isOpen() const { return m_open; }

    // True when there is no current row; right after open exactly when
    // the result is empty.
    bool eof() const;
    void moveFirst();
    void moveNext();

    int fieldCount() const { return int(m_names.size()); }
    QString fieldName(int index) const;
    QVariant field(int index) const;
    QVariant field(const QString& name) const;
    // Field as text in its default text form (see SqlText.h).
    QString text(const QString& name) const;
    QString text(int index) const;

    // Criterion "column LIKE 'prefix*'" (any LIKE pattern): the current row
    // becomes the first row at or after it that matches; none leaves the
    // result at its end.
    void find(const QString& criterion);

private:
    void prepare(const QString& sql);
    void step();
    void requireRow() const;
    int indexOf(const QString& name) const;
    QVariant columnValue(int index) const;
    QVariant readCurrent(int index) const;
    // The text of a stored value, shared with the last one read from the
    // same column when it is the same.
    const QString& cachedText(int index, const char* utf8, int size) const;

    Connection* m_db = nullptr;
    sqlite3_stmt* m_stmt = nullptr;
    bool m_open = false;
    bool m_buffered = false;
    bool m_atEnd = true;
    qsizetype m_position = 0; // row number of the current row
    QStringList m_names;
    std::vector<bool> m_isDate;                // declared DATE columns
    QHash<QString, int> m_index;               // lower-case name -> position
    std::vector<std::vector<QVariant>> m_rows; // buffered cursors only
    // Last text read per column: a value repeated from row to row (types,
    // services, statuses, cities) is shared instead of converted again.
    // ASCII texts are compared with the text itself; others keep their bytes.
    struct TextCache {
        QString text;
        std::string bytes;
        bool ascii = false;
        bool valid = false;
    };
    mutable std::vector<TextCache> m_textCache;
};

} // namespace data
