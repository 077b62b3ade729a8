#include "data/Connection.h"

#include "data/DbError.h"
#include "data/Recordset.h"
#include "data/Schema.h"
#include "data/SqlDialect.h"
#include "data/SqlText.h"

#include <QDate>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringList>
#include <chrono>
#include <sqlite3.h>
#include <thread>

namespace data {

namespace {

constexpr int kBusyTimeoutMs = 5000;

// Waits for another program's lock in steps of about a millisecond, for
// kBusyTimeoutMs in all. (The engine's own handler sleeps up to 100 ms at a
// time, so that a program saving without pause could keep a waiting one
// out until its timeout.) A connection is used by one thread, and waits for
// one lock at a time; the engine calls with count 0 when a wait begins.
int busyWait(void*, int count)
{
    using Clock = std::chrono::steady_clock;
    thread_local Clock::time_point since;
    if (count == 0)
        since = Clock::now();
    if (Clock::now() - since >= std::chrono::milliseconds(kBusyTimeoutMs))
        return 0;
    std::this_thread::sleep_for(std::chrono::microseconds(500 + count % 7 * 100));
    return 1;
}

// Collation of every text column: equal without regard to letter case,
// also outside ASCII.
int collateNoCase(void*, int na, const void* a, int nb, const void* b)
{
    return compareNoCase(static_cast<const char*>(a), na, static_cast<const char*>(b), nb);
}

bool asciiOnly(const unsigned char* s, int n)
{
    for (int i = 0; i < n; ++i)
        if (s[i] & 0x80)
            return false;
    return true;
}

unsigned char lowerAscii(unsigned char c)
{
    return (c >= 'A' && c <= 'Z') ? c + 32 : c;
}

bool asciiLike(const unsigned char* v, int nv, const unsigned char* p, int np)
{
    int vi = 0, pi = 0, starP = -1, starV = 0;
    while (vi < nv) {
        if (pi < np && (p[pi] == '?' || (p[pi] != '*' && lowerAscii(p[pi]) == lowerAscii(v[vi])))) {
            ++vi;
            ++pi;
        } else if (pi < np && p[pi] == '*') {
            starP = pi++;
            starV = vi;
        } else if (starP >= 0) {
            pi = starP + 1;
            vi = ++starV;
        } else {
            return false;
        }
    }
    while (pi < np && p[pi] == '*')
        ++pi;
    return pi == np;
}

// LIKE of the dialect: * and ? are the wildcards, % and _ plain characters.
// SQLite calls like(pattern, value) for "value LIKE pattern".
void sqlLike(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL || sqlite3_value_type(argv[1]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    const auto* p = sqlite3_value_text(argv[0]);
    const int np = sqlite3_value_bytes(argv[0]);
    const auto* v = sqlite3_value_text(argv[1]);
    const int nv = sqlite3_value_bytes(argv[1]);
    bool match;
    if (asciiOnly(p, np) && asciiOnly(v, nv))
        match = asciiLike(v, nv, p, np);
    else
        match = likeMatch(TextFromUtf8(reinterpret_cast<const char*>(v), nv),
                          TextFromUtf8(reinterpret_cast<const char*>(p), np));
    sqlite3_result_int(ctx, match ? 1 : 0);
}

// MONTH(), YEAR(), DAY() of a date stored as yyyy-mm-dd.
template <int Part> void sqlDatePart(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    const QString text =
        QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_value_text(argv[0])));
    const QDate d = QDate::fromString(text.left(10), Qt::ISODate);
    if (!d.isValid()) {
        sqlite3_result_error(ctx, "Data type mismatch in criteria expression.", -1);
        return;
    }
    sqlite3_result_int(ctx, Part == 0 ? d.year() : Part == 1 ? d.month() : d.day());
}

// Statements built by the windows may not attach files, run pragmas, load
// extensions or change the schema.
int authorize(void* self, int action, const char* arg1, const char* arg2, const char*, const char*)
{
    if (static_cast<const Connection*>(self)->trusted())
        return SQLITE_OK;
    switch (action) {
    case SQLITE_ATTACH:
    case SQLITE_DETACH:
    case SQLITE_PRAGMA:
    case SQLITE_CREATE_INDEX:
    case SQLITE_CREATE_TABLE:
    case SQLITE_CREATE_TEMP_INDEX:
    case SQLITE_CREATE_TEMP_TABLE:
    case SQLITE_CREATE_TEMP_TRIGGER:
    case SQLITE_CREATE_TEMP_VIEW:
    case SQLITE_CREATE_TRIGGER:
    case SQLITE_CREATE_VIEW:
    case SQLITE_CREATE_VTABLE:
    case SQLITE_DROP_INDEX:
    case SQLITE_DROP_TABLE:
    case SQLITE_DROP_TEMP_INDEX:
    case SQLITE_DROP_TEMP_TABLE:
    case SQLITE_DROP_TEMP_TRIGGER:
    case SQLITE_DROP_TEMP_VIEW:
    case SQLITE_DROP_TRIGGER:
    case SQLITE_DROP_VIEW:
    case SQLITE_DROP_VTABLE:
    case SQLITE_ALTER_TABLE:
        return SQLITE_DENY;
    case SQLITE_FUNCTION:
        if (arg2 && (sqlite3_stricmp(arg2, "load_extension") == 0 ||
                     sqlite3_stricmp(arg2, "sqlcipher_export") == 0))
            return SQLITE_DENY;
        return SQLITE_OK;
    default:
        (void)arg1;
        return SQLITE_OK;
    }
}

// Reads "key=value" pairs of a connection string; the data source may hold
// any character but the sequence that starts the next key.
QString connectionValue(const QString& cs, const QString& key)
{
    const qsizetype at = cs.indexOf(key + QLatin1Char('='), 0, Qt::CaseInsensitive);
    if (at < 0)
        return {};
    const qsizetype start = at + key.size() + 1;
    static const QStringList keys{QStringLiteral(";Jet OLEDB:"), QStringLiteral(";Provider="),
                                  QStringLiteral(";Data Source="), QStringLiteral(";User ID="),
                                  QStringLiteral(";Password=")};
    qsizetype end = cs.size();
    for (const QString& k : keys) {
        const qsizetype e = cs.indexOf(k, start, Qt::CaseInsensitive);
        if (e >= 0 && e < end)
            end = e;
    }
    if (end == cs.size() && cs.endsWith(QLatin1Char(';')))
        --end;
    return cs.mid(start, end - start);
}

} // namespace

