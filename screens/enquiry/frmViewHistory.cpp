#include "screens/enquiry/frmViewHistory.h"

#include "app/ModAdmin.h"
#include "screens/enquiry/FollowUpSave.h"
#include "ui/DateCheck.h"
#include "ui/ErrorReport.h"
#include "ui/Grid.h"
#include "ui/KeyFilters.h"
#include "ui/MaskEdBox.h"
#include "ui/MsgBox.h"
#include "ui/Tag.h"
#include "ui/WindowClose.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

const QString kGridFormat = QStringLiteral("code|<Follow Date |Action                              "
                                           "                                        "
                                           "   |Status         |Percent");

template <class T> T* named(T* widget, const char* name)
{
    widget->setObjectName(QLatin1String(name));
    return widget;
}

QLabel* label(const char* name, const QString& caption, QWidget* buddy, QWidget* parent)
{
    auto* l = named(new QLabel(caption, parent), name);
    l->setBuddy(buddy);
    return l;
}

} // namespace

frmViewHistory::frmViewHistory(QWidget* parent) : QDialog(parent)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName(QStringLiteral("frmViewHistory"));
    setWindowTitle(QStringLiteral("View History"));
    CreateControls();
    // The callers fill the window right after creating it, so it prepares
    // itself here rather than when it is shown.
    Form_Load();
}

void frmViewHistory::CreateControls()
{
    // The enquiry's details: shown for reference, never read back.
    fra1 = named(new QGroupBox(this), "fra1");
    txtClient = named(new QLineEdit(fra1), "txtClient");
    txtAddress = named(new QLineEdit(fra1), "txtAddress");
    txtPhone = named(new QLineEdit(fra1), "txtPhone");
    txtPhone->setMaxLength(15);
    txtMobile = named(new QLineEdit(fra1), "txtMobile");
    txtReq = named(new QLineEdit(fra1), "txtReq");
    txtAction = named(new QLineEdit(fra1), "txtAction");
    mskODate = named(new MaskEdBox(fra1), "mskODate");
    mskFDate = named(new MaskEdBox(fra1), "mskFDate");
    for (QLineEdit* shown :
         {txtClient, txtAddress, txtPhone, txtMobile, txtReq, txtAction,
          static_cast<QLineEdit*>(mskODate), static_cast<QLineEdit*>(mskFDate)}) {
        shown->setReadOnly(true);
        shown->setFocusPolicy(Qt::ClickFocus);
    }
    mskODate->setFixedWidth(95);
    mskFDate->setFixedWidth(95);

    auto* details = new QGridLayout(fra1);
    details->addWidget(label("lblClient", QStringLiteral("Client"), txtClient, fra1), 0, 0);
    details->addWidget(txtClient, 0, 1);
    details->addWidget(label("lblPhone", QStringLiteral("Phone"), txtPhone, fra1), 0, 2);
    details->addWidget(txtPhone, 0, 3);
    details->addWidget(label("lblAddress", QStringLiteral("Address"), txtAddress, fra1), 1, 0);
    details->addWidget(txtAddress, 1, 1);
    details->addWidget(label("lblMobile", QStringLiteral("Mobile"), txtMobile, fra1), 1, 2);
    details->addWidget(txtMobile, 1, 3);
    details->addWidget(label("lblRequirment", QStringLiteral("Requirment"), txtReq, fra1), 2, 0);
    details->addWidget(txtReq, 2, 1, 1, 3);
    details->addWidget(label("lblAction", QStringLiteral("Action Taken"), txtAction, fra1), 3, 0);
    details->addWidget(txtAction, 3, 1, 1, 3);
    auto* dates = new QHBoxLayout;
    dates->addWidget(mskODate);
    dates->addSpacing(16);
    dates->addWidget(label("lblFollow", QStringLiteral("Follow Up"), mskFDate, fra1));
    dates->addWidget(mskFDate);
    dates->addStretch();
    details->addWidget(label("lblOrigin", QStringLiteral("Origin"), mskODate, fra1), 4, 0);
    details->addLayout(dates, 4, 1, 1, 3);
    details->setColumnStretch(1, 3);
    details->setColumnStretch(3, 2);

    grdView = named(new Grid(this), "grdView");
    grdView->setMinimumHeight(150);

    // The follow-up to record.
    fraStstus = named(new QGroupBox(QStringLiteral("Status"), this), "fraStstus");
    optPending = named(new QRadioButton(QStringLiteral("Pending"), fraStstus), "optPending");
    optClosed = named(new QRadioButton(QStringLiteral("Closed"), fraStstus), "optClosed");
    optDropped = named(new QRadioButton(QStringLiteral("Dropped"), fraStstus), "optDropped");
    optPending->setChecked(true);
    auto* options = new QVBoxLayout(fraStstus);
    options->addWidget(optPending);
    options->addWidget(optClosed);
    options->addWidget(optDropped);

    txtReason = named(new QLineEdit(this), "txtReason");
    mskFDate2 = named(new MaskEdBox(this), "mskFDate2");
    mskFDate2->setFixedWidth(95);
    txtPercent = named(new QLineEdit(this), "txtPercent");
    txtPercent->setMaxLength(3);
    txtPercent->setFixedWidth(50);
    txtAmount = named(new QLineEdit(this), "txtAmount");
    txtAmount->setFixedWidth(110);

    auto* entry = new QGridLayout;
    entry->addWidget(label("lblReason", QStringLiteral("&Comments"), txtReason, this), 0, 0);
    entry->addWidget(txtReason, 0, 1, 1, 6);
    entry->addWidget(label("lblFollDate", QStringLiteral("Date"), mskFDate2, this), 1, 0);
    entry->addWidget(mskFDate2, 1, 1);
    entry->addWidget(label("lblPercent", QStringLiteral("Current Percentage"), txtPercent, this), 1,
                     2, Qt::AlignRight);
    entry->addWidget(txtPercent, 1, 3);
    entry->addWidget(label("lblAmount", QStringLiteral("Amount"), txtAmount, this), 1, 4,
                     Qt::AlignRight);
    entry->addWidget(txtAmount, 1, 5);
    entry->setColumnMinimumWidth(2, 150);
    entry->setColumnMinimumWidth(4, 80);
    entry->setColumnStretch(6, 1);
    entry->setRowStretch(2, 1);

    auto* followUp = new QHBoxLayout;
    followUp->addWidget(fraStstus);
    followUp->addSpacing(8);
    followUp->addLayout(entry, 1);

    cmdOK = named(new QPushButton(QStringLiteral("&OK"), this), "cmdOK");
    cmdClose = named(new QPushButton(QStringLiteral("&Close"), this), "cmdClose");
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdClose);

    auto* main = new QVBoxLayout(this);
    main->addWidget(fra1);
    main->addWidget(grdView, 1);
    main->addLayout(followUp);
    main->addLayout(buttons);
    resize(880, 600);

    // Keyboard: the follow-up fields in the order the Enter key walks them.
    setTabOrder(optPending, optClosed);
    setTabOrder(optClosed, optDropped);
    setTabOrder(optDropped, txtReason);
    setTabOrder(txtReason, mskFDate2);
    setTabOrder(mskFDate2, txtPercent);
    setTabOrder(txtPercent, txtAmount);
    setTabOrder(txtAmount, cmdOK);
    setTabOrder(cmdOK, cmdClose);
    setTabOrder(cmdClose, grdView);

    AttachKeyHandling(txtReason, KeyFilter::Apostrophe, mskFDate2, true);
    AttachEnterAdvance(mskFDate2, txtPercent);
    AttachEnterAdvance(txtPercent, txtAmount);
    // MoveFocusTo leaves the focus where it is while cmdOK is disabled.
    AttachEnterAdvance(txtAmount, cmdOK);

    connect(cmdOK, &QPushButton::clicked, this, &frmViewHistory::cmdOK_Click);
    AttachWindowClose(this, cmdClose);
    txtReason->setFocus();
}

