#include "screens/enquiry/frmEnquiryStatus.h"

#include "app/ModAdmin.h"
#include "data/Recordset.h"
#include "data/SqlText.h"
#include "screens/enquiry/EnquirySave.h"
#include "screens/enquiry/frmViewHistory.h"
#include "ui/BusyCursor.h"
#include "ui/DateCheck.h"
#include "ui/ErrorReport.h"
#include "ui/Grid.h"
#include "ui/KeyFilters.h"
#include "ui/MaskEdBox.h"
#include "ui/Modal.h"
#include "ui/MsgBox.h"
#include "ui/ReportControl.h"
#include "ui/Tag.h"
#include "ui/WindowClose.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QHash>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <algorithm>
#include <memory>
#include <vector>

namespace {

const QString kGridFormat =
    QStringLiteral("Code|<Origin Date|Service Type      |cltcode |Client                          "
                   "                             |<FollUp Date |Status           |% ");

template <class T> T* named(T* widget, const char* name)
{
    widget->setObjectName(QLatin1String(name));
    return widget;
}

// A cell of a tab-separated grid row: a tab inside a value would shift
// the cells after it.
QString CellText(QString text)
{
    if (text.contains(QLatin1Char('\t')))
        text.replace(QLatin1Char('\t'), QLatin1Char(' '));
    return text;
}

// Builds the tab-separated text of grid rows from result fields with one
// allocation per row; the dates of a list repeat, so the text of each day
// is made once.
class GridRowText {
public:
    explicit GridRowText(const data::Recordset& rs) : m_rs(rs) { m_line.reserve(kReserve); }

    // The field as the next cell.
    GridRowText& cell(int index)
    {
        if (m_cells > 0)
            m_line += QLatin1Char('\t');
        ++m_cells;
        return append(index);
    }
    // The field added to the current cell.
    GridRowText& append(int index)
    {
        const QVariant value = m_rs.field(index);
        switch (value.typeId()) {
        case QMetaType::QString:
            appendText(value.toString());
            break;
        case QMetaType::QDate: {
            const qint64 day = value.toDate().toJulianDay();
            auto it = m_dates.constFind(day);
            if (it == m_dates.constEnd())
                it = m_dates.insert(day, data::FieldText(value));
            m_line += *it;
            break;
        }
        default:
            m_line += data::FieldText(value);
        }
        return *this;
    }
    GridRowText& append(QLatin1Char c)
    {
        m_line += c;
        return *this;
    }
    QString take()
    {
        QString row = std::move(m_line);
        m_line = QString();
        m_line.reserve(kReserve);
        m_cells = 0;
        return row;
    }

private:
    static constexpr qsizetype kReserve = 160;
    void appendText(const QString& text) { m_line += CellText(text); }

    const data::Recordset& m_rs;
    QString m_line;
    int m_cells = 0;
    QHash<qint64, QString> m_dates;
};

// Position of a result column by name; the queries differ in their order.
int column(const data::Recordset& rs, const QString& name)
{
    for (int i = 0; i < rs.fieldCount(); ++i)
        if (rs.fieldName(i).compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return rs.fieldCount(); // reading it raises the layer's error
}

// A date read from the database as a date literal; a missing date as NULL.
QString DateLiteralOrNull(const QVariant& value)
{
    const QDate date = value.toDate();
    return date.isValid() ? EnquiryDateLiteral(date) : QStringLiteral("NULL");
}

bool IsAdministrator()
{
    return modAdmin::CurrentRole == QLatin1String("A");
}

} // namespace

frmEnquiryStatus::frmEnquiryStatus(QWidget* parent) : QDialog(parent)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName(QStringLiteral("frmEnquiryStatus"));
    setWindowTitle(QStringLiteral("Enquiry Status"));
    CreateControls();
    // Nothing is read from the opener, so the window prepares itself here.
    Form_Load();
}

