#pragma once

// Shared by the fuzz entry points: an in-memory database with the program's
// schema, functions and collation, a way to run translated text on it, and
// a check that stops the run (a finding) when a property does not hold.

#include "data/Connection.h"
#include "data/DbError.h"
#include "data/SqlText.h"

#include <QString>
#include <cstdio>
#include <cstdlib>
#include <sqlite3.h>

namespace fuzz {

[[noreturn]] inline void Fail(const char* what, const QString& detail)
{
    std::fprintf(stderr, "FUZZ FINDING: %s\n%s\n", what, detail.toUtf8().constData());
    std::abort();
}

inline void Check(bool ok, const char* what, const QString& detail)
{
    if (!ok)
        Fail(what, detail);
}

// The database every input runs on: the schema plus a few rows, so that
// comparisons have something to compare.
inline data::Connection& Db()
{
    static data::Connection* db = [] {
        auto* c = new data::Connection; // lives as long as the process
        c->createFile(QStringLiteral(":memory:"), QString());
        c->executeNative(QStringLiteral(
            "INSERT INTO trnEnquiryRegister(enqCode,enqDate,enqType,enqAmount,enqPercentage,"
            "enqFollowdate) VALUES (1,'2004-01-05','Visit',100,10,'2004-02-01'),"
            "(2,'2004-12-31','Call',80,80,'2005-01-15'),(3,'1999-06-30','Mail',-5,0,NULL),"
            "(4,NULL,'',0.5,100,'2004-01-05')"));
        return c;
    }();
    return *db;
}

struct Result {
    bool ok = false;
    QString error;
    QString first; // first column of the first row, as text
    int rows = 0;
};

// Prepares and steps SQLite text (already translated) to its end.
inline Result Run(const QString& sqliteText)
{
    Result r;
    sqlite3* db = Db().handle();
    const QByteArray text = sqliteText.toUtf8();
    sqlite3_stmt* stmt = nullptr;
    const char* tail = nullptr;
    int rc = sqlite3_prepare_v2(db, text.constData(), int(text.size()), &stmt, &tail);
    if (rc != SQLITE_OK || !stmt) {
        r.error = QString::fromUtf8(sqlite3_errmsg(db));
        sqlite3_finalize(stmt);
        return r;
    }
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
        if (r.rows++ == 0) {
            const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0));
            r.first = data::TextFromUtf8(text, sqlite3_column_bytes(stmt, 0));
        }
    }
    r.ok = rc == SQLITE_DONE;
    if (!r.ok)
        r.error = QString::fromUtf8(sqlite3_errmsg(db));
    sqlite3_finalize(stmt);
    return r;
}

} // namespace fuzz
