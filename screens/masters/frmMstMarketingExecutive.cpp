#include "screens/masters/frmMstMarketingExecutive.h"

#include "app/ModAdmin.h"
#include "app/NewRecord.h"
#include "data/DbError.h"
#include "data/Recordset.h"
#include "data/SqlText.h"
#include "ui/ErrorReport.h"
#include "ui/FormRows.h"
#include "ui/KeyFilters.h"
#include "ui/ListBox.h"
#include "ui/MsgBox.h"
#include "ui/PickList.h"
#include "ui/Tag.h"
#include "ui/TextField.h"
#include "ui/Toolbar.h"
#include "ui/WindowClose.h"

#include <QAction>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPushButton>
#include <QToolButton>

namespace {

const QString Create = QStringLiteral("CREATE");
const QString Modify = QStringLiteral("MODIFY");
const QString Delete = QStringLiteral("DELETE");

// The login code of a user is held in 16 bits, so no sales person may get
// a code above this.
constexpr qint32 LargestCode = 32767;

constexpr int WindowWidth = 420;
constexpr int ListHeight = 110;
const FormRows Form{
    .labelX = 14, .labelWidth = 112, .fieldX = 132, .fieldWidth = 250, .firstY = 16, .step = 34};

ListBox* MakeList(const QString& name, QWidget* parent)
{
    auto* list = new ListBox(parent);
    list->setObjectName(name);
    list->hide();
    return list;
}

// The pictures of the mode buttons: a person with a badge for the mode.
QIcon ModeIcon(const QString& mode)
{
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(40, 70, 120));
    p.drawEllipse(QRectF(7, 3, 12, 12));
    QPainterPath body;
    body.addRoundedRect(QRectF(3, 16, 20, 14), 6, 6);
    p.drawPath(body);

    const QRectF badge(17, 17, 14, 14);
    QPen pen(Qt::white, 2.2, Qt::SolidLine, Qt::RoundCap);
    if (mode == Create) {
        p.setBrush(QColor(30, 150, 60));
        p.drawEllipse(badge);
        p.setPen(pen);
        p.drawLine(QPointF(24, 20), QPointF(24, 28));
        p.drawLine(QPointF(20, 24), QPointF(28, 24));
    } else if (mode == Modify) {
        p.setBrush(QColor(220, 150, 20));
        p.drawEllipse(badge);
        p.setPen(pen);
        p.drawLine(QPointF(20.5, 27.5), QPointF(27.5, 20.5));
    } else {
        p.setBrush(QColor(200, 40, 40));
        p.drawEllipse(badge);
        p.setPen(pen);
        p.drawLine(QPointF(21, 21), QPointF(27, 27));
        p.drawLine(QPointF(27, 21), QPointF(21, 27));
    }
    return QIcon(pixmap);
}

} // namespace

frmMstMarketingExecutive::frmMstMarketingExecutive(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmMstMarketingExecutive"));
    setWindowTitle(QStringLiteral("Sales Person"));
    buildMenu();
    buildToolbar();
    buildLayout();
    attachBehaviour();
}

void frmMstMarketingExecutive::buildMenu()
{
    menuBar = new QMenuBar(this);
    menuBar->setObjectName(QStringLiteral("menuBar"));
    mnuAction = menuBar->addMenu(QStringLiteral("&Action"));
    mnuAction->setObjectName(QStringLiteral("mnuAction"));
    mnuCreate = mnuAction->addAction(QStringLiteral("&Create"));
    mnuCreate->setObjectName(QStringLiteral("mnuCreate"));
    mnuModify = mnuAction->addAction(QStringLiteral("&Modify"));
    mnuModify->setObjectName(QStringLiteral("mnuModify"));
    mnuDelete = mnuAction->addAction(QStringLiteral("&Delete"));
    mnuDelete->setObjectName(QStringLiteral("mnuDelete"));
    mnuSep = mnuAction->addSeparator();
    mnuSep->setObjectName(QStringLiteral("mnuSep"));
    mnuClose = mnuAction->addAction(QStringLiteral("&Close"));
    mnuClose->setObjectName(QStringLiteral("mnuClose"));
}