void frmEnquiryStatus::CreateControls()
{
    auto* lblFrom = named(new QLabel(QStringLiteral("From"), this), "lblFrom");
    mskFrom = named(new MaskEdBox(this), "mskFrom");
    auto* lblTo = named(new QLabel(QStringLiteral("To"), this), "lblTo");
    mskTo = named(new MaskEdBox(this), "mskTo");
    lblFrom->setBuddy(mskFrom);
    lblTo->setBuddy(mskTo);
    mskFrom->setFixedWidth(95);
    mskTo->setFixedWidth(95);

    fraDate = named(new QGroupBox(QStringLiteral("Filter Date"), this), "fraDate");
    optOrigin = named(new QRadioButton(QStringLiteral("Date of Origin"), fraDate), "optOrigin");
    optFDate = named(new QRadioButton(QStringLiteral("Follow Date"), fraDate), "optFDate");
    optOrigin->setChecked(true);
    auto* options = new QHBoxLayout(fraDate);
    options->addWidget(optOrigin);
    options->addWidget(optFDate);

    cmdShow = named(new QPushButton(QStringLiteral("Show"), this), "cmdShow");
    cmdPrint = named(new QPushButton(QStringLiteral("&Print"), this), "cmdPrint");
    cmdClose = named(new QPushButton(QStringLiteral("Close"), this), "cmdClose");

    grdStatus = named(new Grid(this), "grdStatus");
    grdStatus->setFormatString(kGridFormat);
    rptEnquiryStatus = new ReportControl(this);
    rptEnquiryStatus->setObjectName(QStringLiteral("rptEnquiryStatus"));

    auto* period = new QHBoxLayout;
    period->addWidget(lblFrom);
    period->addWidget(mskFrom);
    period->addSpacing(8);
    period->addWidget(lblTo);
    period->addWidget(mskTo);
    auto* filter = new QHBoxLayout;
    filter->addLayout(period);
    filter->addSpacing(12);
    filter->addWidget(fraDate);
    filter->addSpacing(12);
    filter->addWidget(cmdShow, 0, Qt::AlignBottom);
    filter->addWidget(cmdPrint, 0, Qt::AlignBottom);
    filter->addStretch();
    filter->addWidget(cmdClose, 0, Qt::AlignBottom);
    period->setAlignment(Qt::AlignBottom);

    auto* main = new QVBoxLayout(this);
    main->addLayout(filter);
    main->addWidget(grdStatus, 1);
    resize(900, 560);

    setTabOrder(mskFrom, mskTo);
    setTabOrder(mskTo, optOrigin);
    setTabOrder(optOrigin, optFDate);
    setTabOrder(optFDate, cmdShow);
    setTabOrder(cmdShow, cmdPrint);
    setTabOrder(cmdPrint, grdStatus);
    setTabOrder(grdStatus, cmdClose);

    AttachEnterAdvance(mskFrom, mskTo);
    AttachEnterAdvance(mskTo, optOrigin);
    connect(cmdShow, &QPushButton::clicked, this, &frmEnquiryStatus::cmdShow_Click);
    connect(cmdPrint, &QPushButton::clicked, this, &frmEnquiryStatus::cmdPrint_Click);
    connect(grdStatus, &Grid::dblClick, this, &frmEnquiryStatus::grdStatus_DblClick);
    AttachWindowClose(this, cmdClose);
    mskFrom->setFocus();
}

void frmEnquiryStatus::Form_Load()
{
    grdStatus->setColWidth(0, 0);
    grdStatus->setColWidth(3, 0);
}

bool frmEnquiryStatus::ValidateDates()
{
    for (MaskEdBox* field : {mskFrom, mskTo}) {
        if (!IsValidDate(field->text())) {
            MsgBox::information(this, QStringLiteral("Enter a valid date!"));
            field->setFocus();
            return false;
        }
    }
    return true;
}

QString frmEnquiryStatus::FromLiteral() const
{
    return EnquiryDateLiteral(DateOf(mskFrom->text()));
}

QString frmEnquiryStatus::ToLiteral() const
{
    return EnquiryDateLiteral(DateOf(mskTo->text()));
}

void frmEnquiryStatus::cmdShow_Click()
{
    if (!ValidateDates())
        return;
    ErrorReport(this, [this] { ShowEnquiryStatus(); });
}

void frmEnquiryStatus::cmdPrint_Click()
{
    if (!ValidateDates())
        return;
    rptEnquiryStatus->setDestination(ReportControl::Destination::Preview);
    ErrorReport(this, [this] { PrintEnquiryStatus(); });
}

