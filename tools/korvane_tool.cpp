// korvane-tool: creates Korvane database files and runs one statement
// against them. The program itself never creates a database.
#include "data/Connection.h"
#include "data/DbError.h"
#include "data/DemoData.h"
#include "data/Recordset.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <cstdio>
#include <sqlite3.h>

namespace {

int usage()
{
    std::fputs("Usage:\n"
               "  korvane-tool create NAME LOGIN PASSWORD [FILE]   new database with one "
               "administrator\n"
               "  korvane-tool demo [FILE]                         new database with demo data\n"
               "  korvane-tool sql STATEMENT [FILE]                run one statement, print "
               "rows tab-separated\n"
               "FILE defaults to Korvane.MDB beside the program.\n",
               stderr);
    return 2;
}

QString defaultFile()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/Korvane.MDB");
}

QString cell(const QString& s)
{
    QString out = s;
    out.replace(QLatin1Char('\t'), QLatin1Char(' '));
    out.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return out;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.isEmpty())
        return usage();
    const QString command = args[0];
    const QString key = data::Connection::databasePassword();
    try {
        data::Connection db;
        if (command == QLatin1String("create")) {
            if (args.size() < 4 || args.size() > 5)
                return usage();
            const QString name = args[1].trimmed(), login = args[2].trimmed(),
                          password = args[3].trimmed();
            if (name.isEmpty() || name.size() > 30 || login.isEmpty() || login.size() > 10 ||
                password.isEmpty() || password.size() > 8) {
                std::fputs("korvane-tool: the name takes 1 to 30 characters, the login 1 to 10, "
                           "the password 1 to 8.\n",
                           stderr);
                return 2;
            }
            const QString file = args.size() == 5 ? args[4] : defaultFile();
            db.createFile(file, key);
            try {
                data::AddAdministrator(db, name, login, password);
            } catch (...) {
                db.close();
                QFile::remove(file);
                throw;
            }
            std::printf("Created %s with the administrator %s.\n",
                        qPrintable(QFileInfo(file).absoluteFilePath()), qPrintable(login));
            return 0;
        }
        if (command == QLatin1String("demo")) {
            if (args.size() > 2)
                return usage();
            const QString file = args.size() == 2 ? args[1] : defaultFile();
            db.createFile(file, key);
            try {
                data::FillDemoData(db);
            } catch (...) {
                db.close();
                QFile::remove(file);
                throw;
            }
            std::printf("Created %s with demo data.\n",
                        qPrintable(QFileInfo(file).absoluteFilePath()));
            return 0;
        }
        if (command == QLatin1String("sql")) {
            if (args.size() < 2 || args.size() > 3)
                return usage();
            db.openFile(args.size() == 3 ? args[2] : defaultFile(), key);
            data::Recordset rs(args[1], db);
            if (rs.fieldCount() > 0) {
                QStringList heading;
                for (int i = 0; i < rs.fieldCount(); ++i)
                    heading << cell(rs.fieldName(i));
                std::printf("%s\n", heading.join(QLatin1Char('\t')).toUtf8().constData());
                for (; !rs.eof(); rs.moveNext()) {
                    QStringList row;
                    for (int i = 0; i < rs.fieldCount(); ++i)
                        row << cell(rs.text(i));
                    std::printf("%s\n", row.join(QLatin1Char('\t')).toUtf8().constData());
                }
            } else {
                std::printf("%d row(s) affected.\n", sqlite3_changes(db.handle()));
            }
            return 0;
        }
    } catch (const data::DbError& e) {
        std::fprintf(stderr, "korvane-tool: %s\n", e.description().toUtf8().constData());
        return 1;
    }
    return usage();
}
