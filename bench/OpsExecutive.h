#pragma once

// The sales person master: its pick-lists, loading a picked person and
// saving a new one.

#include "bench/WindowOps.h"

#if KORVANE_BENCH_HAS_UI && __has_include("screens/masters/frmMstMarketingExecutive.h")
#include "screens/masters/frmMstMarketingExecutive.h"
#include "ui/ListBox.h"

#include <QLineEdit>
#include <QPushButton>

namespace bench {

inline void RunExecutiveOperations(Harness& h)
{
    using namespace windows;
    Harness::Login(1, QStringLiteral("A"));
    QPointer<frmMstMarketingExecutive> w = Open<frmMstMarketingExecutive>(
        [](frmMstMarketingExecutive* f) { f->strFormMode = QStringLiteral("CREATE"); });
    auto* txtName = Child<QLineEdit>(w, "txtName");
    auto* txtPost = Child<QLineEdit>(w, "txtPost");
    auto* lstName = Child<ListBox>(w, "lstName");

    // Saving a new sales person: the checks, the insert and the reset.
    {
        Line l;
        l.operation = QStringLiteral("save a sales person (check, insert, reset)");
        const qint64 before = LayerScalar(QStringLiteral("SELECT count(*) FROM mstExecutive"));
        for (int i = 0; i < h.runs(); ++i) {
            const qint64 next =
                LayerScalar(QStringLiteral("SELECT MAX(exeCode) FROM mstExecutive")) + 1;
            const QString name = QStringLiteral("Bench Person %1").arg(next);
            txtName->setText(name);
            txtPost->setText(QStringLiteral("Sales Executive"));
            Child<QLineEdit>(w, "txtUserID")->setText(QStringLiteral("bench%1").arg(next));
            Child<QLineEdit>(w, "txtPassword")->setText(QStringLiteral("secret"));
            Child<QLineEdit>(w, "txtCPassword")->setText(QStringLiteral("secret"));
            Child<QLineEdit>(w, "txtDivision")->setText(QStringLiteral("North"));
            Settle();
            windows::TimeAction(l, [&] { Child<QPushButton>(w, "cmdOK")->click(); });
            const QByteArray raw = QByteArray::number(next + 1);
            l.raw.add(timeOnce([&] {
                RawRead(h.handle(),
                        "SELECT exeCode FROM mstExecutive WHERE exeName ='Bench Raw " + raw + "'");
                const QByteArray code = QByteArray::number(
                    RawScalar(h.handle(), "SELECT MAX(exeCode) FROM mstExecutive") + 1);
                RawExec(h.handle(),
                        "INSERT INTO "
                        "mstExecutive(exeCode,exeName,exePost,exeUID,exePassword,exeDivision,"
                        "exeRole)VALUES(" +
                            code + ",'Bench Raw " + raw + "','Sales Executive','raw" + raw +
                            "','secret','North','U')");
                RawScalar(h.handle(), "SELECT MAX(exeCode) FROM mstExecutive");
            }));
        }
        const qint64 saved =
            LayerScalar(QStringLiteral("SELECT count(*) FROM mstExecutive")) - before;
        if (saved != 2 * h.runs())
            l.failure = QStringLiteral("the window saved %1 of %2 (%3)")
                            .arg(saved - h.runs())
                            .arg(h.runs())
                            .arg(LastMessage());
        h.report(std::move(l));
    }

    // The post pick-list of mode CREATE.
    {
        Line l;
        l.operation = QStringLiteral("keystroke, post pick-list (sales persons)");
        l.targetMs = 16;
        for (int i = 0; i < h.runs(); ++i) {
            txtPost->setText(QString());
            Settle();
            windows::TimeAction(l, [&] { Type(txtPost, QLatin1Char("SARKB"[i % 5])); });
            l.raw.add(timeOnce([&] {
                RawRead(h.handle(),
                        "select distinct(exepost) as post from mstexecutive where exeRole<>'A'");
            }));
        }
        txtPost->setText(QString());
        h.report(std::move(l));
    }

    // The name pick-list of mode MODIFY, and loading the picked person.
    w->tbrExecutive_ButtonClick(QStringLiteral("MODIFY"));
    Settle();
    {
        Line keys, load;
        keys.operation = QStringLiteral("keystroke, name pick-list (sales persons)");
        keys.targetMs = 16;
        load.operation = QStringLiteral("load a picked sales person");
        const QStringList names = LayerColumn(
            QStringLiteral("SELECT exeName FROM mstExecutive WHERE exeRole<>'A' ORDER BY exeCode"));
        for (int i = 0; i < h.runs() && !names.isEmpty(); ++i) {
            const QString name = names[qsizetype(i) * 13 % names.size()];
            txtName->setText(QString());
            Settle();
            txtName->setFocus();
            windows::TimeAction(keys, [&] { Type(txtName, name[0]); });
            keys.raw.add(timeOnce(
                [&] { RawRead(h.handle(), "SELECT * FROM mstExecutive where exeRole<>'A'"); }));
            if (!lstName->isShown() || lstName->listCount() == 0)
                continue;
            lstName->setListIndex(0);
            const QByteArray code = QByteArray::number(lstName->itemData(0));
            windows::TimeAction(load, [&] { Enter(lstName); });
            load.raw.add(timeOnce(
                [&] { RawRead(h.handle(), "SELECT * FROM mstExecutive WHERE exeCode=" + code); }));
        }
        h.report(std::move(keys));
        h.report(std::move(load));
    }
    Close(w);
}

} // namespace bench

#else

namespace bench {
inline void RunExecutiveOperations(Harness& h)
{
    h.missing(QStringLiteral("sales person master"));
}
} // namespace bench

#endif
