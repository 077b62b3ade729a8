#pragma once

#include <QString>
#include <QVariant>
#include <stdexcept>

namespace ui {

// A value that could not be converted to the number a handler needs.
// Handlers with an error report show description() like a database error.
class ConversionError : public std::runtime_error {
public:
    explicit ConversionError(const QString& description)
        : std::runtime_error(description.toStdString()), m_description(description)
    {
    }
    const QString& description() const { return m_description; }

private:
    QString m_description;
};

// A field value or text as a 32-bit / 16-bit signed integer: whole numbers
// as they are, fractions rounded half to even, text read as a number after
// trimming. NULL, text that is no number and values out of range throw
// ConversionError ("Invalid use of Null", "Type mismatch", "Overflow").
qint32 ToLong(const QVariant& value);
qint16 ToInteger(const QVariant& value);

} // namespace ui
