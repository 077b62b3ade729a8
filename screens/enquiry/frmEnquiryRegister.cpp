#include "screens/enquiry/frmEnquiryRegister.h"

#include "app/ModAdmin.h"
#include "data/Recordset.h"
#include "data/SqlText.h"
#include "screens/enquiry/EnquirySave.h"
#include "screens/masters/frmClient.h"
#include "screens/masters/frmServices.h"
#include "ui/ComboBox.h"
#include "ui/Convert.h"
#include "ui/DateCheck.h"
#include "ui/ErrorReport.h"
#include "ui/FormRows.h"
#include "ui/KeyFilters.h"
#include "ui/ListBox.h"
#include "ui/MaskEdBox.h"
#include "ui/Modal.h"
#include "ui/MsgBox.h"
#include "ui/PickList.h"
#include "ui/Tag.h"
#include "ui/WindowClose.h"

#include <QDate>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>

namespace {

const QString NewRecordEntry = QStringLiteral("<NEW>");
const QString NewClientEntry = QStringLiteral("<New>");

// Layout of the entry rows inside the frame.
const FormRows Form{
    .labelX = 16, .labelWidth = 150, .fieldX = 172, .fieldWidth = 250, .firstY = 44, .step = 32};

} // namespace

frmEnquiryRegister::frmEnquiryRegister(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmEnquiryRegister"));
    setWindowTitle(QStringLiteral("Enquiry Reigster"));
    buildLayout();
    attachKeys();

    connect(cmdOK, &QPushButton::clicked, this, &frmEnquiryRegister::cmdOK_Click);
    AttachWindowClose(this, cmdClose);
    AttachWindowClose(this, mnuClose);
}