void frmMstMarketingExecutive::buildToolbar()
{
    tbrExecutive = new Toolbar(this);
    tbrExecutive->setObjectName(QStringLiteral("tbrExecutive"));
    tbrExecutive->setIconSize(QSize(32, 32));
    tbrExecutive->setAutoFillBackground(true);
    const struct {
        QString key;
        QString toolTip;
        QString caption;
    } buttons[] = {
        {Create, QStringLiteral("Create Marketing Executive"), QStringLiteral("Create")},
        {Modify, QStringLiteral("Modify Marketing Executive"), QStringLiteral("Modify")},
        {Delete, QStringLiteral("Delete Marketing Executive"), QStringLiteral("Delete")},
    };
    for (const auto& b : buttons) {
        ToolbarButton* button =
            tbrExecutive->addButton(b.key, b.toolTip, b.caption, ModeIcon(b.key));
        // The toolbar is worked with the mouse; the keyboard starts in txtName.
        button->widget()->setFocusPolicy(Qt::NoFocus);
    }
}

void frmMstMarketingExecutive::buildLayout()
{
    const int menuHeight = menuBar->sizeHint().height();
    menuBar->setGeometry(0, 0, WindowWidth, menuHeight);
    const int toolbarHeight = tbrExecutive->sizeHint().height();
    tbrExecutive->setGeometry(0, menuHeight, WindowWidth, toolbarHeight);

    fraExecutive = new QFrame(this);
    fraExecutive->setObjectName(QStringLiteral("fraExecutive"));
    fraExecutive->setFrameShape(QFrame::StyledPanel);
    fraExecutive->setGeometry(10, menuHeight + toolbarHeight + 8, WindowWidth - 20,
                              Form.rowY(6) + 4);

    txtName = Form.field(fraExecutive, QStringLiteral("txtName"), 0, 30);
    lblName =
        Form.label(fraExecutive, QStringLiteral("lblName"), QStringLiteral("Name"), 0, txtName);
    txtPost = Form.field(fraExecutive, QStringLiteral("txtPost"), 1, 25);
    lblPost =
        Form.label(fraExecutive, QStringLiteral("lblPost"), QStringLiteral("Post"), 1, txtPost);
    txtUserID = Form.field(fraExecutive, QStringLiteral("txtUserID"), 2, 10);
    lblUID =
        Form.label(fraExecutive, QStringLiteral("lblUID"), QStringLiteral("User ID"), 2, txtUserID);
    txtPassword = Form.field(fraExecutive, QStringLiteral("txtPassword"), 3, 8);
    SetPasswordField(txtPassword);
    lblPassword = Form.label(fraExecutive, QStringLiteral("lblPassword"),
                             QStringLiteral("Password"), 3, txtPassword);
    txtCPassword = Form.field(fraExecutive, QStringLiteral("txtCPassword"), 4, 8);
    SetPasswordField(txtCPassword);
    lblCPassword = Form.label(fraExecutive, QStringLiteral("lblCPassword"),
                              QStringLiteral("Confirm Password"), 4, txtCPassword);
    txtDivision = Form.field(fraExecutive, QStringLiteral("txtDivision"), 5, 20);
    lblDivision = Form.label(fraExecutive, QStringLiteral("lblDivision"),
                             QStringLiteral("Division"), 5, txtDivision);

    const int buttonY = fraExecutive->geometry().bottom() + 12;
    cmdOK = new QPushButton(QStringLiteral("&OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setGeometry(WindowWidth - 210, buttonY, 95, 30);
    cmdClose = new QPushButton(QStringLiteral("&Close"), this);
    cmdClose->setObjectName(QStringLiteral("cmdClose"));
    cmdClose->setGeometry(WindowWidth - 105, buttonY, 95, 30);
    setFixedSize(WindowWidth, buttonY + 30 + 12);

    // The lists belong to the window, not the frame, so that they can drop
    // down over the controls below their fields.
    lstName = MakeList(QStringLiteral("lstName"), this);
    lstPost = MakeList(QStringLiteral("lstPost"), this);
    lstDivision = MakeList(QStringLiteral("lstDivision"), this);
    placeLists();

    // A list hidden while it has the focus hands it on to the next field.
    setTabOrder(txtName, lstName);
    setTabOrder(lstName, txtPost);
    setTabOrder(txtPost, lstPost);
    setTabOrder(lstPost, txtUserID);
    setTabOrder(txtUserID, txtPassword);
    setTabOrder(txtPassword, txtCPassword);
    setTabOrder(txtCPassword, txtDivision);
    setTabOrder(txtDivision, lstDivision);
    setTabOrder(lstDivision, cmdOK);
    setTabOrder(cmdOK, cmdClose);
}

void frmMstMarketingExecutive::placeLists()
{
    auto place = [this](ListBox* list, QLineEdit* field) {
        const QPoint below = field->mapTo(this, QPoint(0, field->height()));
        const int room = height() - below.y() - 4;
        list->setGeometry(below.x(), below.y(), field->width(), qMin(ListHeight, room));
    };
    place(lstName, txtName);
    place(lstPost, txtPost);
    place(lstDivision, txtDivision);
}

void frmMstMarketingExecutive::attachBehaviour()
{
    // Every key press in txtName first hides the name list.
    AttachKeyHandling(txtName, KeyFilter::Apostrophe, txtPost, true, [this] { lstName->hide(); });
    AttachKeyHandling(txtPost, KeyFilter::Apostrophe, txtUserID, true);
    AttachKeyHandling(txtUserID, KeyFilter::Apostrophe, txtPassword);
    AttachKeyHandling(txtPassword, KeyFilter::Apostrophe, txtCPassword);
    AttachKeyHandling(txtCPassword, KeyFilter::Apostrophe, txtDivision);
    AttachKeyHandling(txtDivision, KeyFilter::Apostrophe, cmdOK, true);

    PickList::Config names;
    names.active = [this] { return strFormMode == Modify || strFormMode == Delete; };
    names.emptyTest = PickList::EmptyTest::Trimmed;
    names.emptyAction = PickList::EmptyAction::Nothing;
    names.sourceQuery = QStringLiteral("SELECT * FROM mstExecutive where exeRole<>'A'");
    names.matchColumn = QStringLiteral("exeName");
    names.displayColumn = QStringLiteral("exeName");
    names.dataColumn = QStringLiteral("exeCode");
    names.suppressMarker = lstName;
    namePicks = new PickList(txtName, lstName, modAdmin::DbConnection, names); // owned by txtName

    PickList::Config posts;
    posts.active = [this] { return strFormMode == Create; };
    posts.hideFirst = true;
    posts.sourceQuery =
        QStringLiteral("select distinct(exepost) as post from mstexecutive where exeRole<>'A'");
    posts.matchColumn = QStringLiteral("post");
    posts.displayColumn = QStringLiteral("post");
    postPicks = new PickList(txtPost, lstPost, modAdmin::DbConnection, posts);
    postPicks->attachChoice(txtUserID);

    PickList::Config divisions;
    divisions.active = [this] { return strFormMode == Create; };
    divisions.hideFirst = true;
    divisions.sourceQuery = QStringLiteral(
        "select distinct(exedivision) as division from mstexecutive where exerole<>'A'");
    divisions.matchColumn = QStringLiteral("division");
    divisions.displayColumn = QStringLiteral("Division");
    divisionPicks = new PickList(txtDivision, lstDivision, modAdmin::DbConnection, divisions);
    divisionPicks->attachChoice(cmdOK);

    // Enter or a double-click in the name list loads the person.
    connect(lstName, &ListBox::keyPress, this, [this](int& keyAscii) {
        if (keyAscii == KeyCode::Enter) {
            keyAscii = KeyCode::None;
            lstName_Choose();
        }
    });
    connect(lstName, &ListBox::dblClick, this, &frmMstMarketingExecutive::lstName_Choose);

    connect(tbrExecutive, &Toolbar::buttonClick, this,
            &frmMstMarketingExecutive::tbrExecutive_ButtonClick);
    connect(mnuCreate, &QAction::triggered, this, [this] { tbrExecutive_ButtonClick(Create); });
    connect(mnuModify, &QAction::triggered, this, [this] { tbrExecutive_ButtonClick(Modify); });
    connect(mnuDelete, &QAction::triggered, this, [this] { tbrExecutive_ButtonClick(Delete); });
    connect(cmdOK, &QPushButton::clicked, this, &frmMstMarketingExecutive::cmdOK_Click);
    AttachWindowClose(this, cmdClose);
    AttachWindowClose(this, mnuClose);
}

void frmMstMarketingExecutive::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!m_loaded)
        Form_Load();
}

