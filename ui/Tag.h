#pragma once

#include <QObject>
#include <QString>
#include <QVariant>

// Every control carries one free text, its tag: a record code behind a name,
// or a marker such as "EXIT". It is kept as the dynamic property "tag".
inline QString Tag(const QObject* control)
{
    return control ? control->property("tag").toString() : QString();
}

inline void SetTag(QObject* control, const QString& tag)
{
    if (control)
        control->setProperty("tag", tag);
}
