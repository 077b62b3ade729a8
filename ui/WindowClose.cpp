#include "ui/WindowClose.h"

#include <QAbstractButton>
#include <QAction>
#include <QDialog>
#include <QKeyEvent>
#include <QPushButton>
#include <QShortcut>

namespace {

// Marks controls that have their filter already (NoDefaultButtons and
// PrepareWindow may run more than once on a window).
constexpr const char* IgnoreEscapeMark = "korvaneIgnoreEscape";
constexpr const char* FocusedEnterMark = "korvaneFocusedEnter";

bool IsEnter(const QKeyEvent* e)
{
    return e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter;
}

// Enter presses a focused button (autoDefault is off, so Qt would not).
class FocusedButtonEnter : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress) {
            auto* ke = static_cast<QKeyEvent*>(event);
            auto* button = qobject_cast<QPushButton*>(watched);
            if (button && IsEnter(ke) && !ke->isAutoRepeat() && button->hasFocus()) {
                if (button->isEnabled())
                    button->click();
                return true;
            }
        }
        return false;
    }
};

// A window without a cancel button ignores Esc (QDialog would reject,
// i.e. close, on it).
class IgnoreEscape : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject*, QEvent* event) override
    {
        return event->type() == QEvent::KeyPress &&
               static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape;
    }
};

void InstallIgnoreEscape(QDialog* window)
{
    if (window->property(IgnoreEscapeMark).toBool())
        return;
    window->setProperty(IgnoreEscapeMark, true);
    window->installEventFilter(new IgnoreEscape(window)); // owned by the window
}

// Esc presses the cancel button wherever the focus is in the window: a
// window shortcut comes before the focused control's own key handling.
void InstallCancelButton(QDialog* window, QAbstractButton* cancel)
{
    auto* shortcut = new QShortcut(QKeySequence(Qt::Key_Escape), window); // owned by the window
    shortcut->setContext(Qt::WindowShortcut);
    QObject::connect(shortcut, &QShortcut::activated, cancel, [cancel] {
        if (cancel->isEnabled())
            cancel->click();
    });
}

} // namespace

void NoDefaultButtons(QWidget* window)
{
    if (!window)
        return;
    for (QPushButton* button : window->findChildren<QPushButton*>()) {
        button->setAutoDefault(false);
        button->setDefault(false);
        if (button->property(FocusedEnterMark).toBool())
            continue;
        button->setProperty(FocusedEnterMark, true);
        button->installEventFilter(new FocusedButtonEnter(button)); // owned by the button
    }
}

void PrepareWindow(QDialog* window)
{
    if (!window)
        return;
    window->setAttribute(Qt::WA_DeleteOnClose);
    InstallIgnoreEscape(window);
    NoDefaultButtons(window);
}

void AttachWindowClose(QDialog* window, QAbstractButton* cmdClose)
{
    if (!window || !cmdClose)
        return;
    PrepareWindow(window);
    InstallCancelButton(window, cmdClose);
    QObject::connect(cmdClose, &QAbstractButton::clicked, window, [window] { window->close(); });
}

void AttachWindowClose(QDialog* window, QAction* mnuClose)
{
    if (!window || !mnuClose)
        return;
    PrepareWindow(window);
    QObject::connect(mnuClose, &QAction::triggered, window, [window] { window->close(); });
}