void frmMstMarketingExecutive::Form_Load()
{
    m_loaded = true;
    ErrorReport(this, [this] { ResetExecutiveWindow(); });
    txtName->setFocus(Qt::OtherFocusReason);
}

void frmMstMarketingExecutive::ResetExecutiveWindow()
{
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(0, 159, 204));
    setPalette(pal);
    setAutoFillBackground(true);

    m_picked = false;
    modAdmin::ClearControls(this);
    setWindowTitle(ProperCase(strFormMode) + QStringLiteral(" Sales Person"));
    SetTag(txtName, QString::number(modAdmin::NextNumber(QStringLiteral("mstExecutive"),
                                                         QStringLiteral("exeCode"))));
    lstName->hide();
    lstPost->hide();
    lstDivision->hide();
    if (isVisible())
        txtName->setFocus(Qt::OtherFocusReason);
}

void frmMstMarketingExecutive::tbrExecutive_ButtonClick(const QString& key)
{
    if (key == Create || key == Modify || key == Delete)
        strFormMode = key;
    ErrorReport(this, [this] { ResetExecutiveWindow(); });
}

void frmMstMarketingExecutive::lstName_Choose()
{
    // The marker keeps the name written by the load from refreshing the
    // list; it is cleared afterwards in case the text did not change.
    SetTag(lstName, QStringLiteral("EXIT"));
    ErrorReport(this, [this] { LoadSelectedExecutive(); });
    SetTag(lstName, QString());
}

