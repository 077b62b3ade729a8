#pragma once

#include <QDialog>
#include <QList>
#include <QPointer>
#include <functional>

// The one way a window is shown modally: the caller waits until the window
// is closed and gets its result. Under a Modal::Recorder (tests) the window
// is shown without blocking instead, recorded, handed to the recorder's
// handler, and ShowModal returns at once.
int ShowModal(QDialog* dialog);

namespace Modal {

using Handler = std::function<void(QDialog*)>;

class Recorder {
public:
    // onShown is called with every window as it is shown; it may drive the
    // window and close it before ShowModal returns.
    explicit Recorder(Handler onShown = {});
    ~Recorder();
    Recorder(const Recorder&) = delete;
    Recorder& operator=(const Recorder&) = delete;

    void setHandler(Handler onShown) { m_onShown = std::move(onShown); }
    // Every window shown, oldest first (null where it was deleted since).
    const QList<QPointer<QDialog>>& shown() const { return m_shown; }
    QDialog* last() const { return m_shown.isEmpty() ? nullptr : m_shown.constLast().data(); }
    template <class T> T* last() const { return qobject_cast<T*>(last()); }

private:
    friend int ::ShowModal(QDialog*);
    void record(QDialog* dialog);

    Recorder* m_previous;
    Handler m_onShown;
    QList<QPointer<QDialog>> m_shown;
};

} // namespace Modal

// The window most recently shown through ShowModal under a recorder.
QDialog* LastShownModal();