void frmEnquiryRegister::buildLayout()
{
    setFixedSize(560, 500);

    menuBar = new QMenuBar(this);
    menuBar->setObjectName(QStringLiteral("menuBar"));
    menuBar->setNativeMenuBar(false);
    mnuAction = menuBar->addMenu(QStringLiteral("&Action"));
    mnuAction->setObjectName(QStringLiteral("mnuAction"));
    mnuClose = mnuAction->addAction(QStringLiteral("&Close"));
    mnuClose->setObjectName(QStringLiteral("mnuClose"));
    menuBar->setGeometry(0, 0, width(), menuBar->sizeHint().height());

    fraEnquiry = new QFrame(this);
    fraEnquiry->setObjectName(QStringLiteral("fraEnquiry"));
    fraEnquiry->setGeometry(10, 32, 540, 414);
    fraEnquiry->setFrameShape(QFrame::StyledPanel);

    lblDateCaption = new QLabel(QStringLiteral("Date"), fraEnquiry);
    lblDateCaption->setObjectName(QStringLiteral("lblDateCaption"));
    lblDateCaption->setGeometry(372, 10, 50, Form.rowHeight);
    lblDateCaption->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    lblDate = new QLabel(fraEnquiry);
    lblDate->setObjectName(QStringLiteral("lblDate"));
    lblDate->setGeometry(430, 10, 92, Form.rowHeight);
    lblDate->setFrameShape(QFrame::Panel);
    lblDate->setFrameShadow(QFrame::Sunken);
    lblDate->setAlignment(Qt::AlignCenter);

    // Created in tab order; each pick-list follows its field.
    lblType =
        Form.label(fraEnquiry, QStringLiteral("lblType"), QStringLiteral("Type of Enquiry"), 0);
    txtType = Form.place(new QLineEdit(fraEnquiry), QStringLiteral("txtType"), 0, 250);
    lstType = new ListBox(fraEnquiry);
    lstType->setObjectName(QStringLiteral("lstType"));
    lstType->setGeometry(Form.fieldX, Form.rowY(0) + Form.rowHeight, 250, 120);
    lstType->hide();

    lblService = Form.label(fraEnquiry, QStringLiteral("lblService"), QStringLiteral("Service"), 1);
    cboService = Form.place(new ComboBox(fraEnquiry), QStringLiteral("cboService"), 1, 250);
    lblSegment = Form.label(fraEnquiry, QStringLiteral("lblSegment"), QStringLiteral("Segment"), 2);
    cboSegment = Form.place(new ComboBox(fraEnquiry), QStringLiteral("cboSegment"), 2, 250);
    lblExecutive =
        Form.label(fraEnquiry, QStringLiteral("lblExecutive"), QStringLiteral("Sales Person"), 3);
    cboExecutive = Form.place(new ComboBox(fraEnquiry), QStringLiteral("cboExecutive"), 3, 250);
    cboExecutive->setSorted(true);

    lblClient = Form.label(fraEnquiry, QStringLiteral("lblClient"), QStringLiteral("Client"), 4);
    txtClient = Form.place(new QLineEdit(fraEnquiry), QStringLiteral("txtClient"), 4, 250);
    lstClient = new ListBox(fraEnquiry);
    lstClient->setObjectName(QStringLiteral("lstClient"));
    lstClient->setGeometry(Form.fieldX, Form.rowY(4) + Form.rowHeight, 250, 150);
    lstClient->setSorted(true);
    lstClient->hide();

    lblRequirment =
        Form.label(fraEnquiry, QStringLiteral("lblRequirment"), QStringLiteral("Requirment"), 5);
    txtRequirment = Form.place(new QLineEdit(fraEnquiry), QStringLiteral("txtRequirment"), 5, 350);
    txtRequirment->setMaxLength(75);
    lblAction =
        Form.label(fraEnquiry, QStringLiteral("lblAction"), QStringLiteral("Action Taken"), 6);
    txtAction = Form.place(new QLineEdit(fraEnquiry), QStringLiteral("txtAction"), 6, 350);
    txtAction->setMaxLength(75);
    lblFDate = Form.label(fraEnquiry, QStringLiteral("lblFDate"),
                          QStringLiteral("Date for Next Follow Up"), 7);
    mskFDate = Form.place(new MaskEdBox(fraEnquiry), QStringLiteral("mskFDate"), 7, 100);
    lblAmount = Form.label(fraEnquiry, QStringLiteral("lblAmount"), QStringLiteral("Amount"), 8);
    txtAmount = Form.place(new QLineEdit(QStringLiteral("0"), fraEnquiry),
                           QStringLiteral("txtAmount"), 8, 100);
    txtAmount->setMaxLength(8);
    txtAmount->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    lblPercent =
        Form.label(fraEnquiry, QStringLiteral("lblPercent"), QStringLiteral("Per centage"), 9);
    txtPercent = Form.place(new QLineEdit(QStringLiteral("0"), fraEnquiry),
                            QStringLiteral("txtPercent"), 9, 50);
    txtPercent->setMaxLength(3);
    lblComments =
        Form.label(fraEnquiry, QStringLiteral("lblComments"), QStringLiteral("Comments"), 10);
    txtComments = Form.place(new QLineEdit(fraEnquiry), QStringLiteral("txtComments"), 10, 350);
    txtComments->setMaxLength(100);

    txtCode = new QLineEdit(fraEnquiry);
    txtCode->setObjectName(QStringLiteral("txtCode"));
    txtCode->hide();

    cmdOK = new QPushButton(QStringLiteral("&OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setGeometry(360, 458, 90, 30);
    cmdClose = new QPushButton(QStringLiteral("&Close"), this);
    cmdClose->setObjectName(QStringLiteral("cmdClose"));
    cmdClose->setGeometry(460, 458, 90, 30);

    const QList<QWidget*> tabOrder = {txtType,      lstType,   cboService, cboSegment,
                                      cboExecutive, txtClient, lstClient,  txtRequirment,
                                      txtAction,    mskFDate,  txtAmount,  txtPercent,
                                      txtComments,  cmdOK,     cmdClose};
    for (qsizetype i = 1; i < tabOrder.size(); ++i)
        setTabOrder(tabOrder[i - 1], tabOrder[i]);
}

void frmEnquiryRegister::attachKeys()
{
    AttachKeyHandling(txtType, KeyFilter::Apostrophe, cboService, true);
    AttachEnterAdvance(cboService, cboSegment, [this] {
        if (cboService->listIndex() == 0)
            OpenServiceWindow(QStringLiteral("SERVICE"));
    });
    AttachEnterAdvance(cboSegment, cboExecutive, [this] {
        if (cboSegment->listIndex() == 0)
            OpenServiceWindow(QStringLiteral("SEGMENT"));
    });
    AttachEnterAdvance(cboExecutive, txtClient);
    AttachKeyHandling(txtClient, KeyFilter::Apostrophe, txtRequirment);
    AttachKeyHandling(txtRequirment, KeyFilter::Apostrophe, txtAction, true);
    AttachKeyHandling(txtAction, KeyFilter::Apostrophe, mskFDate, true);
    AttachEnterAdvance(mskFDate, txtAmount);
    AttachKeyHandling(txtAmount, KeyFilter::Numeric, txtPercent);
    AttachKeyHandling(txtPercent, KeyFilter::Numeric, txtComments);
    AttachKeyHandling(txtComments, KeyFilter::Apostrophe, cmdOK);

    PickList::Config type;
    type.hideFirst = true;
    type.emptyTest = PickList::EmptyTest::AsTyped;
    type.emptyAction = PickList::EmptyAction::Stop;
    type.sourceQuery = QStringLiteral("SELECT distinct(enqType) as type FROM trnEnquiryRegister");
    type.matchColumn = QStringLiteral("Type");
    type.displayColumn = QStringLiteral("Type");
    typePickList = new PickList(txtType, lstType, modAdmin::DbConnection, type);
    typePickList->attachChoice(cboService);

    PickList::Config client;
    client.hideFirst = false;
    client.clearAfterMarker = true;
    client.emptyTest = PickList::EmptyTest::Trimmed;
    client.emptyAction = PickList::EmptyAction::ShowNewEntryOnly;
    client.sourceQuery = QStringLiteral("SELECT cltCode,cltName FROM mstClient ");
    client.matchColumn = QStringLiteral("cltName");
    client.displayColumn = QStringLiteral("cltName");
    client.dataColumn = QStringLiteral("cltCode");
    client.suppressMarker = lblClient;
    client.newEntryText = NewClientEntry;
    clientPickList = new PickList(txtClient, lstClient, modAdmin::DbConnection, client);
    // The client choice sets the code as well, so it is not the plain one.
    connect(lstClient, &ListBox::keyPress, this, [this](int& keyAscii) {
        if (keyAscii == KeyCode::Enter)
            lstClient_Pick();
    });
    connect(lstClient, &ListBox::dblClick, this, &frmEnquiryRegister::lstClient_Pick);
}

void frmEnquiryRegister::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!m_loaded) {
        m_loaded = true;
        Form_Load();
    }
}

