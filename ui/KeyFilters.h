#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>

class QKeyEvent;
class QLineEdit;
class QWidget;

// Key codes as the key handlers see them: the code of the typed character
// (upper and lower case distinct), 13 for Enter; 0 means "no character" or,
// set by a handler, "discard the key".
namespace KeyCode {
constexpr int None = 0;
constexpr int Enter = 13;
constexpr int Apostrophe = 39;
constexpr int Comma = 44;
constexpr int Down = 40; // key-down code of the Down-arrow key
} // namespace KeyCode

// The key-press code of a key event: 13 for Return/Enter, else the code of
// the event's first character, 0 for keys that type nothing (arrows, Shift).
int KeyAscii(const QKeyEvent* event);

enum class KeyFilter {
    None,
    Apostrophe, // drops 39
    Numeric     // drops 39, 44 and 65..122
};

// The code after the filter: 0 when the filter discards the key. Enter is
// never discarded.
int FilterKey(KeyFilter filter, int keyAscii);

// First letter of every word upper case, every other letter lower case;
// words are separated by blanks, tabs, CR, LF and NUL.
QString ProperCase(const QString& text);
// Replaces the field's text by its proper case, only if that differs (so
// that an unchanged text is no change of the field).
void ApplyProperCase(QLineEdit* field);

// Gives target the focus when it can take it (shown, enabled, focusable);
// otherwise the focus stays where it is. A button is only focused.
void MoveFocusTo(QWidget* target);

// What a control does with its key presses, in this order: before (every
// character key), the filter, and on Enter: proper case, onEnter, then the
// focus move to next.
struct KeyHandling {
    KeyFilter filter = KeyFilter::None;
    bool properCase = false; // text fields only
    QPointer<QWidget> next;
    std::function<void()> onEnter;
    std::function<void()> before;
};

// Event filter doing the above for one control; owned by that control.
// Discarded characters never reach the control; Enter is consumed after it
// was handled. Pasted text is not filtered.
class KeyHandler : public QObject {
    Q_OBJECT
public:
    KeyHandler(QWidget* control, KeyHandling handling);
    const KeyHandling& handling() const { return m_handling; }
    void setHandling(KeyHandling handling) { m_handling = std::move(handling); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void enter();

    QWidget* m_control;
    KeyHandling m_handling;
};

// Text field: filter, Enter advance to next (with proper case if asked),
// and a side effect before every key.
KeyHandler* AttachKeyHandling(QLineEdit* field, KeyFilter filter, QWidget* next,
                              bool properCase = false, std::function<void()> before = {});
// Any control (text field, combo box, list box, masked date box).
KeyHandler* AttachKeyHandling(QWidget* control, KeyHandling handling);
// Enter advance for a combo box, list box or masked date box; onEnter runs
// before the focus moves.
KeyHandler* AttachEnterAdvance(QWidget* control, QWidget* next, std::function<void()> onEnter = {});
