#pragma once

#include <QString>
#include <stdexcept>

namespace data {

// The one error type of the database layer. Windows show description().
class DbError : public std::runtime_error {
public:
    explicit DbError(const QString& description, int code = 0)
        : std::runtime_error(description.toStdString()), m_description(description), m_code(code)
    {
    }
    const QString& description() const { return m_description; }
    // The engine's result code where the error came from the engine, else 0.
    int code() const { return m_code; }
    // A primary key or unique value that exists already (the engine's
    // extended codes for a PRIMARY KEY and a UNIQUE constraint).
    bool isDuplicateKey() const { return m_code == 1555 || m_code == 2067; }

private:
    QString m_description;
    int m_code;
};

} // namespace data
