#include "ui/Convert.h"

#include <cmath>
#include <limits>

namespace ui {
namespace {

double NumberOf(const QVariant& value)
{
    if (value.isNull() || !value.isValid())
        throw ConversionError(QStringLiteral("Invalid use of Null"));
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::UInt:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::Bool:
        return value.toDouble();
    default:
        break;
    }
    bool ok = false;
    const double d = value.toString().trimmed().toDouble(&ok);
    if (!ok)
        throw ConversionError(QStringLiteral("Type mismatch"));
    return d;
}

qint64 Rounded(const QVariant& value, qint64 low, qint64 high)
{
    const double d = std::nearbyint(NumberOf(value)); // default mode: half to even
    if (!std::isfinite(d) || d < double(low) || d > double(high))
        throw ConversionError(QStringLiteral("Overflow"));
    return qint64(d);
}

} // namespace

qint32 ToLong(const QVariant& value)
{
    if (value.typeId() == QMetaType::LongLong || value.typeId() == QMetaType::Int) {
        const qlonglong v = value.toLongLong();
        if (v < std::numeric_limits<qint32>::min() || v > std::numeric_limits<qint32>::max())
            throw ConversionError(QStringLiteral("Overflow"));
        return qint32(v);
    }
    return qint32(
        Rounded(value, std::numeric_limits<qint32>::min(), std::numeric_limits<qint32>::max()));
}

qint16 ToInteger(const QVariant& value)
{
    return qint16(
        Rounded(value, std::numeric_limits<qint16>::min(), std::numeric_limits<qint16>::max()));
}

} // namespace ui