bool frmEnquiryStatus::PrintToPdf(const QString& pdfPath)
{
    if (!ValidateDates())
        return false;
    rptEnquiryStatus->setDestination(ReportControl::Destination::File);
    rptEnquiryStatus->setPrintFileName(pdfPath);
    const bool printed = ErrorReport(this, [this] { PrintEnquiryStatus(); });
    rptEnquiryStatus->setDestination(ReportControl::Destination::Preview);
    return printed;
}

void frmEnquiryStatus::ShowEnquiryStatus()
{
    const QString period =
        QStringLiteral(" BETWEEN ") + FromLiteral() + QStringLiteral(" AND ") + ToLiteral();
    const QString user = QString::number(modAdmin::CurrentExeCode);
    const bool admin = IsAdministrator();
    QString sql;
    if (admin && optOrigin->isChecked())
        sql = QStringLiteral(
                  "SELECT ER.enqCode,enqDate,ER.enqPercentage,enqService,cltName,cltCode,exeName,"
                  "enqFollDate,enqStatus FROM trnEnquiryRegister ER ,trnEnquiryStatus ES,"
                  "mstClient CL,mstExecutive WHERE enqExeCode=exeCode and enqKey='F' and "
                  "enqStatus='Pending' AND ER.enqCltCode=CL.cltCode AND ER.enqCode=ES.enqCode AND "
                  "ER.enqDate") +
              period + QStringLiteral(" ORDER BY ER.enqDate");
    else if (admin)
        sql = QStringLiteral(
                  "SELECT ER.enqCode,enqDate,ER.enqPercentage,enqService,cltName,cltCode,exeName,"
                  "enqFollDate,enqStatus FROM trnEnquiryRegister ER ,trnEnquiryStatus ES,"
                  "mstClient CL,mstExecutive WHERE enqExeCode=exeCode and enqKey='F' and "
                  "enqStatus='Pending' AND ER.enqCltCode=CL.cltCode AND ER.enqCode=ES.enqCode AND "
                  "ES.enqFollDate") +
              period + QStringLiteral(" ORDER BY ES.enqFollDate");
    else if (optOrigin->isChecked())
        sql =
            QStringLiteral("SELECT ER.enqCode,enqDate,enqService,ER.enqPercentage,cltName,cltCode,"
                           "enqFollDate,enqStatus FROM trnEnquiryRegister ER ,trnEnquiryStatus ES,"
                           "mstClient CL WHERE enqKey='F' and enqStatus='Pending' AND "
                           "ER.enqCltCode=CL.cltCode AND ER.enqCode=ES.enqCode AND enqExeCode=") +
            user + QStringLiteral(" AND ER.enqDate") + period +
            QStringLiteral(" ORDER BY ER.enqDate");
    else
        sql = QStringLiteral(
                  "SELECT ER.enqCode,enqDate,ER.enqPercentage,enqService,cltName,cltCode,exeName,"
                  "enqFollDate,enqStatus FROM trnEnquiryRegister ER ,trnEnquiryStatus ES,"
                  "mstClient CL,mstExecutive WHERE enqExeCode=exeCode and enqKey='F' and "
                  "enqStatus='Pending' AND ER.enqCltCode=CL.cltCode and enqExeCode=") +
              user + QStringLiteral(" AND ER.enqCode=ES.enqCode AND ES.enqFollDate") + period +
              QStringLiteral(" ORDER BY ES.enqFollDate");

    bool empty = false;
    {
        const BusyCursor busy;
        grdStatus->setRows(1);
        grdStatus->setRows(2);
        data::Recordset rs(sql, modAdmin::DbConnection);
        empty = rs.eof();
        if (!empty) {
            const int code = column(rs, QStringLiteral("enqCode"));
            const int origin = column(rs, QStringLiteral("enqDate"));
            const int service = column(rs, QStringLiteral("enqService"));
            const int client = column(rs, QStringLiteral("cltCode"));
            const int name = column(rs, QStringLiteral("cltName"));
            const int executive = admin ? column(rs, QStringLiteral("exeName")) : -1;
            const int follow = column(rs, QStringLiteral("enqFollDate"));
            const int status = column(rs, QStringLiteral("enqStatus"));
            const int percent = column(rs, QStringLiteral("enqPercentage"));
            GridRowText row(rs);
            QStringList rows;
            for (; !rs.eof(); rs.moveNext()) {
                row.cell(code).cell(origin).cell(service).cell(client).cell(name);
                if (admin)
                    row.append(QLatin1Char('[')).append(executive).append(QLatin1Char(']'));
                row.cell(follow).cell(status).cell(percent);
                rows << row.take();
            }
            grdStatus->setRows(1);
            grdStatus->addItems(rows);
        }
        rs.close();
    }
    if (empty)
        MsgBox::information(this, QStringLiteral("No record!"));
}

