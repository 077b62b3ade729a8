// Saves enquiries, follow-ups, clients and (optionally) sales persons in a
// loop through the code the windows use, and reports every save on stdout
// the moment it has returned:
//
//   rel_saver FILE SEED SECONDS [--executives] [--few-enquiries]
//
// SECONDS 0 runs until the process is killed. Lines written:
//   ready                      the database is open, saving starts
//   E <code> <marker> <ms>     enquiry stored (marker in enqType and enqComments)
//   F <code> <marker> <ms>     follow-up of enquiry <code> stored (marker in enqReason)
//   C <code> <marker> <ms>     client stored (marker in cltName)
//   X <code> <marker> <ms>     sales person stored through the window (marker in exeName)
// where <ms> is how long the save took, waiting for the other program included.
//   ! <kind> <marker> <text>   that save failed with the error text shown
//   done                       the time is up
// --executives also creates sales persons through frmMstMarketingExecutive;
// --few-enquiries follows up only the first five enquiries, so that two
// programs keep meeting on the same ones.
#include "app/ModAdmin.h"
#include "data/Connection.h"
#include "data/DbError.h"
#include "data/Recordset.h"
#include "data/SqlText.h"
#include "screens/enquiry/EnquirySave.h"
#include "screens/enquiry/FollowUpSave.h"
#include "screens/masters/ClientSave.h"
#include "screens/masters/frmMstMarketingExecutive.h"
#include "ui/MsgBox.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <cstdio>
#include <memory>
#include <random>
#include <unistd.h>

namespace {

// One whole line with one write call, so that a kill never leaves half a
// line and a line is out before the next save begins.
void Report(const QString& line)
{
    const QByteArray bytes = (line + QLatin1Char('\n')).toUtf8();
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n =
            ::write(STDOUT_FILENO, bytes.constData() + done, size_t(bytes.size() - done));
        if (n <= 0)
            return;
        done += n;
    }
}

QString OneLine(QString text)
{
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return text;
}

qint32 LargestEnquiry()
{
    data::Recordset rs(QStringLiteral("SELECT MAX(enqCode) FROM trnEnquiryRegister"),
                       modAdmin::DbConnection);
    return rs.eof() || rs.field(0).isNull() ? 0 : qint32(rs.field(0).toLongLong());
}

class Saver {
public:
    Saver(quint32 seed, bool executives, bool fewEnquiries)
        : m_random(seed), m_fewEnquiries(fewEnquiries),
          m_prefix(QStringLiteral("p%1-").arg(::getpid()))
    {
        if (executives) {
            m_executive = std::make_unique<frmMstMarketingExecutive>();
            m_executive->strFormMode = QStringLiteral("CREATE");
            m_executive->show();
        }
    }

    void saveOne()
    {
        m_clock.start();
        const QString marker = m_prefix + QString::number(++m_seq);
        const int pick = int(m_random() % 100);
        if (pick < 45)
            saveEnquiry(marker);
        else if (pick < 80)
            saveFollowUp(marker);
        else if (pick < 92 || !m_executive)
            saveClient(marker);
        else
            saveExecutive(marker);
    }

private:
    int below(int n) { return int(m_random() % quint32(n)); }

    QDate someDate() { return QDate(2020, 1, 1).addDays(below(3000)); }

    void saveEnquiry(const QString& marker)
    {
        EnquiryInput in;
        in.enquiryDate = someDate();
        in.type = marker;
        in.service = QStringLiteral("Software");
        in.segment = QStringLiteral("Retail");
        in.exeCode = 1;
        in.cltCode = 1;
        in.requirement = QStringLiteral("Requirement of ") + marker;
        in.action = QStringLiteral("Called");
        in.followDate = someDate();
        in.percentage = QString::number(below(101));
        in.amount = QString::number(below(100000));
        in.comments = marker;
        try {
            const qint32 code = SaveEnquiryRecord(in);
            Report(QStringLiteral("E %1 %2 %3").arg(code).arg(marker).arg(m_clock.elapsed()));
        } catch (const data::DbError& e) {
            Report(QStringLiteral("! E %1 %2").arg(marker, OneLine(e.description())));
        }
    }

