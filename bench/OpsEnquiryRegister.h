#pragma once

// The enquiry register: its two pick-lists and saving an enquiry.

#include "bench/WindowOps.h"

#if KORVANE_BENCH_HAS_UI && __has_include("screens/enquiry/frmEnquiryRegister.h")
#include "screens/enquiry/frmEnquiryRegister.h"
#include "ui/ComboBox.h"
#include "ui/ListBox.h"
#include "ui/MaskEdBox.h"

#include <QLineEdit>
#include <QPushButton>

namespace bench {

namespace reg {

// Types the first letters of each text into the field, a keystroke at a
// time, each keystroke timed until the window is painted; the first letter
// (the longest list) and the following ones are kept apart.
inline void TimeKeystrokes(Harness& h, QLineEdit* field, ListBox* list, const QStringList& texts,
                           int letters, const QByteArray& rawSource, Line& first, Line& next)
{
    // One untimed pass first: the program's first keystrokes after start-up
    // read the table into the page cache, which the baseline, run after
    // them, would find warm.
    for (const QString& text : texts.mid(0, 2)) {
        field->setText(QString());
        windows::Settle();
        for (qsizetype i = 0; i < qMin<qsizetype>(letters, text.size()); ++i) {
            windows::Type(field, text[i]);
            windows::Settle();
        }
    }
    for (const QString& text : texts) {
        field->setText(QString());
        windows::Settle();
        field->setFocus();
        const QString typed = text.left(letters);
        for (qsizetype i = 0; i < typed.size(); ++i) {
            Line& l = i == 0 ? first : next;
            windows::TimeAction(l, [&] { windows::Type(field, typed[i]); });
            l.raw.add(timeOnce([&] { RawRead(h.handle(), rawSource); }));
        }
        if (!list->isShown() || list->listCount() == 0)
            first.failure = QStringLiteral("no pick-list after typing '%1'").arg(typed);
        if (field->text() != typed)
            first.failure =
                QStringLiteral("typed '%1', the field holds '%2'").arg(typed, field->text());
    }
}

// Texts spread over the alphabet: every n-th of a sorted list.
inline QStringList Spread(const QStringList& sorted, int count)
{
    QStringList out;
    if (sorted.isEmpty())
        return out;
    for (int i = 0; i < count; ++i)
        out << sorted[qsizetype((qint64(i) * 2 + 1) * sorted.size() / (2 * qint64(count)))];
    return out;
}

} // namespace reg

inline void RunRegisterOperations(Harness& h)
{
    using namespace windows;
    Harness::Login(1, QStringLiteral("A"));
    QPointer<frmEnquiryRegister> w = Open<frmEnquiryRegister>();
    auto* txtType = Child<QLineEdit>(w, "txtType");
    auto* txtClient = Child<QLineEdit>(w, "txtClient");
    auto* lstClient = Child<ListBox>(w, "lstClient");
    auto* lstType = Child<ListBox>(w, "lstType");

    // Keystrokes in the client pick-list: names spread over the alphabet.
    {
        Line first, next;
        first.operation = QStringLiteral("keystroke, client pick-list (first letter)");
        next.operation = QStringLiteral("keystroke, client pick-list (next letters)");
        first.targetMs = next.targetMs = 16;
        const QStringList names = reg::Spread(
            LayerColumn(QStringLiteral("SELECT cltName FROM mstClient ORDER BY cltName")),
            h.runs());
        reg::TimeKeystrokes(h, txtClient, lstClient, names, 6,
                            "SELECT cltCode,cltName FROM mstClient ", first, next);
        // The longest list: the first letter of the first name.
        txtClient->setText(names.value(0).left(1));
        Settle();
        first.note = QStringLiteral("list of up to %1 entries").arg(lstClient->listCount());
        h.report(std::move(first));
        h.report(std::move(next));
        txtClient->setText(QString());
        Settle();
    }
    // Keystrokes in the type pick-list.
    {
        Line first, next;
        first.operation = QStringLiteral("keystroke, type pick-list (first letter)");
        next.operation = QStringLiteral("keystroke, type pick-list (next letters)");
        first.targetMs = next.targetMs = 16;
        const QStringList types =
            reg::Spread(LayerColumn(QStringLiteral(
                            "SELECT distinct(enqType) FROM trnEnquiryRegister ORDER BY enqType")),
                        h.runs());
        reg::TimeKeystrokes(h, txtType, lstType, types, 4,
                            "SELECT distinct(enqType) as type FROM trnEnquiryRegister", first,
                            next);
        first.note =
            QStringLiteral("%1 types")
                .arg(LayerScalar(QStringLiteral(
                    "SELECT count(*) FROM (SELECT DISTINCT enqType FROM trnEnquiryRegister)")));
        h.report(std::move(first));
        h.report(std::move(next));
        txtType->setText(QString());
        lstType->hide();
        Settle();
    }

    // Saving an enquiry: both inserts and the reset of the window.
    {
        Line l;
        l.operation = QStringLiteral("save an enquiry (inserts + reset)");
        const QStringList names =
            LayerColumn(QStringLiteral("SELECT cltName FROM mstClient ORDER BY cltCode"));
        const qint64 before =
            LayerScalar(QStringLiteral("SELECT count(*) FROM trnEnquiryRegister"));
        const QString follow = DateText(QDate::currentDate().addDays(10));
        const QByteArray today = QDate::currentDate().toString(Qt::ISODate).toUtf8();
        for (int i = 0; i < h.runs(); ++i) {
            const QString client =
                names.value(qsizetype(i) * 37 % qMax<qsizetype>(1, names.size()));
            txtType->setText(QStringLiteral("Telephone"));
            lstType->hide();
            Child<ComboBox>(w, "cboService")->setListIndex(1 + i % 3);
            Child<ComboBox>(w, "cboSegment")->setListIndex(1 + i % 2);
            Child<ComboBox>(w, "cboExecutive")->setListIndex(i % 5);
            txtClient->setText(client);
            Settle();
            int at = -1;
            for (int k = 0; k < lstClient->listCount() && at < 0; ++k)
                if (lstClient->list(k) == client)
                    at = k;
            lstClient->setListIndex(at);
            Enter(lstClient); // the pick: code into the tag of txtClient
            Child<QLineEdit>(w, "txtRequirment")
                ->setText(QStringLiteral("Office network with twenty nodes"));
            Child<QLineEdit>(w, "txtAction")->setText(QStringLiteral("Sent quotation"));
            Child<MaskEdBox>(w, "mskFDate")->setText(follow);
            Child<QLineEdit>(w, "txtAmount")->setText(QStringLiteral("125000"));
            Child<QLineEdit>(w, "txtPercent")->setText(QStringLiteral("40"));
            Child<QLineEdit>(w, "txtComments")
                ->setText(QStringLiteral("Referred by an existing client"));
            Settle();
            windows::TimeAction(l, [&] { Child<QPushButton>(w, "cmdOK")->click(); });
            // The same statements through the C API: the code, both inserts
            // in one transaction, and the reads of the reset.
            l.raw.add(timeOnce([&] {
                RawRead(h.handle(),
                        "SELECT cltCode FROM mstClient WHERE cltCode=1 AND cltName='x'");
                RawExec(h.handle(), "BEGIN IMMEDIATE");
                const QByteArray code = QByteArray::number(
                    RawScalar(h.handle(), "SELECT MAX(enqCode) FROM trnEnquiryRegister") + 1);
                RawExec(
                    h.handle(),
                    "INSERT INTO trnEnquiryRegister(enqCode,enqDate,enqType,enqService,enqSegment,"
                    "enqExeCode,enqCltCode,enqRequirment,enqAction,enqFollowdate,enqPercentage,"
                    "enqComments,enqAmount)VALUES(" +
                        code + ",'" + today +
                        "','Telephone','Software','Corporate',2,1,'Office network with twenty "
                        "nodes','Sent quotation','" +
                        today + "',40,'Referred by an existing client',125000)");
                RawExec(
                    h.handle(),
                    "INSERT INTO trnEnquiryStatus(enqCode,enqFollDate,enqAction,enqStatus,enqKey,"
                    "enqReason,enqPercentage,enqAmount)VALUES(" +
                        code + ",'" + today +
                        "','Sent quotation','Pending','F','Referred by an existing client',40,"
                        "125000)");
                RawExec(h.handle(), "COMMIT");
                RawRead(h.handle(), "SELECT No,Name FROM mstService WHERE Type='SG'");
                RawRead(h.handle(), "SELECT No,Name FROM mstService WHERE Type='SR'");
                RawScalar(h.handle(), "SELECT MAX(enqCode) FROM trnEnquiryRegister");
                RawRead(h.handle(),
                        "SELECT exeCode,exeName FROM mstExecutive where exeRole <> 'A'");
            }));
        }
        const qint64 saved =
            LayerScalar(QStringLiteral("SELECT count(*) FROM trnEnquiryRegister")) - before;
        if (saved != 2 * h.runs()) // one by the window, one by the baseline per run
            l.failure = QStringLiteral("the window saved %1 of %2 (%3)")
                            .arg(saved - h.runs())
                            .arg(h.runs())
                            .arg(LastMessage());
        h.report(std::move(l));
    }
    Close(w);
}

} // namespace bench

#else

namespace bench {
inline void RunRegisterOperations(Harness& h)
{
    h.missing(QStringLiteral("keystroke in the client / type pick-list"));
    h.missing(QStringLiteral("save an enquiry"));
}
} // namespace bench

#endif