void frmMstMarketingExecutive::LoadSelectedExecutive()
{
    const int index = lstName->listIndex();
    if (index < 0)
        return;
    data::Recordset rs(QStringLiteral("SELECT * FROM mstExecutive WHERE exeCode=") +
                           QString::number(lstName->itemData(index)),
                       modAdmin::DbConnection);
    if (!rs.eof()) {
        SetTag(txtName, rs.text(QStringLiteral("exeCode")));
        txtName->setText(rs.text(QStringLiteral("exeName")));
        txtPost->setText(rs.text(QStringLiteral("exePost")));
        txtUserID->setText(rs.text(QStringLiteral("exeUID")));
        txtPassword->setText(rs.text(QStringLiteral("exePassword")));
        txtDivision->setText(rs.text(QStringLiteral("exeDivision")));
        txtCPassword->setText(txtPassword->text());
        m_picked = true;
    }
    rs.close();
    lstName->hide();
}

void frmMstMarketingExecutive::cmdOK_Click()
{
    ErrorReport(this, [this] {
        if (!ValidateExecutive())
            return;
        if (strFormMode == Create) {
            InsertExecutive();
        } else if (strFormMode == Modify) {
            UpdateExecutive();
        } else if (strFormMode == Delete) {
            if (MsgBox::confirm(this, QStringLiteral("Are you sure to delete?")))
                DeleteExecutive();
        }
        ResetExecutiveWindow();
    });
}

QString frmMstMarketingExecutive::CodeText() const
{
    return data::NumericText(Tag(txtName));
}

bool frmMstMarketingExecutive::NameTaken(const QString& name) const
{
    QString sql =
        QStringLiteral("SELECT exeCode FROM mstExecutive WHERE exeName =") + data::Quote(name);
    // A person being changed may keep their own name.
    if (strFormMode == Modify)
        sql += QStringLiteral(" AND exeCode<>") + CodeText();
    data::Recordset rs(sql, modAdmin::DbConnection);
    const bool taken = !rs.eof();
    rs.close();
    return taken;
}

