#pragma once

// The enquiry status list, its printout and the follow-up window.

#include "bench/WindowOps.h"

#if KORVANE_BENCH_HAS_UI && __has_include("screens/enquiry/frmEnquiryStatus.h") &&                 \
                                          __has_include("screens/enquiry/frmViewHistory.h")
#include "screens/enquiry/frmEnquiryStatus.h"
#include "screens/enquiry/frmViewHistory.h"
#include "ui/Grid.h"
#include "ui/MaskEdBox.h"
#include "ui/ReportControl.h"

#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>

namespace bench {

namespace status {

// The administrator's list query (origin dates), as the window builds it.
inline QString AdminOriginQuery(const QString& from, const QString& to)
{
    return QStringLiteral(
               "SELECT ER.enqCode,enqDate,ER.enqPercentage,enqService,cltName,cltCode,exeName,"
               "enqFollDate,enqStatus FROM trnEnquiryRegister ER ,trnEnquiryStatus ES,mstClient "
               "CL,mstExecutive WHERE enqExeCode=exeCode and enqKey='F' and enqStatus='Pending' "
               "AND ER.enqCltCode=CL.cltCode AND ER.enqCode=ES.enqCode AND ER.enqDate BETWEEN #") +
           from + QStringLiteral("# AND #") + to + QStringLiteral("# ORDER BY ER.enqDate");
}

inline QString UserOriginQuery(const QString& from, const QString& to, qint16 user)
{
    return QStringLiteral(
               "SELECT ER.enqCode,enqDate,enqService,ER.enqPercentage,cltName,cltCode,enqFollDate,"
               "enqStatus FROM trnEnquiryRegister ER ,trnEnquiryStatus ES,mstClient CL WHERE "
               "enqKey='F' and enqStatus='Pending' AND ER.enqCltCode=CL.cltCode AND "
               "ER.enqCode=ES.enqCode AND enqExeCode=") +
           QString::number(user) + QStringLiteral(" AND ER.enqDate BETWEEN #") + from +
           QStringLiteral("# AND #") + to + QStringLiteral("# ORDER BY ER.enqDate");
}

inline QString AdminPrintQuery(const QString& from, const QString& to)
{
    return QStringLiteral(
               "SELECT "
               "enqDate,enqRequirment,enqService,cltName,cltAddress,cltCity,cltPhone,exeName,"
               "enqFollDate,enqStatus,ES.enqAction FROM trnEnquiryRegister ER ,trnEnquiryStatus "
               "ES,mstClient CL,mstExecutive WHERE enqExeCode=exeCode and enqKey='F' and "
               "enqStatus='Pending' AND ER.enqCltCode=CL.cltCode AND ER.enqCode=ES.enqCode AND "
               "ER.enqDate BETWEEN #") +
           from + QStringLiteral("# AND #") + to + QStringLiteral("# ORDER BY ER.enqDate");
}

// Literal of the window's period condition.
inline QString Literal(const QDate& d)
{
    return QLocale(QLocale::English).toString(d, QStringLiteral("dd/MMM/yy"));
}

inline QPointer<frmEnquiryStatus> OpenFor(const QDate& from, const QDate& to)
{
    QPointer<frmEnquiryStatus> w = windows::Open<frmEnquiryStatus>();
    w->optOrigin->setChecked(true);
    w->mskFrom->setText(windows::DateText(from));
    w->mskTo->setText(windows::DateText(to));
    return w;
}

// Show as the user presses it, until the grid is painted.
inline Line TimeShow(Harness& h, const QString& name, const QDate& from, const QDate& to,
                     const QByteArray& raw)
{
    Line l;
    l.operation = name;
    QPointer<frmEnquiryStatus> w = OpenFor(from, to);
    qint64 rows = 0;
    for (int i = 0; i < h.runs(); ++i) {
        windows::TimeAction(l, [&] { w->cmdShow->click(); });
        l.raw.add(timeOnce([&] { rows = RawRead(h.handle(), raw); }));
    }
    l.note = QStringLiteral("%1 rows").arg(w->grdStatus->rows() - 1);
    if (rows > 0 && w->grdStatus->rows() - 1 != rows)
        l.failure = QStringLiteral("the list holds %1 rows, the query returns %2 (%3)")
                        .arg(w->grdStatus->rows() - 1)
                        .arg(rows)
                        .arg(windows::LastMessage());
    windows::Close(w);
    return l;
}

} // namespace status

inline void RunStatusOperations(Harness& h)
{
    using namespace status;
    const int year = windows::LatestYear();
    const QDate from(year, 1, 1), to(year, 12, 31);

    Harness::Login(1, QStringLiteral("A"));
    h.report(TimeShow(h, QStringLiteral("Show status list, one year, administrator"), from, to,
                      windows::Native(AdminOriginQuery(Literal(from), Literal(to)))));
    const qint16 user = windows::BusiestSalesPerson();
    Harness::Login(user, QStringLiteral("U"));
    h.report(TimeShow(h, QStringLiteral("Show status list, one year, sales person"), from, to,
                      windows::Native(UserOriginQuery(Literal(from), Literal(to), user))));

    // Double-click on a listed enquiry, then saving its follow-up (still
    // Pending, so that the list stays the same from run to run).
    Harness::Login(1, QStringLiteral("A"));
    {
        Line fill, build, save;
        fill.operation = QStringLiteral("double-click: fill the follow-up window");
        build.operation = QStringLiteral("  of which: building and showing the window");
        build.targetMs = 0;
        build.ratioTarget = false;
        save.operation = QStringLiteral("save a follow-up");
        QPointer<frmEnquiryStatus> w = OpenFor(from, to);
        w->cmdShow->click();
        windows::Settle();
        const int rows = w->grdStatus->rows() - 1;
        const QString next = windows::DateText(to.addDays(14));
        for (int i = 0; i < h.runs() && rows > 0; ++i) {
            const int row = 1 + int(qint64(i) * 7919 % rows);
            w->grdStatus->setRow(row);
            const QString code = w->grdStatus->textMatrix(row, 0);
            const QString client = w->grdStatus->textMatrix(row, 3);
            // The empty window built and shown as the double-click does it:
            // its cost is set apart from the queries and the filling.
            windows::TimeAction(build, [&] {
                auto* empty = new frmViewHistory(w);
                empty->grdView->setColWidth(0, 0);
                ShowModal(empty);
            });
            if (QDialog* empty = LastShownModal())
                empty->close();
            windows::Settle();
            QDialog* before = LastShownModal();
            windows::TimeAction(fill, [&] { w->grdStatus_DblClick(); });
            frmViewHistory* shown = LastShownModal() != before
                                        ? qobject_cast<frmViewHistory*>(LastShownModal())
                                        : nullptr;
            const QByteArray q1 = windows::Native(
                QStringLiteral(
                    "SELECT CL.*,enqDate,enqFollowDate,enqDate,enqAction,enqAmount,enqPercentage,"
                    "enqRequirment FROM  mstClient CL,trnEnquiryRegister ER WHERE enqCode=") +
                code + QStringLiteral(" AND enqCltCode=cltCode  AND enqCltCode=") + client);
            const QByteArray q2 = windows::Native(
                QStringLiteral("SELECT * FROM trnEnquiryStatus WHERE enqCode=") + code);
            fill.raw.add(timeOnce([&] {
                RawRead(h.handle(), q1);
                RawRead(h.handle(), q2);
            }));
            QPointer<frmViewHistory> fv = shown;
            if (!fv || fv->txtClient->text().isEmpty()) {
                fill.failure = QStringLiteral("no filled follow-up window for enquiry %1 (%2)")
                                   .arg(code, windows::LastMessage());
                if (fv)
                    fv->close();
                continue;
            }
            fv->optPending->setChecked(true);
            fv->mskFDate2->setText(next);
            fv->txtReason->setText(QStringLiteral("Called, demo next week"));
            const QString count =
                QStringLiteral("SELECT count(*) FROM trnEnquiryStatus WHERE enqCode=") + code;
            const qint64 records = windows::LayerScalar(count);
            windows::TimeAction(save, [&] { fv->cmdOK->click(); });
            if (windows::LayerScalar(count) != records + 1)
                save.failure = QStringLiteral("follow-up of enquiry %1 not stored (%2)")
                                   .arg(code, windows::LastMessage());
            if (fv)
                fv->close();
            windows::Settle();
            // The same two statements in one transaction through the C API,
            // on an enquiry of the same size (the next code of the list).
            const QByteArray other = w->grdStatus->textMatrix(1 + (row % rows), 0).toUtf8();
            save.raw.add(timeOnce([&] {
                RawExec(h.handle(), "BEGIN IMMEDIATE");
                RawExec(h.handle(),
                        "UPDATE trnEnquiryStatus SET enqKey='P' WHERE enqCode=" + other);
                RawExec(h.handle(),
                        "INSERT INTO trnEnquiryStatus(enqCode,enqFollDate,enqStatus,enqReason,"
                        "enqKey,enqPercentage,enqAmount)VALUES(" +
                            other + ",'" + to.addDays(14).toString(Qt::ISODate).toUtf8() +
                            "','Pending','Called, demo next week','F',50,100000)");
                RawExec(h.handle(), "COMMIT");
            }));
        }
        windows::Close(w);
        fill.excludedMs = build.work.median();
        fill.note = QStringLiteral("ratio without building the window, %1 ms")
                        .arg(FormatMs(fill.excludedMs));
        h.report(std::move(fill));
        h.report(std::move(build));
        h.report(std::move(save));
    }

    // The printout of about 5,000 rows: the period that ends with the year
    // and holds 5,000 open enquiries.
    {
        const QDate printFrom = [&] {
            const QByteArray q =
                windows::Native(AdminOriginQuery(Literal(QDate(1900, 1, 1)), Literal(to)));
            RawStatement s(h.handle(), "SELECT enqDate FROM (" + q +
                                           ") ORDER BY enqDate DESC LIMIT 1 OFFSET 4999");
            if (sqlite3_step(s.get()) == SQLITE_ROW)
                return QDate::fromString(QString::fromUtf8(reinterpret_cast<const char*>(
                                             sqlite3_column_text(s.get(), 0))),
                                         Qt::ISODate);
            return QDate(1900, 1, 1);
        }();
        Line l, render;
        l.operation = QStringLiteral("printout ~5,000 rows to PDF (no preview)");
        l.targetMs = 2000;
        l.ratioTarget = false; // the rendering has no counterpart in the C API
        render.operation = QStringLiteral("  of which: report rendering to PDF");
        render.targetMs = 0;
        render.ratioTarget = false;
        QTemporaryDir pdfDir;
        const QString pdf = pdfDir.path() + QStringLiteral("/status.pdf");
        QPointer<frmEnquiryStatus> w = OpenFor(printFrom, to);
        const QByteArray printQuery =
            windows::Native(AdminPrintQuery(Literal(printFrom), Literal(to)));
        bool ok = true;
        for (int i = 0; i < h.runs(); ++i) {
            windows::TimeAction(l, [&] { ok = w->PrintToPdf(pdf) && ok; });
            render.layer.add(timeOnce([&] {
                try {
                    w->rptEnquiryStatus->renderToPdf(pdf);
                } catch (const ReportError& e) {
                    render.failure = e.description();
                }
            }));
            // Baseline: the selection read, and the scratch table emptied,
            // refilled in one transaction and read back, through the C API.
            l.raw.add(timeOnce([&] {
                RawExec(h.handle(), "BEGIN IMMEDIATE");
                RawExec(h.handle(), "DELETE FROM rptEnquiryStatus");
                RawStatement ins(
                    h.handle(),
                    "INSERT INTO rptEnquiryStatus(No,Origin,Service,Client,Address,City,"
                    "Requirment,Phone,Follow,Status,Action) VALUES (?,?,?,?,?,?,?,?,?,?,?)");
                RawStatement sel(h.handle(), printQuery);
                int no = 0;
                while (sqlite3_step(sel.get()) == SQLITE_ROW) {
                    sqlite3_bind_int(ins.get(), 1, ++no);
                    const int map[] = {0, 2, 3, 4, 5, 1, 6, 8, 9, 10};
                    for (int k = 0; k < 10; ++k)
                        sqlite3_bind_text(
                            ins.get(), k + 2,
                            reinterpret_cast<const char*>(sqlite3_column_text(sel.get(), map[k])),
                            sqlite3_column_bytes(sel.get(), map[k]), SQLITE_TRANSIENT);
                    sqlite3_step(ins.get());
                    sqlite3_reset(ins.get());
                }
                RawExec(h.handle(), "COMMIT");
                RawRead(h.handle(), "SELECT * FROM rptEnquiryStatus ORDER BY No");
            }));
        }
        const qint64 printed =
            windows::LayerScalar(QStringLiteral("SELECT count(*) FROM rptEnquiryStatus"));
        l.note = QStringLiteral("%1 rows, %2 KB; raw = query + scratch refill + read back")
                     .arg(printed)
                     .arg(QFileInfo(pdf).size() / 1024);
        if (!ok || printed == 0)
            l.failure = QStringLiteral("no printout: ") + windows::LastMessage();
        windows::Close(w);
        h.report(std::move(l));
        h.report(std::move(render));
    }
}

} // namespace bench

#else

namespace bench {
inline void RunStatusOperations(Harness& h)
{
    h.missing(QStringLiteral("Show status list (administrator, sales person)"));
    h.missing(QStringLiteral("double-click fill / save a follow-up"));
    h.missing(QStringLiteral("printout of 5,000 rows"));
}
} // namespace bench

#endif
