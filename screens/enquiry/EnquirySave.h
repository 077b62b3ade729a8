#pragma once

#include <QDate>
#include <QString>

// One enquiry as the register writes it. Texts are taken as they stand in
// the window; SaveEnquiryRecord trims them and reduces the two numbers to
// their numeric value.
struct EnquiryInput {
    QDate enquiryDate; // date of origin
    QString type;
    QString service;
    QString segment;
    qint32 exeCode = 0;
    qint32 cltCode = 0;
    QString requirement;
    QString action;
    QDate followDate; // first follow-up
    QString percentage;
    QString amount;
    QString comments;
};

// A date as the register writes it into SQL: "#05/Mar/2007#" (four-digit
// year, English month abbreviation).
QString EnquiryDateLiteral(const QDate& date);

// Writes the enquiry row of trnEnquiryRegister and its first status record
// (Pending, key F) in one transaction, with the code taken inside it, and
// returns that code. Either both rows are stored or neither: any failure
// rolls back and is thrown as data::DbError.
qint32 SaveEnquiryRecord(const EnquiryInput& in);
