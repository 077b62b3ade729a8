#include "TestDb.h"

#include "app/ModAdmin.h"
#include "data/Recordset.h"

TestDb::TestDb(bool onSessionConnection) : m_session(onSessionConnection)
{
    db().createFile(path(), data::Connection::databasePassword());
    if (m_session)
        modAdmin::SetProgramFolder(folder());
}

TestDb::~TestDb()
{
    // Another fixture may have taken over the session connection since.
    if (db().fileName() == path())
        db().close();
}

data::Connection& TestDb::db()
{
    return m_session ? modAdmin::DbConnection : m_own;
}

void TestDb::exec(const QString& sql)
{
    db().execute(sql);
}

QString TestDb::scalar(const QString& sql)
{
    data::Recordset rs(sql, db());
    return rs.eof() ? QString() : rs.text(0);
}

int TestDb::count(const QString& sql)
{
    return scalar(sql).toInt();
}
