#include "screens/masters/frmClient.h"

#include "app/ModAdmin.h"
#include "data/Recordset.h"
#include "data/SqlText.h"
#include "screens/masters/ClientSave.h"
#include "ui/Convert.h"
#include "ui/ErrorReport.h"
#include "ui/FormRows.h"
#include "ui/KeyFilters.h"
#include "ui/ListBox.h"
#include "ui/MsgBox.h"
#include "ui/Tag.h"
#include "ui/Toolbar.h"
#include "ui/WindowClose.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

const FormRows Form{
    .labelX = 14, .labelWidth = 70, .fieldX = 90, .fieldWidth = 270, .firstY = 16, .step = 32};

} // namespace

frmClient::frmClient(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmClient"));
    setWindowTitle(QStringLiteral("Client"));
    buildLayout();

    AttachKeyHandling(txtName, KeyFilter::Apostrophe, txtPhone, true);
    AttachKeyHandling(txtPhone, KeyFilter::Apostrophe, txtMobile);
    AttachKeyHandling(txtMobile, KeyFilter::Apostrophe, txtAddress);
    AttachKeyHandling(txtAddress, KeyFilter::Apostrophe, txtCity, true);
    AttachKeyHandling(txtCity, KeyFilter::Apostrophe, cmdOK, true);

    connect(cmdOK, &QPushButton::clicked, this, &frmClient::cmdOK_Click);
    AttachWindowClose(this, cmdClose);
}

frmClient::~frmClient()
{
    // Closed without saving: the register's request ends with this window,
    // so that no later client window hands a client to it.
    if (m_askedByRegister && modAdmin::FromEnquiryRegister) {
        modAdmin::FromEnquiryRegister = false;
        if (modAdmin::EnquiryClientList == m_registerList)
            modAdmin::EnquiryClientList = nullptr;
    }
}

void frmClient::buildLayout()
{
    setFixedSize(400, 292);

    tbrClient = new Toolbar(this);
    tbrClient->setObjectName(QStringLiteral("tbrClient"));
    tbrClient->setGeometry(0, 0, width(), 28);

    fraClient = new QFrame(this);
    fraClient->setObjectName(QStringLiteral("fraClient"));
    fraClient->setGeometry(10, 36, 380, 200);
    fraClient->setFrameShape(QFrame::StyledPanel);

    txtName = Form.field(fraClient, QStringLiteral("txtName"), 0, 30);
    lblName = Form.label(fraClient, QStringLiteral("lblName"), QStringLiteral("Name"), 0, txtName);
    txtPhone = Form.field(fraClient, QStringLiteral("txtPhone"), 1, 12);
    lblPhone =
        Form.label(fraClient, QStringLiteral("lblPhone"), QStringLiteral("Phone"), 1, txtPhone);
    txtMobile = Form.field(fraClient, QStringLiteral("txtMobile"), 2, 12);
    lblMobile =
        Form.label(fraClient, QStringLiteral("lblMobile"), QStringLiteral("Mobile"), 2, txtMobile);
    txtAddress = Form.field(fraClient, QStringLiteral("txtAddress"), 3, 30);
    lblAddress = Form.label(fraClient, QStringLiteral("lblAddress"), QStringLiteral("Address"), 3,
                            txtAddress);
    // The city is the address's second line.
    txtCity = Form.field(fraClient, QStringLiteral("txtCity"), 4, 30);

    cmdOK = new QPushButton(this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setGeometry(200, 248, 90, 30);
    cmdClose = new QPushButton(QStringLiteral("&Close"), this);
    cmdClose->setObjectName(QStringLiteral("cmdClose"));
    cmdClose->setGeometry(300, 248, 90, 30);

    setTabOrder(txtName, txtPhone);
    setTabOrder(txtPhone, txtMobile);
    setTabOrder(txtMobile, txtAddress);
    setTabOrder(txtAddress, txtCity);
    setTabOrder(txtCity, cmdOK);
    setTabOrder(cmdOK, cmdClose);
}

void frmClient::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!m_loaded)
        Form_Load();
    txtName->setFocus(Qt::OtherFocusReason);
}

void frmClient::Form_Load()
{
    m_loaded = true;
    // Only the register's own request, made for this new client, is
    // answered with a hand-back.
    if (strCltFormMode == QLatin1String("CREATE") && modAdmin::FromEnquiryRegister &&
        modAdmin::EnquiryClientList) {
        m_askedByRegister = true;
        m_registerList = modAdmin::EnquiryClientList;
    }
    ErrorReport(this, [this] { ResetClientWindow(); });
}