void frmEnquiryStatus::PrintEnquiryStatus()
{
    const QString period =
        QStringLiteral(" BETWEEN ") + FromLiteral() + QStringLiteral(" AND ") + ToLiteral();
    const QString user = QString::number(modAdmin::CurrentExeCode);
    const QString select = QStringLiteral(
        "SELECT enqDate,enqRequirment,enqService,cltName,cltAddress,cltCity,cltPhone,exeName,"
        "enqFollDate,enqStatus,ES.enqAction FROM trnEnquiryRegister ER ,trnEnquiryStatus ES,"
        "mstClient CL,mstExecutive WHERE enqExeCode=exeCode and enqKey='F' and "
        "enqStatus='Pending' AND ER.enqCltCode=CL.cltCode AND ER.enqCode=ES.enqCode AND ");
    QString sql = select;
    if (!IsAdministrator())
        sql += QStringLiteral("enqExeCode=") + user + QStringLiteral(" AND ");
    if (optOrigin->isChecked())
        sql += QStringLiteral("ER.enqDate") + period + QStringLiteral(" ORDER BY ER.enqDate");
    else
        sql +=
            QStringLiteral("ES.enqFollDate") + period + QStringLiteral(" ORDER BY ES.enqFollDate");

    {
        const BusyCursor busy;
        // The scratch table is emptied and refilled as a whole: a failure
        // leaves the previous printout's rows.
        data::Transaction tx(modAdmin::DbConnection);
        modAdmin::DbConnection.execute(QStringLiteral("DELETE FROM rptEnquiryStatus"));
        data::Recordset rs(sql, modAdmin::DbConnection);
        if (!rs.eof()) {
            const int origin = column(rs, QStringLiteral("enqDate"));
            const int service = column(rs, QStringLiteral("enqService"));
            const int client = column(rs, QStringLiteral("cltName"));
            const int address = column(rs, QStringLiteral("cltAddress"));
            const int city = column(rs, QStringLiteral("cltCity"));
            const int requirement = column(rs, QStringLiteral("enqRequirment"));
            const int phone = column(rs, QStringLiteral("cltPhone"));
            const int follow = column(rs, QStringLiteral("enqFollDate"));
            const int status = column(rs, QStringLiteral("enqStatus"));
            const int action = column(rs, QStringLiteral("enqAction"));
            const QChar comma = QLatin1Char(',');
            qint32 no = 0;
            for (; !rs.eof(); rs.moveNext()) {
                ++no;
                modAdmin::DbConnection.execute(
                    QStringLiteral("INSERT INTO rptEnquiryStatus(No,Origin,Service,Client,Address,"
                                   "City,Requirment,Phone,Follow,Status,Action)VALUES(") +
                    QString::number(no) + comma + DateLiteralOrNull(rs.field(origin)) + comma +
                    data::Quote(rs.text(service)) + comma + data::Quote(rs.text(client)) + comma +
                    data::Quote(rs.text(address)) + comma + data::Quote(rs.text(city)) + comma +
                    data::Quote(rs.text(requirement)) + comma + data::Quote(rs.text(phone)) +
                    comma + DateLiteralOrNull(rs.field(follow)) + comma +
                    data::Quote(rs.text(status)) + comma + data::Quote(rs.text(action)) +
                    QStringLiteral(" )"));
            }
        }
        rs.close();
        tx.commit();
    }

    const QString dateFormat = QStringLiteral("dd/MMM/yyyy");
    rptEnquiryStatus->setReportFileName(modAdmin::ProgramFolder() +
                                        QStringLiteral("/rptEnquiryStatus.rpt"));
    rptEnquiryStatus->setParameter(QStringLiteral("Filter"),
                                   optOrigin->isChecked() ? optOrigin->text() : optFDate->text());
    rptEnquiryStatus->setParameter(QStringLiteral("From"),
                                   QLocale::c().toString(DateOf(mskFrom->text()), dateFormat));
    rptEnquiryStatus->setParameter(QStringLiteral("To"),
                                   QLocale::c().toString(DateOf(mskTo->text()), dateFormat));
    rptEnquiryStatus->setAction(1);
}

