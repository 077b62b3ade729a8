#pragma once

#include <QDate>

namespace data {

class Connection;

// Adds a first administrator (role "A") to a new database.
void AddAdministrator(Connection& db, const QString& name, const QString& login,
                      const QString& password);

// Fills a new database with a small office's data: an administrator, four
// sales persons, about twenty clients, services and segments, about a
// hundred enquiries with follow-ups from twelve months before today to two
// months after, and monthly targets for today's year. Reproducible.
void FillDemoData(Connection& db, const QDate& today = QDate::currentDate());

} // namespace data
