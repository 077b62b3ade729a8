#include "app/ModAdmin.h"

#include "data/DbError.h"
#include "data/Recordset.h"

#include <QCoreApplication>
#include <cmath>
#include <limits>

namespace modAdmin {

namespace {
QString& folderOverride()
{
    static QString folder;
    return folder;
}
} // namespace

QString ProgramFolder()
{
    if (!folderOverride().isEmpty())
        return folderOverride();
    return QCoreApplication::applicationDirPath();
}

void SetProgramFolder(const QString& folder)
{
    folderOverride() = folder;
}

QString ConnectionString()
{
    return QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=") + ProgramFolder() +
           QStringLiteral("/Korvane.MDB;Jet OLEDB:Database Password=") +
           data::Connection::databasePassword();
}

qint32 NextNumber(const QString& table, const QString& column)
{
    data::Recordset rs(QStringLiteral("SELECT MAX(") + column + QStringLiteral(") FROM ") + table,
                       DbConnection);
    const QVariant value = rs.eof() ? QVariant() : rs.field(0);
    rs.close();
    if (value.isNull())
        return 1;
    bool ok = false;
    double number = 0;
    switch (value.typeId()) {
    case QMetaType::LongLong:
        number = double(value.toLongLong());
        ok = true;
        break;
    case QMetaType::Double:
        number = std::nearbyint(value.toDouble()); // rounds half to even
        ok = std::isfinite(number);
        break;
    default:
        number = value.toString().trimmed().toDouble(&ok);
        number = std::nearbyint(number);
        break;
    }
    if (!ok || number < double(std::numeric_limits<qint32>::min()) ||
        number > double(std::numeric_limits<qint32>::max()))
        throw data::DbError(QStringLiteral("Type mismatch: the largest %1 of %2 is no whole number.")
                                .arg(column, table));
    if (number >= double(std::numeric_limits<qint32>::max()))
        throw data::DbError(QStringLiteral("Overflow: %1 of %2 has reached its largest value.")
                                .arg(column, table));
    return qint32(number) + 1;
}

} // namespace modAdmin
