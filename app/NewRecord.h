#pragma once

#include <QString>
#include <functional>

namespace modAdmin {

// Stores a new record under the next free code of table.column. Inside one
// write transaction (taken at once, so that no second program can take the
// same code before the insert) the code is made with NextNumber and handed
// to write, which executes the record's statements; then the transaction
// is committed. Should a statement still meet that code as a duplicate key,
// everything is rolled back and done again with a fresh code (at most
// three attempts in all); any other failure is rolled back and thrown as a
// data::DbError. Returns the code stored.
qint32 SaveWithNextNumber(const QString& table, const QString& column,
                          const std::function<void(qint32 code)>& write);

} // namespace modAdmin
