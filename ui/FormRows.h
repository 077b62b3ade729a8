#pragma once

#include <QLabel>
#include <QLineEdit>
#include <QString>

// The rows of a window's entry form: a label on the left, its field on the
// right, one row under the other at a fixed step.
struct FormRows {
    int labelX = 14;
    int labelWidth = 100;
    int fieldX = 120;
    int fieldWidth = 250;
    int firstY = 16;
    int step = 32;
    int rowHeight = 24;

    int rowY(int row) const { return firstY + row * step; }

    QLabel* label(QWidget* parent, const QString& name, const QString& caption, int row,
                  QWidget* buddy = nullptr) const
    {
        auto* label = new QLabel(caption, parent);
        label->setObjectName(name);
        label->setGeometry(labelX, rowY(row), labelWidth, rowHeight);
        label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        if (buddy)
            label->setBuddy(buddy);
        return label;
    }

    // Puts a control in the field column of a row; width -1 is the form's
    // field width.
    template <class W> W* place(W* widget, const QString& name, int row, int width = -1) const
    {
        widget->setObjectName(name);
        widget->setGeometry(fieldX, rowY(row), width < 0 ? fieldWidth : width, rowHeight);
        return widget;
    }

    // A text field taking at most maxLength characters (typed or pasted).
    QLineEdit* field(QWidget* parent, const QString& name, int row, int maxLength) const
    {
        auto* field = place(new QLineEdit(parent), name, row);
        field->setMaxLength(maxLength);
        return field;
    }
};
