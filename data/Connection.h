#pragma once

#include <QHash>
#include <QString>

struct sqlite3;

namespace data {

// The database connection: one encrypted database file, opened once.
// Every statement handed to it is written in the program's SQL dialect
// (see SqlDialect.h) and runs alone: text after the first statement is an
// error and is never run.
class Connection {
public:
    Connection();
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // Opens the file named by the connection string's "Data Source" with
    // the key of its "Database Password". The file must exist and hold
    // every table of the schema; user and password must be empty.
    void open(const QString& connectionString, const QString& user = {},
              const QString& password = {});
    // Opens a file by name and key directly (the tool, tests, benchmark).
    void openFile(const QString& path, const QString& key);
    // Creates a new database file with the schema; refuses an existing file.
    void createFile(const QString& path, const QString& key);
    void close();
    bool isOpen() const { return m_db != nullptr; }
    QString fileName() const { return m_path; }

    // Runs an INSERT, UPDATE or DELETE text; returns the affected row count.
    int execute(const QString& sql);

    // BEGIN IMMEDIATE: the write lock is taken at once.
    void beginTrans();
    void commitTrans();
    void rollbackTrans();
    bool inTransaction() const;

    // Runs native SQLite text without translation and without the
    // authorizer: schema creation, pragmas of tests and tools. Never for
    // text built from user input.
    void executeNative(const QString& sql);

    // The engine's check of the whole file (pages, indexes, constraints):
    // "ok" when the file is sound, else the problems found, one a line.
    QString integrityCheck();

    // The same query in a form the engine answers faster, where one is
    // known: "SELECT DISTINCT(col) AS x FROM t" over an indexed text column
    // jumps from value to value through the index instead of reading every
    // row. Other texts are returned unchanged.
    QString optimise(const QString& sql);

    // Throws the engine's last error as a DbError.
    [[noreturn]] void raiseError(const QString& fallback = {}) const;

    sqlite3* handle() const { return m_db; }
    // True while a native statement is being prepared (authorizer bypass).
    bool trusted() const { return m_trusted; }

    // The program's database key: applied with the library's key call.
    static QString databasePassword();
    // Tables every database file must hold.
    static const QStringList& requiredTables();

private:
    void openHandle(const QString& path, const QString& key, bool create);

    sqlite3* m_db = nullptr;
    QString m_path;
    bool m_trusted = false;
    QHash<QString, bool> m_indexedText; // "table.column" -> indexed text column
};

// Rolls back unless committed.
class Transaction {
public:
    explicit Transaction(Connection& db) : m_db(db) { m_db.beginTrans(); }
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;
    void commit();

private:
    Connection& m_db;
    bool m_open = true;
};

} // namespace data
