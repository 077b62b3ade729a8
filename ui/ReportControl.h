#pragma once

#include <QHash>
#include <QList>
#include <QObject>
#include <QPageLayout>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <stdexcept>

class QPagedPaintDevice;
class QPainter;
class QWidget;

namespace data {
class Connection;
}

// A layout file that cannot be read or used, or a report that cannot be
// written. description() names the file.
class ReportError : public std::runtime_error {
public:
    explicit ReportError(const QString& description)
        : std::runtime_error(description.toStdString()), m_description(description)
    {
    }
    const QString& description() const { return m_description; }

private:
    QString m_description;
};

// One printed column of a report layout.
struct ReportColumn {
    QString heading;
    QString field;
    double widthMm = 20;
    Qt::Alignment alignment = Qt::AlignLeft;
    QString dateFormat; // empty: the layout's date format
};

// A report layout as read from a layout file (the format is described in
// ui/layouts/README.md and in the header of every layout file).
struct ReportLayout {
    QString title;
    QString subtitle;
    QString printed;
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    QString table;
    QString order;
    QString dateFormat = QStringLiteral("dd/MMM/yyyy");
    double fontSize = 8;
    QList<ReportColumn> columns;

    // Reads and checks a layout file; throws ReportError naming the file
    // (and the line) when it is missing, unreadable or not a valid layout.
    static ReportLayout read(const QString& path);
    static ReportLayout parse(const QString& text, const QString& fileName);
};

// The rows of a report, already in their printed text form.
struct ReportData {
    ReportLayout layout;
    QHash<QString, QString> parameters; // {Name} placeholders of the texts
    QList<QStringList> rows;
};

// The report control of the program: given a layout file, it reads every
// row of the layout's table in the layout's order and renders them with a
// title, the subtitle line, the date of printing, page headers with the
// column headings and page numbers.
//
// setAction(1) runs the report to its destination: by default a print
// preview, from which the user prints or saves a PDF; with the File
// destination straight into the PDF file named by setPrintFileName, without
// any dialog.
class ReportControl : public QObject {
    Q_OBJECT
public:
    enum class Destination { Preview, File };

    // parent: the window the preview belongs to.
    explicit ReportControl(QWidget* parent = nullptr);

    void setReportFileName(const QString& path) { m_reportFileName = path; }
    QString reportFileName() const { return m_reportFileName; }

    // Values for the {Name} placeholders of the layout's texts ({Today} is
    // always the date of printing).
    void setParameter(const QString& name, const QString& value);
    void clearParameters() { m_parameters.clear(); }

    void setDestination(Destination destination) { m_destination = destination; }
    Destination destination() const { return m_destination; }
    void setPrintFileName(const QString& pdfPath) { m_printFileName = pdfPath; }
    QString printFileName() const { return m_printFileName; }

    // The connection the rows are read from; the program's own by default.
    void setConnection(data::Connection& db) { m_db = &db; }

    // 1 runs the report (other values do nothing). Throws ReportError or
    // data::DbError.
    void setAction(int action);
    void printReport();

    // Renders the report into a PDF file without any dialog; returns the
    // number of pages written.
    int renderToPdf(const QString& pdfPath);

    // Reads the layout file and the rows (what a run does first).
    ReportData load() const;

    // Paints a loaded report on a paged device, starting on its current
    // page; returns the number of pages.
    static int paint(const ReportData& report, QPagedPaintDevice& device, int resolution);

private:
    QPointer<QWidget> m_parent;
    QString m_reportFileName;
    QString m_printFileName;
    QHash<QString, QString> m_parameters;
    Destination m_destination = Destination::Preview;
    data::Connection* m_db = nullptr;
};
