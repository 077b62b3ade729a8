#include "screens/masters/ClientSave.h"

#include "app/ModAdmin.h"
#include "app/NewRecord.h"
#include "data/DbError.h"
#include "data/Recordset.h"
#include "data/SqlText.h"

qint32 InsertClientRecord(const ClientInput& in)
{
    using data::Quote;
    return modAdmin::SaveWithNextNumber(
        QStringLiteral("mstClient"), QStringLiteral("cltCode"), [&](qint32 code) {
            // Checked again under the write lock: another program may have
            // stored the name since the window checked it.
            if (ClientNameExists(in.name))
                throw data::DbError(QStringLiteral("Name already exists"));
            modAdmin::DbConnection.execute(
                QStringLiteral(
                    "INSERT INTO mstClient(cltCode,cltName,cltPhone,cltMobile,cltAddress,cltCity)"
                    "VALUES(") +
                QString::number(code) + QLatin1Char(',') + Quote(in.name.trimmed()) +
                QLatin1Char(',') + Quote(data::NumericText(in.phone)) + QLatin1Char(',') +
                Quote(data::NumericText(in.mobile)) + QLatin1Char(',') +
                Quote(in.address.trimmed()) + QLatin1Char(',') + Quote(in.city.trimmed()) +
                QLatin1Char(')'));
        });
}

void UpdateClientRecord(qint32 code, const ClientInput& in)
{
    using data::Quote;
    const int rows = modAdmin::DbConnection.execute(
        QStringLiteral("UPDATE mstClient SET cltName=") + Quote(in.name.trimmed()) +
        QStringLiteral(",cltAddress=") + Quote(in.address.trimmed()) + QStringLiteral(",cltCity=") +
        Quote(in.city.trimmed()) + QStringLiteral(",cltPhone =") + Quote(in.phone.trimmed()) +
        QStringLiteral(",cltMobile=") + Quote(in.mobile.trimmed()) +
        QStringLiteral(" WHERE cltCode=") + QString::number(code));
    if (rows == 0)
        throw data::DbError(QStringLiteral("Client %1 does not exist.").arg(code));
}

bool ClientNameExists(const QString& name)
{
    // Equality, which ignores letter case like LIKE does, but takes * and ?
    // in a name as themselves.
    data::Recordset rs(QStringLiteral("SELECT cltCode,cltName FROM mstClient WHERE cltName=") +
                           data::Quote(name.trimmed()),
                       modAdmin::DbConnection);
    return !rs.eof();
}
