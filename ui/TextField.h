#pragma once

#include <QLineEdit>

// Input limit and password masking of a text field. QLineEdit keeps the
// limit for typed and pasted text alike; a password shows "*" for every
// character.
inline void SetMaxLength(QLineEdit* field, int maxLength)
{
    field->setMaxLength(maxLength);
}

inline void SetPasswordField(QLineEdit* field)
{
    field->setEchoMode(QLineEdit::Password);
    field->setStyleSheet(
        QStringLiteral("QLineEdit[echoMode=\"2\"] { lineedit-password-character: 42; }"));
}
