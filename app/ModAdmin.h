#pragma once

#include "data/Connection.h"

#include <QPointer>
#include <functional>
#include <QString>

class QWidget;
class ListBox;
class ComboBox;

// Start-up, the session state the windows share, and the shared procedures.
namespace modAdmin {

// The one database connection, opened by Main and kept to the end.
inline data::Connection DbConnection;
// exeCode and exeRole of the logged-in user; 0 and "" before login.
inline qint16 CurrentExeCode = 0;
inline QString CurrentRole;
// Hand-over slots between the enquiry register and the windows it opens.
inline bool FromEnquiryRegister = false;
inline QPointer<ListBox> EnquiryClientList;

// The folder that holds the program (without a trailing separator). Tests
// may point it elsewhere.
QString ProgramFolder();
void SetProgramFolder(const QString& folder);

// "Provider=...;Data Source=<folder>/Korvane.MDB;Jet OLEDB:Database Password=..."
QString ConnectionString();

// Next free code of a table: the largest code plus one, 1 for an empty
// table. A value that is no whole number, or the largest 32-bit value,
// raises a data::DbError.
qint32 NextNumber(const QString& table, const QString& column);

// Resets the input controls of a window by kind: text fields emptied,
// grids left with the heading and one empty row, check boxes cleared,
// masked date boxes blank. Other controls are untouched.
void ClearControls(QWidget* window);

// Replaces the combo's items with the rows of a query: text from column 1,
// item data from column 0 as a 32-bit integer.
void FillCombo(ComboBox* combo, const QString& sql);

// Ends the program at once (login Exit, main window exit). Tests replace
// the ending with a handler of their own.
void EndProgram(int exitCode = 0);
void SetEndHandler(std::function<void(int)> handler);

// The entry point: opens the database, shows the splash and the login
// window. Returns false (after reporting) when the database cannot be opened.
bool Main();

} // namespace modAdmin
