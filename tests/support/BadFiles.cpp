#include "BadFiles.h"

#include "data/Connection.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <sqlite3.h>
#include <stdexcept>

namespace BadFiles {

QStringList kinds()
{
    return {QStringLiteral("missing"),  QStringLiteral("empty"),     QStringLiteral("random"),
            QStringLiteral("wrongkey"), QStringLiteral("notable"),   QStringLiteral("truncated"),
            QStringLiteral("cut100"),   QStringLiteral("firstpage"), QStringLiteral("plain"),
            QStringLiteral("folder")};
}

void make(const QString& kind, const QString& path)
{
    const QString key = data::Connection::databasePassword();
    auto good = [&path](const QString& withKey, int clients) {
        data::Connection c;
        c.createFile(path, withKey);
        for (int i = 1; i <= clients; ++i)
            c.execute(
                QStringLiteral(
                    "INSERT INTO mstClient (cltCode,cltName,cltAddress) VALUES (%1,'n%1','%2')")
                    .arg(i)
                    .arg(QString(30, QLatin1Char('a'))));
    };
    auto cut = [&path](qint64 size) {
        QFile f(path);
        if (!f.resize(size < 0 ? f.size() / 2 : size))
            throw std::runtime_error("cannot cut the file");
    };
    auto write = [&path](const QByteArray& bytes) {
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
            throw std::runtime_error("cannot write the file");
    };
    if (kind == QLatin1String("missing")) {
        return;
    } else if (kind == QLatin1String("empty")) {
        write({});
    } else if (kind == QLatin1String("random")) {
        QByteArray bytes(4096 * 3, '\0');
        quint32 x = 12345;
        for (char& b : bytes) {
            x = x * 1103515245u + 12345u;
            b = char(x >> 24);
        }
        write(bytes);
    } else if (kind == QLatin1String("wrongkey")) {
        good(QStringLiteral("tessiravolm209"), 0);
    } else if (kind == QLatin1String("notable")) {
        data::Connection c;
        c.createFile(path, key);
        c.executeNative(QStringLiteral("DROP TABLE trnTarget"));
    } else if (kind == QLatin1String("truncated")) {
        good(key, 400);
        cut(-1);
    } else if (kind == QLatin1String("cut100")) {
        good(key, 1);
        cut(100);
    } else if (kind == QLatin1String("firstpage")) {
        good(key, 1);
        cut(4096);
    } else if (kind == QLatin1String("plain")) {
        sqlite3* db = nullptr;
        sqlite3_open(QFile::encodeName(path).constData(), &db);
        const int rc =
            sqlite3_exec(db, "CREATE TABLE notes(x TEXT); INSERT INTO notes VALUES('hello')",
                         nullptr, nullptr, nullptr);
        sqlite3_close(db);
        if (rc != SQLITE_OK)
            throw std::runtime_error("cannot write the plain database");
    } else if (kind == QLatin1String("folder")) {
        QDir().mkdir(path);
    } else {
        throw std::runtime_error("unknown kind of bad file");
    }
}

QByteArray hash(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
}

} // namespace BadFiles
