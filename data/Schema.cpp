#include "data/Schema.h"

namespace data::Schema {

namespace {

// A text column with its width; the named constraint gives a readable
// error when a longer text reaches the database.
QString text(const char* column, int width = 0)
{
    QString def = QStringLiteral("%1 TEXT COLLATE UNOCASE DEFAULT ''").arg(QLatin1String(column));
    if (width > 0)
        def += QStringLiteral(" CONSTRAINT \"%1 is longer than %2 characters\" CHECK (length(%1) <= %2)")
                   .arg(QLatin1String(column))
                   .arg(width);
    return def;
}

QString table(const char* name, const QStringList& columns)
{
    return QStringLiteral("CREATE TABLE %1 (\n  %2\n)").arg(QLatin1String(name), columns.join(QStringLiteral(",\n  ")));
}

} // namespace

const QStringList& statements()
{
    static const QStringList all = [] {
        QStringList s;
        s << table("mstExecutive",
                   {QStringLiteral("exeCode INTEGER PRIMARY KEY NOT NULL CONSTRAINT \"exeCode must "
                                   "be between 1 and 32767\" CHECK (exeCode BETWEEN 1 AND 32767)"),
                    text("exeName", 30), text("exePost", 25), text("exeUID", 10),
                    text("exePassword", 8), text("exeDivision", 20), text("exeRole", 1)});
        s << table("mstClient", {QStringLiteral("cltCode INTEGER PRIMARY KEY NOT NULL"),
                                 text("cltName", 30), text("cltPhone", 12), text("cltMobile", 12),
                                 text("cltAddress", 30), text("cltCity", 30)});
        // No is numbered automatically; srNo is the code the program makes.
        s << table("mstService", {QStringLiteral("No INTEGER PRIMARY KEY"),
                                  QStringLiteral("srNo INTEGER NOT NULL UNIQUE"),
                                  text("Name", 20), text("Type", 2)});
        s << table("trnEnquiryRegister",
                   {QStringLiteral("enqCode INTEGER PRIMARY KEY NOT NULL"),
                    QStringLiteral("enqDate DATE"), text("enqType"), text("enqService", 20),
                    text("enqSegment", 20), QStringLiteral("enqExeCode INTEGER"),
                    QStringLiteral("enqCltCode INTEGER"), text("enqRequirment", 75),
                    text("enqAction", 75), QStringLiteral("enqFollowdate DATE"),
                    QStringLiteral("enqPercentage NUMERIC"), text("enqComments", 100),
                    QStringLiteral("enqAmount NUMERIC")});
        s << table("trnEnquiryStatus",
                   {QStringLiteral("enqCode INTEGER NOT NULL"), QStringLiteral("enqFollDate DATE"),
                    text("enqAction", 75), text("enqStatus", 7), text("enqKey", 1),
                    text("enqReason"), QStringLiteral("enqPercentage NUMERIC"),
                    QStringLiteral("enqAmount NUMERIC")});
        s << table("trnTarget", {QStringLiteral("trNo INTEGER PRIMARY KEY NOT NULL"),
                                 QStringLiteral("trMonth INTEGER"), QStringLiteral("exeCode INTEGER"),
                                 QStringLiteral("trTarget NUMERIC"), QStringLiteral("trYear INTEGER")});
        s << table("rptEnquiryStatus",
                   {QStringLiteral("No INTEGER"), QStringLiteral("Origin DATE"), text("Service"),
                    text("Client"), text("Address"), text("City"), text("Requirment"),
                    text("Phone"), QStringLiteral("Follow DATE"), text("Status"), text("Action")});
        s << table("rptGraph", {text("Name"), QStringLiteral("exeCode INTEGER"),
                                QStringLiteral("Pending NUMERIC"), QStringLiteral("Closed NUMERIC"),
                                QStringLiteral("Dropped NUMERIC"), text("Month")});
        s << table("rptSalesPipeLine", {QStringLiteral("No INTEGER"), QStringLiteral("Month INTEGER"),
                                        text("Range"), QStringLiteral("Total NUMERIC")});
        s << table("rptTarget", {QStringLiteral("Month INTEGER"), QStringLiteral("ExeCode INTEGER"),
                                 QStringLiteral("Traget NUMERIC"), QStringLiteral("Actuals NUMERIC")});
        // Indexes for the look-ups, joins and filters of the windows.
        s << QStringLiteral("CREATE INDEX ixExecutiveUID ON mstExecutive (exeUID)");
        s << QStringLiteral("CREATE INDEX ixExecutiveName ON mstExecutive (exeName)");
        s << QStringLiteral("CREATE INDEX ixClientName ON mstClient (cltName)");
        s << QStringLiteral("CREATE INDEX ixServiceName ON mstService (Type, Name)");
        s << QStringLiteral("CREATE INDEX ixRegisterExeDate ON trnEnquiryRegister (enqExeCode, enqDate)");
        s << QStringLiteral("CREATE INDEX ixRegisterDate ON trnEnquiryRegister (enqDate)");
        s << QStringLiteral("CREATE INDEX ixRegisterClient ON trnEnquiryRegister (enqCltCode)");
        s << QStringLiteral("CREATE INDEX ixRegisterType ON trnEnquiryRegister (enqType)");
        s << QStringLiteral("CREATE INDEX ixStatusCode ON trnEnquiryStatus (enqCode)");
        // The open enquiries by their next follow-up date.
        s << QStringLiteral("CREATE INDEX ixStatusPending ON trnEnquiryStatus (enqFollDate) "
                            "WHERE enqKey='F' AND enqStatus='Pending'");
        s << QStringLiteral("CREATE INDEX ixTargetExe ON trnTarget (exeCode, trYear, trMonth)");
        return s;
    }();
    return all;
}

} // namespace data::Schema
