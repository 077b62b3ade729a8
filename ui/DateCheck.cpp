#include "ui/DateCheck.h"

namespace {

int Digits(const QString& text, qsizetype from, qsizetype count)
{
    int value = 0;
    for (qsizetype i = from; i < from + count; ++i) {
        const char16_t c = text.at(i).unicode();
        if (c < u'0' || c > u'9')
            return -1;
        value = value * 10 + (c - u'0');
    }
    return value;
}

} // namespace

QDate DateOf(const QString& maskedText)
{
    if (maskedText.size() != 10 || maskedText.at(2) != u'/' || maskedText.at(5) != u'/')
        return {};
    const int day = Digits(maskedText, 0, 2);
    const int month = Digits(maskedText, 3, 2);
    const int year = Digits(maskedText, 6, 4);
    if (day < 0 || month < 0 || year < 100)
        return {};
    return QDate(year, month, day); // invalid when the day does not exist
}

bool IsValidDate(const QString& maskedText)
{
    return DateOf(maskedText).isValid();
}

QString MaskedDateText(const QDate& date)
{
    return date.isValid() ? date.toString(QStringLiteral("dd/MM/yyyy")) : QString();
}