Connection::Connection() = default;

Connection::~Connection()
{
    close();
}

QString Connection::databasePassword()
{
    return QStringLiteral("tessiravolm208");
}

const QStringList& Connection::requiredTables()
{
    static const QStringList tables{
        QStringLiteral("mstExecutive"),     QStringLiteral("mstClient"),
        QStringLiteral("mstService"),       QStringLiteral("trnEnquiryRegister"),
        QStringLiteral("trnEnquiryStatus"), QStringLiteral("trnTarget"),
        QStringLiteral("rptEnquiryStatus"), QStringLiteral("rptGraph"),
        QStringLiteral("rptSalesPipeLine"), QStringLiteral("rptTarget")};
    return tables;
}

void Connection::open(const QString& connectionString, const QString& user, const QString& password)
{
    if (!user.isEmpty() || !password.isEmpty())
        throw DbError(QStringLiteral("The database takes no user name or password."));
    const QString path = connectionValue(connectionString, QStringLiteral("Data Source"));
    const QString key =
        connectionValue(connectionString, QStringLiteral("Jet OLEDB:Database Password"));
    if (path.isEmpty())
        throw DbError(QStringLiteral("The connection string names no database file."));
    openFile(path, key);
}

void Connection::openFile(const QString& path, const QString& key)
{
    close();
    const QFileInfo info(path);
    if (!info.exists() || !info.isFile())
        throw DbError(QStringLiteral("Could not find file '%1'.").arg(path));
    openHandle(path, key, false);

    // The key only takes effect on the first read: a wrong key or a file
    // that is not a database fails here.
    QStringList present;
    {
        sqlite3_stmt* stmt = nullptr;
        int rc = sqlite3_prepare_v2(m_db, "SELECT name FROM sqlite_master WHERE type='table'", -1,
                                    &stmt, nullptr);
        if (rc == SQLITE_OK) {
            while ((rc = sqlite3_step(stmt)) == SQLITE_ROW)
                present << QString::fromUtf8(
                    reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0)));
        }
        sqlite3_finalize(stmt);
        if (rc != SQLITE_DONE) {
            const int code = rc;
            sqlite3_close_v2(m_db);
            m_db = nullptr;
            if (code == SQLITE_NOTADB || code == SQLITE_CORRUPT)
                throw DbError(QStringLiteral("Cannot open the database file '%1': it is not a "
                                             "Korvane database, or its database password is "
                                             "wrong.")
                                  .arg(path),
                              code);
            throw DbError(QStringLiteral("Cannot open the database file '%1': %2.")
                              .arg(path, QString::fromUtf8(sqlite3_errstr(code))),
                          code);
        }
    }
    QStringList missing;
    for (const QString& table : requiredTables()) {
        bool found = false;
        for (const QString& p : present)
            found = found || p.compare(table, Qt::CaseInsensitive) == 0;
        if (!found)
            missing << table;
    }
    if (!missing.isEmpty()) {
        sqlite3_close_v2(m_db);
        m_db = nullptr;
        throw DbError(QStringLiteral("The database file '%1' is not a Korvane database: the "
                                     "table(s) %2 are missing.")
                          .arg(path, missing.join(QStringLiteral(", "))));
    }
    m_path = path;
}

