#pragma once

#include <QString>

// A client as typed into the client window.
struct ClientInput {
    QString name;
    QString phone;
    QString mobile;
    QString address;
    QString city;
};

// Inserts a new client in a transaction of its own, with the code taken
// inside it, and returns the code. Name, address and city are trimmed;
// phone and mobile are stored as the decimal text of their numeric value.
// A failure rolls back and is thrown as data::DbError.
qint32 InsertClientRecord(const ClientInput& in);

// Rewrites the client with that code; every text trimmed, phone and mobile
// as typed. Throws data::DbError, also when no client has that code.
void UpdateClientRecord(qint32 code, const ClientInput& in);

// True when a client of that name (trimmed, any letter case) exists.
bool ClientNameExists(const QString& name);
