#pragma once

#include <QCursor>
#include <QGuiApplication>

// The busy mouse pointer of the whole application while the object lives;
// back to normal when it goes, also when an error leaves the scope, so that
// an error report is shown with the normal pointer.
class BusyCursor {
public:
    BusyCursor() { QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor)); }
    ~BusyCursor() { QGuiApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};