    void saveFollowUp(const QString& marker)
    {
        try {
            qint32 largest = LargestEnquiry();
            if (largest == 0)
                return saveEnquiry(marker);
            if (m_fewEnquiries && largest > 5)
                largest = 5;
            const qint32 code = 1 + below(largest);
            FollowUpInput in;
            in.enquiryCode = QString::number(code);
            in.nextDate = someDate();
            static const char* const statuses[] = {"Pending", "Pending", "Closed", "Dropped"};
            in.status = QLatin1String(statuses[below(4)]);
            in.reason = marker;
            in.percentage = QString::number(below(101));
            in.amount = QString::number(below(100000));
            SaveFollowUp(in);
            Report(QStringLiteral("F %1 %2 %3").arg(code).arg(marker).arg(m_clock.elapsed()));
        } catch (const data::DbError& e) {
            Report(QStringLiteral("! F %1 %2").arg(marker, OneLine(e.description())));
        }
    }

    void saveClient(const QString& marker)
    {
        const ClientInput in{marker, QString::number(below(1000000)), QString(),
                             QStringLiteral("Street ") + QString::number(below(100)),
                             QStringLiteral("City")};
        try {
            const qint32 code = InsertClientRecord(in);
            Report(QStringLiteral("C %1 %2 %3").arg(code).arg(marker).arg(m_clock.elapsed()));
        } catch (const data::DbError& e) {
            Report(QStringLiteral("! C %1 %2").arg(marker, OneLine(e.description())));
        }
    }

    // Through the window: type the fields, press OK, read what it reported.
    void saveExecutive(const QString& marker)
    {
        auto field = [this](const char* name) {
            return m_executive->findChild<QLineEdit*>(QLatin1String(name));
        };
        field("txtName")->setText(marker);
        field("txtPost")->setText(QStringLiteral("Sales"));
        field("txtUserID")->setText(QStringLiteral("u") + QString::number(m_seq));
        field("txtPassword")->setText(QStringLiteral("pw"));
        field("txtCPassword")->setText(QStringLiteral("pw"));
        field("txtDivision")->setText(QStringLiteral("North"));
        MsgBox::Recorder messages;
        m_executive->findChild<QPushButton*>(QStringLiteral("cmdOK"))->click();
        if (!messages.isEmpty()) {
            Report(QStringLiteral("! X %1 %2").arg(marker, OneLine(messages.last().text)));
            return;
        }
        try {
            data::Recordset rs(QStringLiteral("SELECT exeCode FROM mstExecutive WHERE exeName=") +
                                   data::Quote(marker),
                               modAdmin::DbConnection);
            Report(
                rs.eof()
                    ? QStringLiteral("! X %1 not stored").arg(marker)
                    : QStringLiteral("X %1 %2 %3").arg(rs.text(0), marker).arg(m_clock.elapsed()));
        } catch (const data::DbError& e) {
            Report(QStringLiteral("! X %1 %2").arg(marker, OneLine(e.description())));
        }
    }

    std::mt19937 m_random;
    bool m_fewEnquiries;
    QString m_prefix;
    int m_seq = 0;
    std::unique_ptr<frmMstMarketingExecutive> m_executive;
    QElapsedTimer m_clock;
};

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() < 4) {
        std::fprintf(stderr,
                     "usage: rel_saver FILE SEED SECONDS [--executives] [--few-enquiries]\n");
        return 2;
    }
    try {
        modAdmin::DbConnection.openFile(args[1], data::Connection::databasePassword());
    } catch (const data::DbError& e) {
        std::fprintf(stderr, "rel_saver: %s\n", e.description().toUtf8().constData());
        return 1;
    }
    const quint32 seed = args[2].toUInt();
    const qint64 seconds = args[3].toLongLong();
    Saver saver(seed, args.contains(QStringLiteral("--executives")),
                args.contains(QStringLiteral("--few-enquiries")));
    Report(QStringLiteral("ready"));
    QElapsedTimer clock;
    clock.start();
    while (seconds == 0 || clock.elapsed() < seconds * 1000)
        saver.saveOne();
    Report(QStringLiteral("done"));
    modAdmin::DbConnection.close();
    return 0;
}
