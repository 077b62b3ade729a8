#include "ui/KeyFilters.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QWidget>

int KeyAscii(const QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        return KeyCode::Enter;
    const QString text = event->text();
    return text.isEmpty() ? KeyCode::None : int(text.at(0).unicode());
}

int FilterKey(KeyFilter filter, int keyAscii)
{
    switch (filter) {
    case KeyFilter::None:
        return keyAscii;
    case KeyFilter::Apostrophe:
        return keyAscii == KeyCode::Apostrophe ? 0 : keyAscii;
    case KeyFilter::Numeric:
        if (keyAscii == KeyCode::Apostrophe || keyAscii == KeyCode::Comma)
            return 0;
        if (keyAscii >= 65 && keyAscii <= 122)
            return 0;
        return keyAscii;
    }
    return keyAscii;
}

QString ProperCase(const QString& text)
{
    QString result = text;
    bool wordStart = true;
    for (QChar& ch : result) {
        const char16_t c = ch.unicode();
        if (c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == u'\0') {
            wordStart = true;
            continue;
        }
        ch = wordStart ? ch.toUpper() : ch.toLower();
        wordStart = false;
    }
    return result;
}

void ApplyProperCase(QLineEdit* field)
{
    if (!field)
        return;
    const QString proper = ProperCase(field->text());
    if (proper != field->text())
        field->setText(proper);
}

void MoveFocusTo(QWidget* target)
{
    if (target && target->isVisible() && target->isEnabled() &&
        target->focusPolicy() != Qt::NoFocus)
        target->setFocus(Qt::OtherFocusReason);
}

KeyHandler::KeyHandler(QWidget* control, KeyHandling handling)
    : QObject(control), m_control(control), m_handling(std::move(handling))
{
    control->installEventFilter(this);
}

bool KeyHandler::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != m_control || event->type() != QEvent::KeyPress)
        return false;
    auto* ke = static_cast<QKeyEvent*>(event);
    const int code = KeyAscii(ke);
    if (code == KeyCode::None)
        return false; // not a character key: no key-press handling

    if (m_handling.before)
        m_handling.before();

    if (code == KeyCode::Enter) {
        enter();
        return true;
    }

    // The filter, per character (an input method may deliver several).
    const QString typed = ke->text();
    QString kept;
    kept.reserve(typed.size());
    for (const QChar ch : typed)
        if (FilterKey(m_handling.filter, ch.unicode()) != 0)
            kept.append(ch);
    if (kept.size() == typed.size())
        return false; // nothing discarded: the control handles the key
    if (!kept.isEmpty())
        if (auto* field = qobject_cast<QLineEdit*>(m_control); field && !field->isReadOnly())
            field->insert(kept);
    return true;
}

void KeyHandler::enter()
{
    // Hold what is needed: onEnter may close and delete the window.
    const QPointer<QWidget> next = m_handling.next;
    const std::function<void()> onEnter = m_handling.onEnter;
    if (m_handling.properCase)
        ApplyProperCase(qobject_cast<QLineEdit*>(m_control));
    if (onEnter)
        onEnter();
    if (next)
        MoveFocusTo(next);
}

KeyHandler* AttachKeyHandling(QLineEdit* field, KeyFilter filter, QWidget* next, bool properCase,
                              std::function<void()> before)
{
    KeyHandling h;
    h.filter = filter;
    h.next = next;
    h.properCase = properCase;
    h.before = std::move(before);
    return AttachKeyHandling(static_cast<QWidget*>(field), std::move(h));
}

KeyHandler* AttachKeyHandling(QWidget* control, KeyHandling handling)
{
    return control ? new KeyHandler(control, std::move(handling)) : nullptr; // owned by control
}

KeyHandler* AttachEnterAdvance(QWidget* control, QWidget* next, std::function<void()> onEnter)
{
    KeyHandling h;
    h.next = next;
    h.onEnter = std::move(onEnter);
    return AttachKeyHandling(control, std::move(h));
}