void Connection::createFile(const QString& path, const QString& key)
{
    close();
    if (QFileInfo::exists(path))
        throw DbError(
            QStringLiteral("The file '%1' already exists; it is not overwritten.").arg(path));
    openHandle(path, key, true);
    m_path = path;
    try {
        Transaction tx(*this);
        for (const QString& statement : Schema::statements())
            executeNative(statement);
        tx.commit();
    } catch (...) {
        close();
        throw;
    }
}

void Connection::openHandle(const QString& path, const QString& key, bool create)
{
    const int flags =
        SQLITE_OPEN_READWRITE | (create ? SQLITE_OPEN_CREATE : 0) | SQLITE_OPEN_NOMUTEX;
    sqlite3* db = nullptr;
    const int rc = sqlite3_open_v2(QFile::encodeName(path).constData(), &db, flags, nullptr);
    if (rc != SQLITE_OK) {
        const QString msg =
            db ? QString::fromUtf8(sqlite3_errmsg(db)) : QString::fromUtf8(sqlite3_errstr(rc));
        sqlite3_close_v2(db);
        throw DbError(QStringLiteral("Cannot open the database file '%1': %2.").arg(path, msg), rc);
    }
    const QByteArray k = key.toUtf8();
    if (!k.isEmpty() && sqlite3_key(db, k.constData(), int(k.size())) != SQLITE_OK) {
        sqlite3_close_v2(db);
        throw DbError(QStringLiteral("Cannot apply the database key to '%1'.").arg(path));
    }
    sqlite3_busy_handler(db, busyWait, nullptr);
    sqlite3_extended_result_codes(db, 1);
    // Decrypting pages is most of the cost of a large read: keep up to 32 MB
    // of decrypted pages so that a repeated list does not decrypt them again.
    sqlite3_exec(db, "PRAGMA cache_size = -32768", nullptr, nullptr, nullptr);
    sqlite3_db_config(db, SQLITE_DBCONFIG_ENABLE_LOAD_EXTENSION, 0, nullptr);
    sqlite3_create_collation_v2(db, "UNOCASE", SQLITE_UTF8, nullptr, collateNoCase, nullptr);
    const int fnFlags = SQLITE_UTF8 | SQLITE_DETERMINISTIC;
    sqlite3_create_function_v2(db, "like", 2, fnFlags, nullptr, sqlLike, nullptr, nullptr, nullptr);
    sqlite3_create_function_v2(db, "year", 1, fnFlags, nullptr, sqlDatePart<0>, nullptr, nullptr,
                               nullptr);
    sqlite3_create_function_v2(db, "month", 1, fnFlags, nullptr, sqlDatePart<1>, nullptr, nullptr,
                               nullptr);
    sqlite3_create_function_v2(db, "day", 1, fnFlags, nullptr, sqlDatePart<2>, nullptr, nullptr,
                               nullptr);
    sqlite3_set_authorizer(db, authorize, this);
    m_db = db;
}

void Connection::close()
{
    if (m_db) {
        sqlite3_close_v2(m_db);
        m_db = nullptr;
    }
    m_path.clear();
}

namespace {

// The engine's error as the windows show it: a lock and a full disk are
// said in words a user can act on, with the engine's own text after them.
[[noreturn]] void throwEngineError(int code, const QString& message)
{
    QString text = message;
    if ((code & 0xff) == SQLITE_BUSY)
        text = QStringLiteral("The database is in use by another program (%1). Try again.")
                   .arg(message);
    else if ((code & 0xff) == SQLITE_FULL)
        text = QStringLiteral("The database or disk is full; nothing was saved (%1).").arg(message);
    throw DbError(text, code);
}

} // namespace

void Connection::raiseError(const QString& what) const
{
    const int code = m_db ? sqlite3_extended_errcode(m_db) : 0;
    throwEngineError(code, m_db ? QString::fromUtf8(sqlite3_errmsg(m_db)) : what);
}

int Connection::execute(const QString& sql)
{
    Recordset rs(sql, *this);
    rs.close();
    return sqlite3_changes(m_db);
}

void Connection::executeNative(const QString& sql)
{
    if (!m_db)
        throw DbError(QStringLiteral("The database is not open."));
    m_trusted = true;
    char* err = nullptr;
    const int rc = sqlite3_exec(m_db, sql.toUtf8().constData(), nullptr, nullptr, &err);
    m_trusted = false;
    if (rc != SQLITE_OK) {
        const QString msg = err ? QString::fromUtf8(err) : QString::fromUtf8(sqlite3_errstr(rc));
        sqlite3_free(err);
        throwEngineError(rc, msg);
    }
}