void frmClient::ResetClientWindow()
{
    modAdmin::ClearControls(this);

    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(0, 153, 204));
    setPalette(pal);
    setAutoFillBackground(true);

    setWindowTitle(ProperCase(strCltFormMode) + QStringLiteral(" Client"));
    cmdOK->setText(ProperCase(strCltFormMode));
    SetTag(txtName, QString::number(modAdmin::NextNumber(QStringLiteral("mstClient"),
                                                         QStringLiteral("cltCode"))));
}

void frmClient::ShowClient(qint32 clCode)
{
    if (!m_loaded)
        Form_Load();
    ErrorReport(this, [this, clCode] {
        data::Recordset rs(
            QStringLiteral("select * from mstclient where cltcode=") + QString::number(clCode),
            modAdmin::DbConnection, data::CursorType::Keyset, data::LockType::BatchOptimistic);
        if (!rs.eof()) {
            SetTag(txtName, rs.text(QStringLiteral("cltCode")));
            txtName->setText(rs.text(QStringLiteral("cltName")));
            txtAddress->setText(rs.text(QStringLiteral("cltAddress")));
            txtCity->setText(rs.text(QStringLiteral("cltCity")));
            txtMobile->setText(rs.text(QStringLiteral("cltMobile")));
            txtPhone->setText(rs.text(QStringLiteral("cltPhone")));
        }
        rs.close();
    });
}

bool frmClient::ValidateClient()
{
    auto refuse = [this](const QString& message, QWidget* focus) {
        MsgBox::information(this, message);
        focus->setFocus(Qt::OtherFocusReason);
        return false;
    };
    if (txtName->text().isEmpty())
        return refuse(QStringLiteral("Please Enter a Name!"), txtName);
    if (txtPhone->text().isEmpty() && txtMobile->text().isEmpty())
        return refuse(QStringLiteral("Please Enter Phone No:!"), txtPhone);
    if (strCltFormMode == QLatin1String("CREATE") && ClientNameExists(txtName->text()))
        return refuse(QStringLiteral("Name already exists"), txtName);
    return true;
}

void frmClient::InsertClient()
{
    const ClientInput in{txtName->text(), txtPhone->text(), txtMobile->text(), txtAddress->text(),
                         txtCity->text()};
    SetTag(txtName, QString::number(InsertClientRecord(in)));
}

void frmClient::UpdateClient()
{
    const ClientInput in{txtName->text(), txtPhone->text(), txtMobile->text(), txtAddress->text(),
                         txtCity->text()};
    UpdateClientRecord(ui::ToLong(data::NumericText(Tag(txtName))), in);
}

void frmClient::cmdOK_Click()
{
    // A refused insert or update is reported; its transaction is rolled
    // back and the window stays open with what was typed.
    ErrorReport(this, [this] {
        if (!ValidateClient())
            return;
        if (strCltFormMode == QLatin1String("CREATE")) {
            InsertClient();
        } else if (strCltFormMode == QLatin1String("MODIFY")) {
            UpdateClient();
            close();
            return;
        }
        if (m_askedByRegister && modAdmin::FromEnquiryRegister)
            HandBackToRegister();
    });
}

void frmClient::HandBackToRegister()
{
    modAdmin::FromEnquiryRegister = false;
    if (ListBox* list = m_registerList) {
        const QString name = txtName->text();
        list->addItem(name);
        list->setItemData(list->newIndex(), ui::ToLong(Tag(txtName)));
        QWidget* reg = list->window();
        if (auto* client = reg->findChild<QLineEdit*>(QStringLiteral("txtClient"))) {
            const bool unchanged = client->text() == name;
            client->setText(name);
            SetTag(client, Tag(txtName));
            // The register's marker swallows the change just made; with the
            // text already standing there, there was none to swallow.
            if (unchanged)
                if (auto* marker = reg->findChild<QLabel*>(QStringLiteral("lblClient"));
                    marker && Tag(marker) == QLatin1String("EXIT"))
                    SetTag(marker, QString());
        }
        if (auto* requirement = reg->findChild<QWidget*>(QStringLiteral("txtRequirment")))
            requirement->setFocus(Qt::OtherFocusReason);
    }
    modAdmin::EnquiryClientList = nullptr;
    m_askedByRegister = false;
    close();
}
