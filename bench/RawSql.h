#pragma once

// The baselines: the same statements run straight through the engine's C
// API on the program's connection handle, every column of every row read in
// its stored type, nothing converted or kept.

#include "data/DbError.h"

#include <QByteArray>
#include <QString>
#include <sqlite3.h>

namespace bench {

// Statement handle that is finalized on every path.
class RawStatement {
public:
    RawStatement(sqlite3* db, const QByteArray& sql) : m_db(db)
    {
        if (sqlite3_prepare_v2(db, sql.constData(), int(sql.size()), &m_stmt, nullptr) != SQLITE_OK)
            fail(sql);
    }
    ~RawStatement() { sqlite3_finalize(m_stmt); }
    RawStatement(const RawStatement&) = delete;
    RawStatement& operator=(const RawStatement&) = delete;
    sqlite3_stmt* get() const { return m_stmt; }
    [[noreturn]] void fail(const QByteArray& sql) const
    {
        throw data::DbError(
            QStringLiteral("Baseline statement failed: %1 (%2)")
                .arg(QString::fromUtf8(sqlite3_errmsg(m_db)), QString::fromUtf8(sql)));
    }

private:
    sqlite3* m_db;
    sqlite3_stmt* m_stmt = nullptr;
};

// Runs a query and touches every value; returns the number of rows. The
// checksum keeps the compiler from dropping the reads.
inline qint64 RawRead(sqlite3* db, const QByteArray& sql, qint64* checksum = nullptr)
{
    RawStatement s(db, sql);
    sqlite3_stmt* stmt = s.get();
    const int cols = sqlite3_column_count(stmt);
    qint64 rows = 0, sum = 0;
    int rc;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
        ++rows;
        for (int i = 0; i < cols; ++i) {
            switch (sqlite3_column_type(stmt, i)) {
            case SQLITE_INTEGER:
                sum += sqlite3_column_int64(stmt, i);
                break;
            case SQLITE_FLOAT:
                sum += qint64(sqlite3_column_double(stmt, i));
                break;
            case SQLITE_TEXT: {
                const unsigned char* t = sqlite3_column_text(stmt, i);
                sum += sqlite3_column_bytes(stmt, i) + (t ? t[0] : 0);
                break;
            }
            default:
                break;
            }
        }
    }
    if (rc != SQLITE_DONE)
        s.fail(sql);
    if (checksum)
        *checksum += sum;
    return rows;
}

// Runs a statement that returns no rows (INSERT, UPDATE, DELETE, BEGIN...).
inline void RawExec(sqlite3* db, const QByteArray& sql)
{
    char* err = nullptr;
    if (sqlite3_exec(db, sql.constData(), nullptr, nullptr, &err) != SQLITE_OK) {
        const QString msg = QString::fromUtf8(err ? err : "error");
        sqlite3_free(err);
        throw data::DbError(
            QStringLiteral("Baseline statement failed: %1 (%2)").arg(msg, QString::fromUtf8(sql)));
    }
}

// Value of the first column of the first row as a whole number (0 when none).
inline qint64 RawScalar(sqlite3* db, const QByteArray& sql)
{
    RawStatement s(db, sql);
    const int rc = sqlite3_step(s.get());
    if (rc == SQLITE_ROW)
        return sqlite3_column_int64(s.get(), 0);
    if (rc != SQLITE_DONE)
        s.fail(sql);
    return 0;
}

} // namespace bench
