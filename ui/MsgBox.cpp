#include "ui/MsgBox.h"

namespace MsgBox {
namespace {

Handler& CurrentHandler()
{
    static Handler handler;
    return handler;
}

QMessageBox::StandardButton Show(QWidget* parent, Kind kind, const QString& text)
{
    if (const Handler& handler = CurrentHandler())
        return handler(kind, text);

    QMessageBox box(parent);
    box.setWindowTitle(Title);
    box.setText(text);
    switch (kind) {
    case Kind::Information:
        box.setIcon(QMessageBox::Information);
        box.setStandardButtons(QMessageBox::Ok);
        break;
    case Kind::Confirmation:
        box.setIcon(QMessageBox::Question);
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
        break;
    case Kind::Plain:
        box.setIcon(QMessageBox::NoIcon);
        box.setStandardButtons(QMessageBox::Ok);
        break;
    }
    return QMessageBox::StandardButton(box.exec());
}

} // namespace

void information(QWidget* parent, const QString& text)
{
    Show(parent, Kind::Information, text);
}

bool confirm(QWidget* parent, const QString& text)
{
    return Show(parent, Kind::Confirmation, text) == QMessageBox::Yes;
}

void plain(QWidget* parent, const QString& text)
{
    Show(parent, Kind::Plain, text);
}

void setTestHandler(Handler handler)
{
    CurrentHandler() = std::move(handler);
}

const Handler& testHandler()
{
    return CurrentHandler();
}

Recorder::Recorder(bool answerYes) : m_previous(CurrentHandler()), m_answerYes(answerYes)
{
    setTestHandler([this](Kind kind, const QString& text) {
        m_messages.append({kind, text});
        if (kind == Kind::Confirmation)
            return m_answerYes ? QMessageBox::Yes : QMessageBox::No;
        return QMessageBox::Ok;
    });
}

Recorder::~Recorder()
{
    setTestHandler(std::move(m_previous));
}

QStringList Recorder::texts() const
{
    QStringList result;
    for (const Message& m : m_messages)
        result.append(m.text);
    return result;
}

Message Recorder::last() const
{
    return m_messages.isEmpty() ? Message{Kind::Information, {}} : m_messages.constLast();
}

} // namespace MsgBox
