#pragma once

// The window operations of the benchmark: the real windows, built and
// driven headless on the program's connection, timed from the user's action
// to the window being updated (pending paint events included). A window
// that is not part of the build yet is reported as missing.

#include "app/ModAdmin.h"
#include "bench/RawSql.h"
#include "bench/Timing.h"
#include "data/Recordset.h"
#include "data/SqlDialect.h"

#include <QApplication>
#include <QDate>
#include <QDialog>
#include <QKeyEvent>
#include <QPointer>
#include <QTemporaryDir>

#if __has_include("ui/Modal.h") && __has_include("ui/MsgBox.h")
#include "ui/Modal.h"
#include "ui/MsgBox.h"
#define KORVANE_BENCH_HAS_UI 1
#else
#define KORVANE_BENCH_HAS_UI 0
#endif

namespace bench {

class Harness;

namespace windows {

// Lets queued work (paint requests, deferred deletes) run.
inline void Settle()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QApplication::processEvents();
}

// A window as the program opens it: built, mode set by the caller, shown
// (not modally: the benchmark drives it), deleted on close.
// Times a user's action on a window: the work of its handlers, then the
// repaint that shows the result. The line's total is both; its ratio is
// taken on the work alone.
template <class F> void TimeAction(Line& l, F&& action)
{
    const double work = timeOnce(std::forward<F>(action));
    const double paint = timeOnce([] { Settle(); });
    l.layer.add(work + paint);
    l.work.add(work);
}

template <class W> QPointer<W> Open(const std::function<void(W*)>& setMode = {})
{
    W* w = new W(); // deletes itself on close
    if (setMode)
        setMode(w);
    w->show();
    Settle();
    return QPointer<W>(w);
}

template <class W> void Close(QPointer<W>& w)
{
    if (w)
        w->close();
    Settle();
}

inline QString DateText(const QDate& d)
{
    return d.toString(QStringLiteral("dd/MM/yyyy"));
}

// The native text the layer runs for a statement of the dialect: the
// baseline runs exactly this through the C API.
inline QByteArray Native(const QString& dialectSql)
{
    return data::translateSql(dialectSql).toUtf8();
}

inline qint64 LayerScalar(const QString& sql)
{
    data::Recordset rs(sql, modAdmin::DbConnection);
    return rs.eof() ? 0 : rs.field(0).toLongLong();
}

// The period the status list is shown for: the latest year that holds at
// least half as many enquiries as the fullest year (the benchmark's own
// saves of today do not count).
inline int LatestYear()
{
    data::Recordset rs(
        QStringLiteral("SELECT substr(enqDate,1,4), count(*) FROM trnEnquiryRegister GROUP BY 1 "
                       "ORDER BY 1 DESC"),
        modAdmin::DbConnection);
    std::vector<std::pair<int, qint64>> years;
    qint64 fullest = 0;
    for (; !rs.eof(); rs.moveNext()) {
        years.emplace_back(rs.text(0).toInt(), rs.field(1).toLongLong());
        fullest = std::max(fullest, years.back().second);
    }
    for (const auto& [year, count] : years)
        if (count * 2 >= fullest)
            return year;
    return QDate::currentDate().year();
}

// The sales person with the most enquiries: the heaviest ordinary user.
inline qint16 BusiestSalesPerson()
{
    return qint16(
        LayerScalar(QStringLiteral("SELECT enqExeCode FROM trnEnquiryRegister GROUP BY enqExeCode "
                                   "ORDER BY count(*) DESC")));
}

template <class T> T* Child(QWidget* w, const char* name)
{
    T* c = w->findChild<T*>(QLatin1String(name));
    if (!c)
        throw data::DbError(
            QStringLiteral("%1 has no control %2").arg(w->objectName(), QLatin1String(name)));
    return c;
}

// One typed character, as the keyboard delivers it (press and release).
inline void Type(QWidget* w, QChar c)
{
    const int key = c.isLetter() ? int(c.toUpper().unicode()) : int(c.unicode());
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(c));
    QCoreApplication::sendEvent(w, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, QString(c));
    QCoreApplication::sendEvent(w, &release);
}

inline void Enter(QWidget* w)
{
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
    QCoreApplication::sendEvent(w, &press);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
    QCoreApplication::sendEvent(w, &release);
}

inline QStringList LayerColumn(const QString& sql)
{
    QStringList out;
    for (data::Recordset rs(sql, modAdmin::DbConnection); !rs.eof(); rs.moveNext())
        out << rs.text(0);
    return out;
}

} // namespace windows

void RunStatusOperations(Harness& h);
void RunRegisterOperations(Harness& h);
void RunExecutiveOperations(Harness& h);

#if KORVANE_BENCH_HAS_UI
namespace windows {
// The messages the windows showed, recorded instead of shown.
inline MsgBox::Recorder* Messages = nullptr;

inline QString LastMessage()
{
    return Messages && !Messages->isEmpty() ? Messages->last().text : QString();
}
} // namespace windows
#endif

inline void RunWindowOperations(Harness& h)
{
#if KORVANE_BENCH_HAS_UI
    // Messages are recorded instead of shown; confirmations answered Yes.
    MsgBox::Recorder messages(true);
    windows::Messages = &messages;
    // Windows shown modally by the windows are recorded and left open for
    // the benchmark to drive.
    Modal::Recorder modal;
#endif
    RunRegisterOperations(h);
    RunStatusOperations(h);
    RunExecutiveOperations(h);
#if KORVANE_BENCH_HAS_UI
    windows::Messages = nullptr;
#endif
}

} // namespace bench

#include "bench/OpsEnquiryRegister.h"
#include "bench/OpsEnquiryStatus.h"
#include "bench/OpsExecutive.h"
