#include "screens/enquiry/EnquirySave.h"

#include "app/ModAdmin.h"
#include "app/NewRecord.h"
#include "data/DbError.h"
#include "data/SqlText.h"

#include <QLocale>

QString EnquiryDateLiteral(const QDate& date)
{
    return QLatin1Char('#') + QLocale::c().toString(date, QStringLiteral("dd/MMM/yyyy")) +
           QLatin1Char('#');
}

qint32 SaveEnquiryRecord(const EnquiryInput& in)
{
    using data::NumericText;
    using data::Quote;

    if (!in.enquiryDate.isValid() || !in.followDate.isValid())
        throw data::DbError(QStringLiteral("The enquiry has no valid date."));

    const QString percentage = NumericText(in.percentage);
    const QString amount = NumericText(in.amount);
    const QString action = Quote(in.action.trimmed());
    const QString comments = Quote(in.comments.trimmed());
    const QString followDate = EnquiryDateLiteral(in.followDate);

    // The code is taken under the write lock of the two inserts, so that a
    // second program cannot take it too (see SaveWithNextNumber).
    return modAdmin::SaveWithNextNumber(
        QStringLiteral("trnEnquiryRegister"), QStringLiteral("enqCode"), [&](qint32 code) {
            const QString codeText = QString::number(code);
            modAdmin::DbConnection.execute(
                QStringLiteral(
                    "INSERT INTO trnEnquiryRegister(enqCode,enqDate,enqType,enqService,") +
                QStringLiteral(
                    "enqSegment,enqExeCode,enqCltCode,enqRequirment,enqAction,enqFollowdate,") +
                QStringLiteral("enqPercentage,enqComments,enqAmount)VALUES(") + codeText +
                QLatin1Char(',') + EnquiryDateLiteral(in.enquiryDate) + QLatin1Char(',') +
                Quote(in.type.trimmed()) + QLatin1Char(',') + Quote(in.service) + QLatin1Char(',') +
                Quote(in.segment) + QLatin1Char(',') + QString::number(in.exeCode) +
                QLatin1Char(',') + QString::number(in.cltCode) + QLatin1Char(',') +
                Quote(in.requirement.trimmed()) + QLatin1Char(',') + action + QLatin1Char(',') +
                followDate + QLatin1Char(',') + percentage + QLatin1Char(',') + comments +
                QLatin1Char(',') + amount + QLatin1Char(')'));

            modAdmin::DbConnection.execute(
                QStringLiteral(
                    "INSERT INTO trnEnquiryStatus(enqCode,enqFollDate,enqAction,enqStatus,"
                    "enqKey,enqReason,enqPercentage,enqAmount)VALUES(") +
                codeText + QLatin1Char(',') + followDate + QLatin1Char(',') + action +
                QStringLiteral(",'Pending','F',") + comments + QLatin1Char(',') + percentage +
                QLatin1Char(',') + amount + QLatin1Char(')'));
        });
}
