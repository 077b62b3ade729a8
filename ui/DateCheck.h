#pragma once

#include <QDate>
#include <QString>

// Masked date field test: true when the text is a calendar date written
// day first, "dd/mm/yyyy", with every position typed. The blank mask, a
// partly typed text and an impossible date are invalid, and so is a year
// before 100 (the database cannot hold it).
bool IsValidDate(const QString& maskedText);

// The date of a valid masked text; an invalid QDate otherwise.
QDate DateOf(const QString& maskedText);

// A date as the program writes it into a masked date field: "dd/mm/yyyy".
QString MaskedDateText(const QDate& date);
