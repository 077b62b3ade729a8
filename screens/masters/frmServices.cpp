#include "screens/masters/frmServices.h"

#include "app/ModAdmin.h"
#include "app/NewRecord.h"
#include "data/DbError.h"
#include "data/Recordset.h"
#include "data/SqlText.h"
#include "ui/ComboBox.h"
#include "ui/ErrorReport.h"
#include "ui/KeyFilters.h"
#include "ui/MsgBox.h"
#include "ui/Tag.h"
#include "ui/WindowClose.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

frmServices::frmServices(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmServices"));
    setFixedSize(330, 138);

    fraService = new QFrame(this);
    fraService->setObjectName(QStringLiteral("fraService"));
    fraService->setGeometry(10, 10, 310, 72);
    fraService->setFrameShape(QFrame::StyledPanel);

    lblName = new QLabel(QStringLiteral("&Name"), fraService);
    lblName->setObjectName(QStringLiteral("lblName"));
    lblName->setGeometry(16, 24, 60, 24);
    txtName = new QLineEdit(fraService);
    txtName->setObjectName(QStringLiteral("txtName"));
    txtName->setGeometry(80, 24, 212, 24);
    txtName->setMaxLength(20);
    lblName->setBuddy(txtName);

    cmdOK = new QPushButton(QStringLiteral("&OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setGeometry(130, 94, 90, 30);
    cmdClose = new QPushButton(QStringLiteral("&Close"), this);
    cmdClose->setObjectName(QStringLiteral("cmdClose"));
    cmdClose->setGeometry(230, 94, 90, 30);
    setTabOrder(txtName, cmdOK);
    setTabOrder(cmdOK, cmdClose);

    AttachKeyHandling(txtName, KeyFilter::Apostrophe, cmdOK, true);
    connect(cmdOK, &QPushButton::clicked, this, &frmServices::cmdOK_Click);
    AttachWindowClose(this, cmdClose);
}

frmServices::~frmServices()
{
    // Closed without saving: the register's request ends with this window.
    if (m_askedByRegister && modAdmin::FromEnquiryRegister)
        modAdmin::FromEnquiryRegister = false;
}

void frmServices::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!m_loaded) {
        m_loaded = true;
        Form_Load();
    }
    txtName->setFocus(Qt::OtherFocusReason);
}

void frmServices::Form_Load()
{
    // Only a register that opened this window itself gets the name back.
    QWidget* opener = parentWidget() ? parentWidget()->window() : nullptr;
    if (modAdmin::FromEnquiryRegister && opener &&
        opener->objectName() == QLatin1String("frmEnquiryRegister")) {
        m_askedByRegister = true;
        m_register = opener;
    }
    ErrorReport(this, [this] {
        SetTag(lblName, QString::number(modAdmin::NextNumber(QStringLiteral("mstService"),
                                                             QStringLiteral("srNo"))));
        if (strServices == QLatin1String("SEGMENT"))
            setWindowTitle(QStringLiteral("CREATE SEGMENT"));
        else if (strServices == QLatin1String("SERVICE"))
            setWindowTitle(QStringLiteral("CREATE SERVICE"));
    });
}

QString frmServices::TypeCode() const
{
    if (strServices == QLatin1String("SERVICE"))
        return QStringLiteral("SR");
    if (strServices == QLatin1String("SEGMENT"))
        return QStringLiteral("SG");
    return QString();
}

void frmServices::cmdOK_Click()
{
    ErrorReport(this, [this] {
        const QString name = txtName->text().trimmed();
        // Services and segments share one set of names.
        auto nameExists = [&name] {
            data::Recordset rs(QStringLiteral("SELECT * FROM mstService WHERE Name =") +
                                   data::Quote(name),
                               modAdmin::DbConnection);
            return !rs.eof();
        };
        if (nameExists()) {
            MsgBox::information(this, QStringLiteral("Name already exists"));
            txtName->setFocus(Qt::OtherFocusReason);
            return;
        }
        // The code is taken again now, under the write lock of the insert,
        // so that neither a second save nor a second program reuses it.
        const qint32 code = modAdmin::SaveWithNextNumber(
            QStringLiteral("mstService"), QStringLiteral("srNo"), [&](qint32 srNo) {
                // Checked again under the write lock, against another program.
                if (nameExists())
                    throw data::DbError(QStringLiteral("Name already exists"));
                modAdmin::DbConnection.execute(
                    QStringLiteral("INSERT INTO mstService(srNo,Name,Type)VALUES(") +
                    QString::number(srNo) + QLatin1Char(',') + data::Quote(name) +
                    QLatin1Char(',') + data::Quote(TypeCode()) + QLatin1Char(')'));
            });
        SetTag(lblName, QString::number(code));
        if (m_askedByRegister && modAdmin::FromEnquiryRegister)
            HandBackToRegister();
    });
}

void frmServices::HandBackToRegister()
{
    modAdmin::FromEnquiryRegister = false;
    m_askedByRegister = false;
    const QString boxName = strServices == QLatin1String("SEGMENT")   ? QStringLiteral("cboSegment")
                            : strServices == QLatin1String("SERVICE") ? QStringLiteral("cboService")
                                                                      : QString();
    if (m_register && !boxName.isEmpty())
        if (auto* box = m_register->findChild<ComboBox*>(boxName)) {
            box->addItem(txtName->text());
            box->setListIndex(box->newIndex());
        }
    close();
}