void frmEnquiryRegister::Form_Load()
{
    ErrorReport(this, [this] { ResetEnquiryForm(); });
    txtType->setFocus(Qt::OtherFocusReason);
}

void frmEnquiryRegister::ResetEnquiryForm()
{
    modAdmin::ClearControls(this);

    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(0, 159, 204));
    setPalette(pal);
    setAutoFillBackground(true);

    modAdmin::FillCombo(cboSegment,
                        QStringLiteral("SELECT No,Name FROM mstService WHERE Type='SG'"));
    cboSegment->addItem(NewRecordEntry, 0);
    cboSegment->setListIndex(0);
    modAdmin::FillCombo(cboService,
                        QStringLiteral("SELECT No,Name FROM mstService WHERE Type='SR'"));
    cboService->addItem(NewRecordEntry, 0);
    cboService->setListIndex(0);

    lblDate->setText(MaskedDateText(QDate::currentDate()));
    lstClient->hide();
    lstType->hide();
    txtCode->setText(QString::number(
        modAdmin::NextNumber(QStringLiteral("trnEnquiryRegister"), QStringLiteral("enqCode"))));

    if (modAdmin::CurrentRole == QLatin1String("A"))
        modAdmin::FillCombo(
            cboExecutive,
            QStringLiteral("SELECT exeCode,exeName FROM mstExecutive where exeRole <> 'A'"));
    else
        modAdmin::FillCombo(
            cboExecutive,
            QStringLiteral("SELECT exeCode,exeName FROM mstExecutive where exeCode=") +
                QString::number(modAdmin::CurrentExeCode) + QStringLiteral(" AND exeRole <> 'A'"));
    if (cboExecutive->listCount() > 0)
        cboExecutive->setListIndex(0);

    if (isVisible())
        txtType->setFocus(Qt::OtherFocusReason);
}

