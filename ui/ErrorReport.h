#pragma once

#include "data/DbError.h"
#include "ui/Convert.h"
#include "ui/MsgBox.h"

#include <exception>
#include <utility>

// The error report of a handler: runs body; a database error, a failed
// conversion or any other failure stops it and its description is shown as
// an information message. Nothing done before the failure is undone.
// Returns true when body ran to its end.
template <class F> bool ErrorReport(QWidget* parent, F&& body)
{
    try {
        std::forward<F>(body)();
        return true;
    } catch (const data::DbError& e) {
        MsgBox::information(parent, e.description());
    } catch (const ui::ConversionError& e) {
        MsgBox::information(parent, e.description());
    } catch (const std::exception& e) {
        MsgBox::information(parent, QString::fromLocal8Bit(e.what()));
    }
    return false;
}
