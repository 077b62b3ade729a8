#include "screens/enquiry/FollowUpSave.h"

#include "app/ModAdmin.h"
#include "data/DbError.h"
#include "data/SqlText.h"
#include "screens/enquiry/EnquirySave.h"

void SaveFollowUp(const FollowUpInput& in)
{
    using data::NumericText;
    using data::Quote;

    const QString code = NumericText(in.enquiryCode);
    // Without an enquiry the insert would add a current record to no enquiry.
    if (data::NumericValue(in.enquiryCode) <= 0)
        throw data::DbError(QStringLiteral("No enquiry is loaded to follow up."));
    if (!in.nextDate.isValid())
        throw data::DbError(QStringLiteral("The follow-up has no valid date."));

    const QString insert =
        QStringLiteral("INSERT INTO trnEnquiryStatus(enqCode,enqFollDate,enqStatus,enqReason,") +
        QStringLiteral("enqKey,enqPercentage,enqAmount)VALUES(") + code + QLatin1Char(',') +
        EnquiryDateLiteral(in.nextDate) + QLatin1Char(',') + Quote(in.status) + QLatin1Char(',') +
        Quote(in.reason.trimmed()) + QStringLiteral(",'F',") + NumericText(in.percentage) +
        QLatin1Char(',') + NumericText(in.amount) + QLatin1Char(')');

    data::Transaction tx(modAdmin::DbConnection);
    modAdmin::DbConnection.execute(
        QStringLiteral("UPDATE trnEnquiryStatus SET enqKey='P' WHERE enqCode=") + code);
    modAdmin::DbConnection.execute(insert);
    tx.commit();
}