QString Connection::optimise(const QString& sql)
{
    static const QRegularExpression distinct(
        QStringLiteral("^\\s*select\\s+distinct\\s*\\(\\s*([A-Za-z_]\\w*)\\s*\\)\\s*(?:as\\s+([A-"
                       "Za-z_]\\w*)\\s+)?"
                       "from\\s+([A-Za-z_]\\w*)\\s*;?\\s*$"),
        QRegularExpression::CaseInsensitiveOption);
    if (!m_db || !sql.startsWith(QLatin1String("select"), Qt::CaseInsensitive))
        return sql;
    const QRegularExpressionMatch m = distinct.match(sql);
    if (!m.hasMatch())
        return sql;
    const QString column = m.captured(1), table = m.captured(3);
    const QString alias = m.captured(2).isEmpty() ? column : m.captured(2);
    const QString key = table.toLower() + QLatin1Char('.') + column.toLower();
    auto it = m_indexedText.constFind(key);
    if (it == m_indexedText.constEnd()) {
        // A text column that leads an index of its table.
        bool indexed = false, isText = false;
        sqlite3_stmt* stmt = nullptr;
        if (sqlite3_prepare_v2(
                m_db, "SELECT type, sql FROM sqlite_master WHERE tbl_name = ?1 COLLATE NOCASE", -1,
                &stmt, nullptr) == SQLITE_OK) {
            const QByteArray t = table.toUtf8();
            sqlite3_bind_text(stmt, 1, t.constData(), int(t.size()), SQLITE_TRANSIENT);
            const QRegularExpression leads(QStringLiteral("\\(\\s*") +
                                               QRegularExpression::escape(column) +
                                               QStringLiteral("\\s*[,)]"),
                                           QRegularExpression::CaseInsensitiveOption);
            const QRegularExpression text(QStringLiteral("[(,]\\s*") +
                                              QRegularExpression::escape(column) +
                                              QStringLiteral("\\s+TEXT\\b"),
                                          QRegularExpression::CaseInsensitiveOption);
            while (sqlite3_step(stmt) == SQLITE_ROW) {
                const QString type =
                    QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0)));
                const QString def =
                    QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 1)));
                if (type == QLatin1String("index") && leads.match(def).hasMatch())
                    indexed = true;
                if (type == QLatin1String("table") && text.match(def).hasMatch())
                    isText = true;
            }
        }
        sqlite3_finalize(stmt);
        it = m_indexedText.insert(key, indexed && isText);
    }
    if (!it.value())
        return sql;
    // NULL first, as DISTINCT would give it, then each value once in the
    // column's order (its collation decides what counts as the same value).
    return QStringLiteral("WITH RECURSIVE korvane_d(v) AS (SELECT MIN(%1) FROM %2 UNION ALL "
                          "SELECT (SELECT MIN(%1) FROM %2 WHERE %1 > korvane_d.v) FROM korvane_d "
                          "WHERE korvane_d.v IS NOT NULL) "
                          "SELECT NULL AS %3 WHERE EXISTS (SELECT 1 FROM %2 WHERE %1 IS NULL) "
                          "UNION ALL SELECT v FROM korvane_d WHERE v IS NOT NULL")
        .arg(column, table, alias);
}

QString Connection::integrityCheck()
{
    if (!m_db)
        throw DbError(QStringLiteral("The database is not open."));
    m_trusted = true; // a pragma: allowed for this statement only
    sqlite3_stmt* stmt = nullptr;
    int rc = sqlite3_prepare_v2(m_db, "PRAGMA integrity_check", -1, &stmt, nullptr);
    QStringList lines;
    if (rc == SQLITE_OK) {
        while ((rc = sqlite3_step(stmt)) == SQLITE_ROW)
            lines << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0)));
    }
    sqlite3_finalize(stmt);
    m_trusted = false;
    if (rc != SQLITE_DONE)
        raiseError();
    return lines.join(QLatin1Char('\n'));
}

void Connection::beginTrans()
{
    executeNative(QStringLiteral("BEGIN IMMEDIATE"));
}

void Connection::commitTrans()
{
    executeNative(QStringLiteral("COMMIT"));
}

void Connection::rollbackTrans()
{
    if (inTransaction())
        executeNative(QStringLiteral("ROLLBACK"));
}

bool Connection::inTransaction() const
{
    return m_db && !sqlite3_get_autocommit(m_db);
}

Transaction::~Transaction()
{
    if (m_open) {
        try {
            m_db.rollbackTrans();
        } catch (...) {
            // Nothing more can be done; the engine rolls back on close.
        }
    }
}

void Transaction::commit()
{
    m_db.commitTrans();
    m_open = false;
}

} // namespace data
