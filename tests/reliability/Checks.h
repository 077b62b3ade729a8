#pragma once

// What the reliability tests check in a database after faults: the file is
// sound, every enquiry has exactly one current status record, no status
// record is without its enquiry, and every save a driver reported is there.

#include "data/Connection.h"
#include "data/Recordset.h"
#include "data/SqlText.h"

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QProcess>
#include <QString>
#include <QStringList>

namespace reliability {

inline QString DriverPath()
{
    return QStringLiteral(KORVANE_TEST_DIR "/rel_saver");
}

// The driver's environment: no display, and a runtime folder of its own
// (Qt warns without one).
inline void PrepareDriver(QProcess& driver, const QString& runtimeFolder)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtimeFolder);
    driver.setProcessEnvironment(env);
    driver.setProcessChannelMode(QProcess::ForwardedErrorChannel);
}

// KORVANE_LONG_TESTS=1 selects the long variant of a test.
inline bool LongRun()
{
    return qEnvironmentVariableIntValue("KORVANE_LONG_TESTS") == 1;
}

inline qlonglong Number(data::Connection& db, const QString& sql)
{
    data::Recordset rs(sql, db);
    return rs.eof() ? 0 : rs.field(0).toLongLong();
}

// A new database with the one sales person, client, service and segment
// the driver's saves refer to.
inline void SeedForDriver(data::Connection& db, const QString& path)
{
    db.createFile(path, data::Connection::databasePassword());
    db.execute(QStringLiteral("INSERT INTO mstExecutive(exeCode,exeName,exeUID,exePassword,exeRole)"
                              "VALUES(1,'Anita','anita','anita','U')"));
    db.execute(
        QStringLiteral("INSERT INTO mstClient(cltCode,cltName,cltPhone)VALUES(1,'Apex','1')"));
    db.execute(QStringLiteral("INSERT INTO mstService(srNo,Name,Type)VALUES(1,'Software','SR'),"
                              "(2,'Retail','SG')"));
    db.close();
}

// The saves one driver reported, and its failures.
struct Reported {
    QMap<QString, qint32> enquiries;  // marker -> code
    QMap<QString, qint32> clients;    // marker -> code
    QMap<QString, qint32> executives; // marker -> code
    QMap<QString, qint32> followUps;  // marker -> enquiry code
    QStringList failures;             // "<kind> <marker> <text>"
    qlonglong longestMs = 0;          // the slowest save
    bool ready = false;
    bool done = false;

    qsizetype saves() const
    {
        return enquiries.size() + clients.size() + executives.size() + followUps.size();
    }

    // Complete lines only: a line cut by a kill was never reported.
    void read(const QByteArray& output)
    {
        const qsizetype end = output.lastIndexOf('\n');
        if (end < 0)
            return;
        for (const QByteArray& raw : output.left(end).split('\n')) {
            const QString line = QString::fromUtf8(raw);
            if (line == QLatin1String("ready")) {
                ready = true;
                continue;
            }
            if (line == QLatin1String("done")) {
                done = true;
                continue;
            }
            if (line.startsWith(QLatin1String("! "))) {
                failures << line.mid(2);
                continue;
            }
            const QStringList parts = line.split(QLatin1Char(' '));
            if (parts.size() != 4)
                continue;
            longestMs = qMax(longestMs, parts[3].toLongLong());
            const qint32 code = parts[1].toInt();
            const QString& marker = parts[2];
            if (parts[0] == QLatin1String("E"))
                enquiries.insert(marker, code);
            else if (parts[0] == QLatin1String("C"))
                clients.insert(marker, code);
            else if (parts[0] == QLatin1String("X"))
                executives.insert(marker, code);
            else if (parts[0] == QLatin1String("F"))
                followUps.insert(marker, code);
        }
    }
};

// Faults of the stored data; empty when there are none.
inline QStringList InvariantFaults(data::Connection& db)
{
    QStringList faults;
    const QString integrity = db.integrityCheck();
    if (integrity != QLatin1String("ok"))
        faults << QStringLiteral("integrity check: ") + integrity;
    const qlonglong notOneCurrent = Number(
        db, QStringLiteral("SELECT COUNT(*) FROM trnEnquiryRegister ER WHERE (SELECT COUNT(*) "
                           "FROM trnEnquiryStatus ES WHERE ES.enqCode=ER.enqCode AND "
                           "ES.enqKey='F') <> 1"));
    if (notOneCurrent != 0)
        faults << QStringLiteral("%1 enquiries without exactly one current status record")
                      .arg(notOneCurrent);
    const qlonglong orphans =
        Number(db, QStringLiteral("SELECT COUNT(*) FROM trnEnquiryStatus WHERE enqCode NOT IN "
                                  "(SELECT enqCode FROM trnEnquiryRegister)"));
    if (orphans != 0)
        faults << QStringLiteral("%1 status records without their enquiry").arg(orphans);
    return faults;
}

// Reported saves that are not stored as reported; empty when all are.
inline QStringList MissingSaves(data::Connection& db, const Reported& r)
{
    QStringList missing;
    auto check = [&](const QString& what, const QString& sql) {
        if (Number(db, sql) != 1)
            missing << what;
    };
    for (auto it = r.enquiries.cbegin(); it != r.enquiries.cend(); ++it)
        check(QStringLiteral("enquiry ") + it.key(),
              QStringLiteral("SELECT COUNT(*) FROM trnEnquiryRegister ER, trnEnquiryStatus ES "
                             "WHERE ER.enqCode=ES.enqCode AND ES.enqReason=ER.enqComments AND "
                             "ES.enqAction='Called' AND ER.enqCode=%1 AND ER.enqType=")
                      .arg(it.value()) +
                  data::Quote(it.key()));
    for (auto it = r.followUps.cbegin(); it != r.followUps.cend(); ++it)
        check(QStringLiteral("follow-up ") + it.key(),
              QStringLiteral("SELECT COUNT(*) FROM trnEnquiryStatus WHERE enqCode=%1 AND "
                             "enqReason=")
                      .arg(it.value()) +
                  data::Quote(it.key()));
    for (auto it = r.clients.cbegin(); it != r.clients.cend(); ++it)
        check(QStringLiteral("client ") + it.key(),
              QStringLiteral("SELECT COUNT(*) FROM mstClient WHERE cltCode=%1 AND cltName=")
                      .arg(it.value()) +
                  data::Quote(it.key()));
    for (auto it = r.executives.cbegin(); it != r.executives.cend(); ++it)
        check(QStringLiteral("sales person ") + it.key(),
              QStringLiteral("SELECT COUNT(*) FROM mstExecutive WHERE exeCode=%1 AND exeName=")
                      .arg(it.value()) +
                  data::Quote(it.key()));
    return missing;
}

} // namespace reliability