void frmViewHistory::Form_Load()
{
    ErrorReport(this, [this] {
        grdView->setFormatString(kGridFormat);
        grdView->setColWidth(0, 0);
    });
}

QString frmViewHistory::SelectedStatus() const
{
    if (optPending->isChecked())
        return QStringLiteral("Pending");
    if (optClosed->isChecked())
        return QStringLiteral("Closed");
    if (optDropped->isChecked())
        return QStringLiteral("Dropped");
    return {};
}

bool frmViewHistory::ValidateFollowUp()
{
    if (!IsValidDate(mskFDate2->text())) {
        MsgBox::information(this, QStringLiteral("Please Enter a valid Date!"));
        mskFDate2->setFocus();
        return false;
    }
    return true;
}

void frmViewHistory::cmdOK_Click()
{
    if (!ValidateFollowUp())
        return;
    FollowUpInput in;
    in.enquiryCode = Tag(grdView);
    in.nextDate = DateOf(mskFDate2->text());
    in.status = SelectedStatus();
    in.reason = txtReason->text();
    in.percentage = txtPercent->text();
    in.amount = txtAmount->text();
    // A failed save is rolled back as a whole; the window stays open with
    // what the user typed.
    if (!ErrorReport(this, [&] { SaveFollowUp(in); }))
        return;
    SetTag(grdView, QString());
    modAdmin::ClearControls(this);
    close();
}
