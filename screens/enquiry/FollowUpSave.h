#pragma once

#include <QDate>
#include <QString>

// One follow-up of an enquiry as the follow-up window takes it: texts as
// they stand in the window; SaveFollowUp trims the reason and reduces the
// code, percentage and amount to their numeric values.
struct FollowUpInput {
    QString enquiryCode; // the enquiry's code as text (the tag of the window's grid)
    QDate nextDate;      // date of the next follow-up
    QString status;      // "Pending", "Closed" or "Dropped"
    QString reason;
    QString percentage;
    QString amount;
};

// Marks every status record of the enquiry past (key P) and adds the new
// current record (key F), in one transaction: either both take effect or
// neither, so the enquiry never loses its current record. Any failure rolls
// back and is thrown as data::DbError.
void SaveFollowUp(const FollowUpInput& in);
