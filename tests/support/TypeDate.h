#pragma once

#include "ui/MaskEdBox.h"

#include <QtTest>

// Types a date into a masked date box as a user would: the box emptied,
// then the digits from its first position ("15032031" for 15/03/2031).
inline void TypeDate(MaskEdBox* field, const QString& digits)
{
    field->setFocus();
    field->setCursorPosition(0);
    field->selectAll();
    QTest::keyClick(field, Qt::Key_Delete);
    field->setCursorPosition(0);
    QTest::keyClicks(field, digits);
}