QPointer<frmViewHistory> frmEnquiryStatus::grdStatus_DblClick()
{
    QPointer<frmViewHistory> shown;
    ErrorReport(this, [this, &shown] {
        const int current = grdStatus->row();
        const QString code = data::NumericText(grdStatus->textMatrix(current, 0));
        const QString client = data::NumericText(grdStatus->textMatrix(current, 3));
        if (data::NumericValue(code) == 0)
            return;

        data::Recordset rs(
            QStringLiteral("SELECT CL.*,enqDate,enqFollowDate,enqDate,enqAction,enqAmount,"
                           "enqPercentage,enqRequirment FROM ") +
                QStringLiteral(" mstClient CL,trnEnquiryRegister ER WHERE enqCode=") + code +
                QStringLiteral(" AND enqCltCode=cltCode ") + QStringLiteral(" AND enqCltCode=") +
                client,
            modAdmin::DbConnection);

        // Owned here until it is shown, so that a failure below leaves no
        // hidden window behind.
        auto window = std::make_unique<frmViewHistory>(this);
        frmViewHistory* f = window.get();
        f->grdView->setColWidth(0, 0);
        if (!rs.eof()) {
            f->txtClient->setText(rs.text(QStringLiteral("cltName")));
            SetTag(f->txtClient, rs.text(QStringLiteral("cltCode")));
            f->txtAddress->setText(rs.text(QStringLiteral("cltAddress")) + QStringLiteral(", ") +
                                   rs.text(QStringLiteral("cltCity")));
            f->txtPhone->setText(rs.text(QStringLiteral("cltPhone")));
            f->txtMobile->setText(rs.text(QStringLiteral("cltMobile")));
            f->txtAction->setText(rs.text(QStringLiteral("enqAction")));
            f->txtReq->setText(rs.text(QStringLiteral("enqRequirment")));
            f->mskODate->setText(MaskedDateText(rs.field(QStringLiteral("enqDate")).toDate()));
            f->mskFDate->setText(
                MaskedDateText(rs.field(QStringLiteral("enqFollowDate")).toDate()));
            f->txtAmount->setText(rs.text(QStringLiteral("enqAmount")));
        }
        rs.close();

        data::Recordset st(QStringLiteral("SELECT * FROM trnEnquiryStatus WHERE enqCode=") + code,
                           modAdmin::DbConnection);
        if (!st.eof()) {
            f->grdView->setRows(1);
            SetTag(f->grdView, st.text(QStringLiteral("enqCode")));
            // The engine may return the current record (the newest) before
            // the past ones when it reads them through the code/key index;
            // the history is listed past records first, in the order
            // returned, then the current one, so that it reads oldest to
            // newest and the last record listed is the current one.
            struct Record {
                QString line, status, percent;
                bool current;
            };
            std::vector<Record> records;
            const QChar tab = QLatin1Char('\t');
            for (; !st.eof(); st.moveNext()) {
                const QString status = st.text(QStringLiteral("enqStatus"));
                const QString percent = st.text(QStringLiteral("enqPercentage"));
                records.push_back(
                    {CellText(st.text(QStringLiteral("enqCode"))) + tab +
                         CellText(
                             MaskedDateText(st.field(QStringLiteral("enqFollDate")).toDate())) +
                         tab + CellText(st.text(QStringLiteral("enqReason"))) + tab +
                         CellText(status) + tab + CellText(percent),
                     status, percent, st.text(QStringLiteral("enqKey")) == QLatin1String("F")});
            }
            std::stable_partition(records.begin(), records.end(),
                                  [](const Record& r) { return !r.current; });
            QStringList rows;
            for (const Record& r : records) {
                rows << r.line;
                if (r.current) {
                    if (r.status == QLatin1String("Pending"))
                        f->optPending->setChecked(true);
                    else if (r.status == QLatin1String("Dropped"))
                        f->optDropped->setChecked(true);
                    else if (r.status == QLatin1String("Closed"))
                        f->optClosed->setChecked(true);
                }
                f->txtPercent->setText(r.percent);
            }
            f->grdView->addItems(rows);
        }
        st.close();

        shown = window.release();
        ShowModal(shown);
    });
    return shown;
}
