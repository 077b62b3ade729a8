#include "ui/MaskEdBox.h"

#include "ui/KeyFilters.h"

#include <QKeyEvent>

MaskEdBox::MaskEdBox(QWidget* parent) : QLineEdit(parent)
{
    setInputMask(QStringLiteral("99/99/9999;_"));
}

void MaskEdBox::setText(const QString& text)
{
    // Prompt characters in the given text stay untyped positions.
    QLineEdit::setText(text);
}

void MaskEdBox::keyPressEvent(QKeyEvent* event)
{
    int code = KeyAscii(event);
    if (code != KeyCode::None) {
        emit keyPress(code);
        if (code == KeyCode::None) {
            event->accept();
            return;
        }
    }
    QLineEdit::keyPressEvent(event);
}