bool frmMstMarketingExecutive::ValidateExecutive()
{
    auto refuse = [this](const QString& message, QWidget* focus) {
        MsgBox::information(this, message);
        focus->setFocus(Qt::OtherFocusReason);
        return false;
    };

    if (strFormMode == Delete) {
        data::Recordset rs(
            QStringLiteral("SELECT enqExeCode FROM trnEnquiryRegister WHERE enqExecode=") +
                CodeText(),
            modAdmin::DbConnection);
        const bool inUse = !rs.eof();
        rs.close();
        if (inUse) {
            MsgBox::information(this, QStringLiteral("Cannot Delete Record, Already in use!"));
            return false;
        }
        return true;
    }

    if (strFormMode == Modify && !m_picked)
        return refuse(QStringLiteral("Please Select a Sales Person"), txtName);
    // A text of blanks only would be stored as the empty text: a nameless
    // person, or a login with an empty user ID or password.
    if (txtName->text().trimmed().isEmpty())
        return refuse(QStringLiteral("Please Enter Name!"), txtName);
    if (txtUserID->text().trimmed().isEmpty())
        return refuse(QStringLiteral("Please Enter UserID!"), txtUserID);
    if (txtPassword->text().trimmed().isEmpty())
        return refuse(QStringLiteral("Please Enter a Password!"), txtPassword);
    if (txtCPassword->text().trimmed().isEmpty())
        return refuse(QStringLiteral("Please confirm the Password!"), txtCPassword);
    if (txtPassword->text().trimmed() != txtCPassword->text().trimmed()) {
        MsgBox::plain(this, QStringLiteral("Please re-enter passwords!"));
        txtPassword->clear();
        txtCPassword->clear();
        txtPassword->setFocus(Qt::OtherFocusReason);
        return false;
    }
    if ((strFormMode == Create || strFormMode == Modify) && NameTaken(txtName->text().trimmed()))
        return refuse(QStringLiteral("Name already exists!"), txtName);
    return true;
}

void frmMstMarketingExecutive::InsertExecutive()
{
    // The code is taken under the write lock of the insert, so that a second
    // program saving at the same moment cannot take it too.
    const qint32 code = modAdmin::SaveWithNextNumber(
        QStringLiteral("mstExecutive"), QStringLiteral("exeCode"), [this](qint32 next) {
            if (next > LargestCode)
                throw data::DbError(
                    QStringLiteral("Overflow: no sales person can be created with a code "
                                   "above %1, because such a person could not log in.")
                        .arg(LargestCode));
            // Checked again under the lock: a second program may have
            // created a person of that name since ValidateExecutive looked.
            if (NameTaken(txtName->text().trimmed()))
                throw data::DbError(QStringLiteral("Name already exists!"));
            modAdmin::DbConnection.execute(
                QStringLiteral("INSERT INTO mstExecutive(exeCode,exeName,exePost,exeUID,"
                               "exePassword,exeDivision,exeRole)VALUES(") +
                QString::number(next) + QLatin1Char(',') + data::Quote(txtName->text().trimmed()) +
                QLatin1Char(',') + data::Quote(txtPost->text().trimmed()) + QLatin1Char(',') +
                data::Quote(txtUserID->text().trimmed()) + QLatin1Char(',') +
                data::Quote(txtPassword->text().trimmed()) + QLatin1Char(',') +
                data::Quote(txtDivision->text().trimmed()) + QStringLiteral(",'U')"));
        });
    SetTag(txtName, QString::number(code));
}

void frmMstMarketingExecutive::UpdateExecutive()
{
    if (!m_picked)
        return;
    modAdmin::DbConnection.execute(
        QStringLiteral("UPDATE mstExecutive SET exeName=") +
        data::Quote(txtName->text().trimmed()) + QStringLiteral(",exePost=") +
        data::Quote(txtPost->text().trimmed()) + QStringLiteral(",exeUID=") +
        data::Quote(txtUserID->text().trimmed()) + QStringLiteral(",exePassword=") +
        data::Quote(txtPassword->text().trimmed()) + QStringLiteral(",exeDivision=") +
        data::Quote(txtDivision->text().trimmed()) + QStringLiteral(" WHERE exeCode=") +
        CodeText());
}

void frmMstMarketingExecutive::DeleteExecutive()
{
    modAdmin::DbConnection.execute(QStringLiteral("DELETE FROM mstExecutive WHERE exeCode=") +
                                   CodeText());
}