// The client is the one whose code is in the tag of txtClient, and the
// field still names it: a name typed after the pick, or a field emptied by
// the reset after a save, is no client.
bool frmEnquiryRegister::ClientIsPicked()
{
    const QString code = Tag(txtClient);
    if (code.trimmed().isEmpty())
        return false;
    data::Recordset rs(QStringLiteral("SELECT cltCode FROM mstClient WHERE cltCode=") +
                           data::NumericText(code) + QStringLiteral(" AND cltName=") +
                           data::Quote(txtClient->text().trimmed()),
                       modAdmin::DbConnection);
    return !rs.eof();
}

bool frmEnquiryRegister::ValidateEnquiry()
{
    auto refuse = [this](const QString& message, QWidget* focus) {
        MsgBox::information(this, message);
        focus->setFocus(Qt::OtherFocusReason);
        return false;
    };
    if (txtType->text().isEmpty())
        return refuse(QStringLiteral("Please insert Type"), txtType);
    if (cboService->listIndex() < 0)
        return refuse(QStringLiteral("Please Select a Service"), cboService);
    if (cboSegment->listIndex() < 0)
        return refuse(QStringLiteral("Please Select a Segment"), cboSegment);
    if (cboExecutive->listIndex() < 0)
        return refuse(QStringLiteral("Please Select an Executive"), cboExecutive);
    if (!IsValidDate(mskFDate->text()))
        return refuse(QStringLiteral("Please Enter a valid Date"), mskFDate);
    if (!ClientIsPicked())
        return refuse(QStringLiteral("Please Select a Client"), txtClient);
    return true;
}

void frmEnquiryRegister::SaveEnquiry()
{
    EnquiryInput in;
    in.enquiryDate = DateOf(lblDate->text());
    in.type = txtType->text();
    in.service = cboService->list(cboService->listIndex());
    in.segment = cboSegment->list(cboSegment->listIndex());
    in.exeCode = cboExecutive->itemData(cboExecutive->listIndex());
    in.cltCode = ui::ToLong(data::NumericText(Tag(txtClient)));
    in.requirement = txtRequirment->text();
    in.action = txtAction->text();
    in.followDate = DateOf(mskFDate->text());
    in.percentage = txtPercent->text();
    in.amount = txtAmount->text();
    in.comments = txtComments->text();
    txtCode->setText(QString::number(SaveEnquiryRecord(in)));
}

void frmEnquiryRegister::cmdOK_Click()
{
    ErrorReport(this, [this] {
        if (!ValidateEnquiry())
            return;
        SaveEnquiry();
        ResetEnquiryForm();
    });
}

void frmEnquiryRegister::lstClient_Pick()
{
    const int index = lstClient->listIndex();
    if (index < 0)
        return;
    lstClient->hide();
    // The new-record entry carries no code; a client sorted above it (a
    // name beginning with a digit) still counts as a client.
    const bool newEntry =
        lstClient->list(index) == NewClientEntry && lstClient->itemData(index) == 0;
    if (!newEntry) {
        SetTag(txtClient, QString::number(lstClient->itemData(index)));
        txtClient->setText(lstClient->list(index));
        txtRequirment->setFocus(Qt::OtherFocusReason);
        lstClient->hide();
        return;
    }
    OpenClientWindow();
}

void frmEnquiryRegister::OpenClientWindow()
{
    SetTag(lblClient, QStringLiteral("EXIT"));
    auto* f = new frmClient(this);
    f->strCltFormMode = QStringLiteral("CREATE");
    modAdmin::FromEnquiryRegister = true;
    modAdmin::EnquiryClientList = lstClient;
    ShowModal(f);
}

void frmEnquiryRegister::OpenServiceWindow(const QString& mode)
{
    modAdmin::FromEnquiryRegister = true;
    auto* f = new frmServices(this);
    f->strServices = mode;
    ShowModal(f);
}
