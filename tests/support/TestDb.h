#pragma once

#include "data/Connection.h"

#include <QString>
#include <QTemporaryDir>

// A fresh database with the full schema in a temporary folder, opened on
// the program's connection (modAdmin::DbConnection) unless told otherwise.
class TestDb {
public:
    explicit TestDb(bool onSessionConnection = true);
    ~TestDb();
    QString folder() const { return m_dir.path(); }
    QString path() const { return m_dir.path() + QStringLiteral("/Korvane.MDB"); }
    data::Connection& db();

    void exec(const QString& sql);
    // First column of the first row as text ("" when there is no row).
    QString scalar(const QString& sql);
    int count(const QString& sql);

private:
    QTemporaryDir m_dir;
    bool m_session;
    data::Connection m_own;
};
