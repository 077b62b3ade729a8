#include "ui/ReportControl.h"

#include "app/ModAdmin.h"
#include "data/Recordset.h"
#include "data/SqlText.h"
#include "ui/BusyCursor.h"
#include "ui/Modal.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QRegularExpression>
#include <QStringDecoder>
#include <algorithm>
#include <vector>

namespace {

const QMarginsF kMarginsMm(10, 10, 10, 10);

[[noreturn]] void layoutError(const QString& fileName, int line, const QString& what)
{
    throw ReportError(QStringLiteral("The report layout file %1 cannot be used: line %2: %3")
                          .arg(fileName)
                          .arg(line)
                          .arg(what));
}

bool isName(const QString& text)
{
    static const QRegularExpression name(QStringLiteral("^[A-Za-z_][A-Za-z0-9_]*$"));
    return name.match(text).hasMatch();
}

QString fill(QString text, const QHash<QString, QString>& parameters)
{
    for (auto it = parameters.cbegin(); it != parameters.cend(); ++it)
        text.replace(QLatin1Char('{') + it.key() + QLatin1Char('}'), it.value(),
                     Qt::CaseInsensitive);
    return text;
}

QString cellText(const QVariant& value, const QString& dateFormat)
{
    if (value.isNull())
        return {};
    if (value.typeId() == QMetaType::QDate)
        return QLocale::c().toString(value.toDate(), dateFormat);
    return data::FieldText(value);
}

// Writes the report into a PDF file; returns the number of pages.
int writePdf(const ReportData& report, const QString& pdfPath)
{
    QFile file(pdfPath);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw ReportError(QStringLiteral("The report cannot be written to %1: %2")
                              .arg(QDir::toNativeSeparators(pdfPath), file.errorString()));
    int pages = 0;
    {
        QPdfWriter writer(&file);
        writer.setTitle(report.layout.title);
        writer.setCreator(QStringLiteral("Korvane"));
        writer.setPageLayout(
            QPageLayout(QPageSize(QPageSize::A4), report.layout.orientation, kMarginsMm));
        pages = ReportControl::paint(report, writer, writer.resolution());
    }
    file.close();
    if (file.error() != QFileDevice::NoError)
        throw ReportError(QStringLiteral("The report cannot be written to %1: %2")
                              .arg(QDir::toNativeSeparators(pdfPath), file.errorString()));
    return pages;
}

} // namespace

// ---------------------------------------------------------------------------
// Layout file

ReportLayout ReportLayout::read(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        throw ReportError(QStringLiteral("The report layout file %1 cannot be read: %2")
                              .arg(QDir::toNativeSeparators(path), file.errorString()));
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw ReportError(QStringLiteral("The report layout file %1 cannot be read: %2")
                              .arg(QDir::toNativeSeparators(path), file.errorString()));
    auto decode = QStringDecoder(QStringDecoder::Utf8);
    const QString text = decode(bytes);
    if (decode.hasError())
        throw ReportError(
            QStringLiteral("The report layout file %1 cannot be read: it is not UTF-8 text")
                .arg(QDir::toNativeSeparators(path)));
    return parse(text, QDir::toNativeSeparators(path));
}

ReportLayout ReportLayout::parse(const QString& text, const QString& fileName)
{
    ReportLayout layout;
    layout.columns.clear();
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (int i = 0; i < lines.size(); ++i) {
        const int lineNo = i + 1;
        const QString line = lines[i].trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (eq < 0)
            layoutError(fileName, lineNo, QStringLiteral("expected \"setting = value\""));
        const QString key = line.left(eq).trimmed().toLower();
        const QString value = line.mid(eq + 1).trimmed();

        if (key == QLatin1String("title")) {
            layout.title = value;
        } else if (key == QLatin1String("subtitle")) {
            layout.subtitle = value;
        } else if (key == QLatin1String("printed")) {
            layout.printed = value;
        } else if (key == QLatin1String("orientation")) {
            if (value.compare(QLatin1String("portrait"), Qt::CaseInsensitive) == 0)
                layout.orientation = QPageLayout::Portrait;
            else if (value.compare(QLatin1String("landscape"), Qt::CaseInsensitive) == 0)
                layout.orientation = QPageLayout::Landscape;
            else
                layoutError(fileName, lineNo,
                            QStringLiteral("orientation must be portrait or landscape"));
        } else if (key == QLatin1String("table") || key == QLatin1String("order")) {
            if (!isName(value))
                layoutError(fileName, lineNo,
                            QStringLiteral("\"%1\" is not a table or column name").arg(value));
            (key == QLatin1String("table") ? layout.table : layout.order) = value;
        } else if (key == QLatin1String("dateformat")) {
            if (value.isEmpty())
                layoutError(fileName, lineNo, QStringLiteral("the date format is empty"));
            layout.dateFormat = value;
        } else if (key == QLatin1String("fontsize")) {
            bool ok = false;
            const double size = value.toDouble(&ok);
            if (!ok || size < 4 || size > 30)
                layoutError(fileName, lineNo,
                            QStringLiteral("the font size must be a number from 4 to 30"));
            layout.fontSize = size;
        } else if (key == QLatin1String("column")) {
            const QStringList parts = value.split(QLatin1Char('|'));
            if (parts.size() < 4 || parts.size() > 5)
                layoutError(fileName, lineNo,
                            QStringLiteral("a column is \"heading | field | width | alignment\" "
                                           "with an optional \"| date format\""));
            ReportColumn column;
            column.heading = parts[0].trimmed();
            column.field = parts[1].trimmed();
            if (!isName(column.field))
                layoutError(fileName, lineNo,
                            QStringLiteral("\"%1\" is not a column name").arg(column.field));
            bool ok = false;
            column.widthMm = parts[2].trimmed().toDouble(&ok);
            if (!ok || column.widthMm <= 0 || column.widthMm > 1000)
                layoutError(fileName, lineNo,
                            QStringLiteral("the width must be a number of millimetres"));
            const QString align = parts[3].trimmed().toLower();
            if (align == QLatin1String("left"))
                column.alignment = Qt::AlignLeft;
            else if (align == QLatin1String("right"))
                column.alignment = Qt::AlignRight;
            else if (align == QLatin1String("center") || align == QLatin1String("centre"))
                column.alignment = Qt::AlignHCenter;
            else
                layoutError(fileName, lineNo,
                            QStringLiteral("the alignment must be left, right or center"));
            if (parts.size() == 5)
                column.dateFormat = parts[4].trimmed();
            layout.columns << column;
        } else {
            layoutError(fileName, lineNo, QStringLiteral("unknown setting \"%1\"").arg(key));
        }
    }
    if (layout.table.isEmpty())
        throw ReportError(
            QStringLiteral("The report layout file %1 cannot be used: it names no table")
                .arg(fileName));
    if (layout.columns.isEmpty())
        throw ReportError(
            QStringLiteral("The report layout file %1 cannot be used: it has no column")
                .arg(fileName));
    return layout;
}

// ---------------------------------------------------------------------------
// The control

ReportControl::ReportControl(QWidget* parent) : QObject(parent), m_parent(parent) {}

void ReportControl::setParameter(const QString& name, const QString& value)
{
    m_parameters.insert(name, value);
}

void ReportControl::setAction(int action)
{
    if (action == 1)
        printReport();
}

ReportData ReportControl::load() const
{
    ReportData report;
    report.layout = ReportLayout::read(m_reportFileName);
    const ReportLayout& layout = report.layout;
    const QString fileName = QDir::toNativeSeparators(m_reportFileName);
    data::Connection& db = m_db ? *m_db : modAdmin::DbConnection;

    // The columns the table really has, so that a misspelt name in the
    // layout is reported as a fault of the layout.
    QStringList names;
    {
        data::Recordset probe(
            QStringLiteral("SELECT * FROM ") + layout.table + QStringLiteral(" WHERE 1=0"), db);
        for (int i = 0; i < probe.fieldCount(); ++i)
            names << probe.fieldName(i).toLower();
    }
    auto position = [&](const QString& field) {
        const qsizetype at = names.indexOf(field.toLower());
        if (at < 0)
            throw ReportError(
                QStringLiteral("The report layout file %1 cannot be used: the table %2 has no "
                               "column \"%3\"")
                    .arg(fileName, layout.table, field));
        return int(at);
    };
    if (!layout.order.isEmpty())
        position(layout.order);
    std::vector<int> fields;
    QStringList formats;
    for (const ReportColumn& column : layout.columns) {
        fields.push_back(position(column.field));
        formats << (column.dateFormat.isEmpty() ? layout.dateFormat : column.dateFormat);
    }

    QString sql = QStringLiteral("SELECT * FROM ") + layout.table;
    if (!layout.order.isEmpty())
        sql += QStringLiteral(" ORDER BY ") + layout.order;
    data::Recordset rs(sql, db);
    for (; !rs.eof(); rs.moveNext()) {
        QStringList row;
        row.reserve(qsizetype(fields.size()));
        for (size_t c = 0; c < fields.size(); ++c)
            row << cellText(rs.field(fields[c]), formats[qsizetype(c)]);
        report.rows << row;
    }
    rs.close();

    report.parameters = m_parameters;
    report.parameters.insert(QStringLiteral("Today"),
                             QLocale::c().toString(QDate::currentDate(), layout.dateFormat));
    return report;
}

void ReportControl::printReport()
{
    if (m_destination == Destination::File) {
        if (m_printFileName.isEmpty())
            throw ReportError(QStringLiteral("No file is named for the report."));
        const BusyCursor busy;
        writePdf(load(), m_printFileName);
        return;
    }

    // Everything that can fail is read before the preview opens; the
    // preview itself is shown with the normal pointer.
    ReportData report;
    {
        const BusyCursor busy;
        report = load();
    }

    auto* preview = new QPrintPreviewDialog(m_parent);
    preview->setAttribute(Qt::WA_DeleteOnClose);
    preview->setWindowTitle(report.layout.title.isEmpty() ? QStringLiteral("Korvane")
                                                          : report.layout.title);
    QPrinter* printer = preview->printer();
    printer->setDocName(report.layout.title);
    printer->setCreator(QStringLiteral("Korvane"));
    printer->setPageSize(QPageSize(QPageSize::A4));
    printer->setPageOrientation(report.layout.orientation);
    printer->setPageMargins(kMarginsMm, QPageLayout::Millimeter);
    connect(preview, &QPrintPreviewDialog::paintRequested, preview, [report](QPrinter* target) {
        try {
            paint(report, *target, target->resolution());
        } catch (const ReportError&) {
            // The preview shows an empty page; printing reports its own failure.
        }
    });
    preview->resize(1000, 720);
    ShowModal(preview);
}

int ReportControl::renderToPdf(const QString& pdfPath)
{
    return writePdf(load(), pdfPath);
}

// ---------------------------------------------------------------------------
// Rendering

int ReportControl::paint(const ReportData& report, QPagedPaintDevice& device, int resolution)
{
    const ReportLayout& layout = report.layout;
    QPainter painter;
    if (!painter.begin(&device))
        throw ReportError(QStringLiteral("The report cannot be written."));

    const QRectF area(QPointF(0, 0), device.pageLayout().paintRectPixels(resolution).size());
    const double mm = resolution / 25.4;
    const double padX = 1.0 * mm;
    const double padY = 0.6 * mm;

    QFont body = QGuiApplication::font();
    body.setPointSizeF(layout.fontSize);
    QFont bold = body;
    bold.setBold(true);
    QFont titleFont = bold;
    titleFont.setPointSizeF(layout.fontSize * 1.8);
    QFont small = body;
    small.setPointSizeF(layout.fontSize * 0.9);
    const QFontMetricsF bodyMetrics(body, &device);
    const QFontMetricsF boldMetrics(bold, &device);
    const QFontMetricsF titleMetrics(titleFont, &device);
    const QFontMetricsF smallMetrics(small, &device);

    // Column positions; columns wider than the page together are narrowed
    // in proportion.
    const qsizetype columnCount = layout.columns.size();
    double total = 0;
    for (const ReportColumn& column : layout.columns)
        total += column.widthMm * mm;
    const double scale = total > area.width() ? area.width() / total : 1.0;
    std::vector<double> left(size_t(columnCount) + 1, 0.0);
    for (qsizetype c = 0; c < columnCount; ++c)
        left[size_t(c) + 1] = left[size_t(c)] + layout.columns[c].widthMm * mm * scale;
    const double tableWidth = left.back();
    auto textWidth = [&](qsizetype c) { return left[size_t(c) + 1] - left[size_t(c)] - 2 * padX; };

    // How each cell is drawn. Most cells fit on one line and are drawn at
    // a computed position; the others wrap at word boundaries, and a word
    // wider than its column (a long city name) breaks anywhere instead of
    // being cut off. Widths of repeated texts (services, cities, dates) are
    // measured once.
    struct Cell {
        double width = 0; // one-line width; < 0: wrapped with the flags
        int flags = 0;
    };
    struct Measure {
        const QFontMetricsF& metrics;
        QHash<QString, double> widths;
        double width(const QString& text)
        {
            auto it = widths.constFind(text);
            if (it != widths.constEnd())
                return *it;
            const double w = metrics.horizontalAdvance(text);
            widths.insert(text, w);
            return w;
        }
    };
    static const QRegularExpression blanks(QStringLiteral("\\s+"));
    auto measureCell = [&](Measure& m, const QString& text, double room, double& height) {
        Cell cell;
        height = m.metrics.height();
        if (text.isEmpty())
            return cell;
        if (!text.contains(QLatin1Char('\n'))) {
            cell.width = m.width(text);
            if (cell.width <= room)
                return cell;
        }
        cell.width = -1;
        cell.flags = Qt::TextWordWrap;
        for (const QString& word : text.split(blanks, Qt::SkipEmptyParts))
            if (m.metrics.horizontalAdvance(word) > room) {
                cell.flags = Qt::TextWrapAnywhere;
                break;
            }
        height = m.metrics.boundingRect(QRectF(0, 0, room, 1e9), cell.flags, text).height();
        return cell;
    };
    auto measureRow = [&](Measure& m, const QStringList& cells, Cell* out) {
        double h = m.metrics.height();
        for (qsizetype c = 0; c < columnCount; ++c) {
            double cellHeight = 0;
            out[c] =
                measureCell(m, c < cells.size() ? cells[c] : QString(), textWidth(c), cellHeight);
            h = std::max(h, cellHeight);
        }
        return h + 2 * padY;
    };
    auto drawRow = [&](const QFontMetricsF& metrics, const QStringList& cells, const Cell* measured,
                       double top, double height) {
        const double baseline = top + padY + metrics.ascent();
        for (qsizetype c = 0; c < columnCount && c < cells.size(); ++c) {
            const QString& text = cells[c];
            if (text.isEmpty())
                continue;
            const Cell& cell = measured[c];
            const Qt::Alignment align = layout.columns[c].alignment;
            const double room = textWidth(c);
            double x = left[size_t(c)] + padX;
            if (cell.width >= 0) {
                if (align & Qt::AlignRight)
                    x += room - cell.width;
                else if (align & Qt::AlignHCenter)
                    x += (room - cell.width) / 2;
                painter.drawText(QPointF(x, baseline), text);
            } else {
                painter.drawText(QRectF(x, top + padY, room, height - 2 * padY),
                                 int(align) | Qt::AlignTop | cell.flags, text);
            }
        }
    };

    // Page frame: title, subtitle and printing date, column headings; the
    // page number at the foot.
    const QString title = fill(layout.title, report.parameters);
    const QString subtitle = fill(layout.subtitle, report.parameters);
    const QString printed = fill(layout.printed, report.parameters);
    QStringList headings;
    for (const ReportColumn& column : layout.columns)
        headings << column.heading;
    Measure boldMeasure{boldMetrics, {}};
    std::vector<Cell> headingCells(static_cast<size_t>(columnCount));
    const double titleHeight = title.isEmpty() ? 0 : titleMetrics.height() + 1 * mm;
    const double subtitleHeight =
        subtitle.isEmpty() && printed.isEmpty() ? 0 : bodyMetrics.height() + 2 * mm;
    const double headingTop = titleHeight + subtitleHeight;
    const double headingHeight = measureRow(boldMeasure, headings, headingCells.data());
    const double bodyTop = headingTop + headingHeight + 0.4 * mm;
    const double footerHeight = smallMetrics.height() + 2 * mm;
    const double bodyBottom = area.height() - footerHeight;
    const double bodyRoom = std::max(bodyBottom - bodyTop, bodyMetrics.height());

    // Measure every row, then break the pages: a row never splits; a row
    // taller than a page is cut.
    Measure bodyMeasure{bodyMetrics, {}};
    const qsizetype rowCount = report.rows.size();
    std::vector<Cell> cells(static_cast<size_t>(rowCount * columnCount));
    std::vector<double> heights(static_cast<size_t>(rowCount));
    std::vector<qsizetype> pageStart{0};
    double y = bodyTop;
    for (qsizetype r = 0; r < rowCount; ++r) {
        const double h = std::min(
            measureRow(bodyMeasure, report.rows[r], cells.data() + r * columnCount), bodyRoom);
        if (y + h > bodyBottom + 0.01 && y > bodyTop) {
            pageStart.push_back(r);
            y = bodyTop;
        }
        heights[size_t(r)] = h;
        y += h;
    }
    const int pages = int(pageStart.size());

    const QColor rule(150, 150, 150);
    const QColor band(238, 241, 245);
    const QColor headingBand(215, 222, 232);
    const double thin = std::max(1.0, 0.15 * mm);

    for (int page = 0; page < pages; ++page) {
        if (page > 0)
            device.newPage();
        painter.setPen(Qt::black);
        if (!title.isEmpty()) {
            painter.setFont(titleFont);
            painter.drawText(QPointF(0, titleMetrics.ascent()), title);
        }
        if (subtitleHeight > 0) {
            painter.setFont(body);
            const QRectF line(0, titleHeight, area.width(), bodyMetrics.height());
            painter.drawText(line, Qt::AlignLeft | Qt::AlignTop, subtitle);
            painter.drawText(line, Qt::AlignRight | Qt::AlignTop, printed);
        }

        painter.fillRect(QRectF(0, headingTop, tableWidth, headingHeight), headingBand);
        painter.setFont(bold);
        drawRow(boldMetrics, headings, headingCells.data(), headingTop, headingHeight);
        painter.setPen(QPen(rule, thin));
        painter.drawLine(QPointF(0, headingTop + headingHeight),
                         QPointF(tableWidth, headingTop + headingHeight));

        const qsizetype first = pageStart[size_t(page)];
        const qsizetype last = page + 1 < pages ? pageStart[size_t(page) + 1] : rowCount;
        painter.setPen(Qt::black);
        painter.setFont(body);
        y = bodyTop;
        for (qsizetype r = first; r < last; ++r) {
            const double h = heights[size_t(r)];
            if ((r - first) % 2 == 1)
                painter.fillRect(QRectF(0, y, tableWidth, h), band);
            drawRow(bodyMetrics, report.rows[r], cells.data() + r * columnCount, y, h);
            y += h;
        }
        if (last > first) {
            painter.setPen(QPen(rule, thin));
            painter.drawLine(QPointF(0, y), QPointF(tableWidth, y));
        }

        painter.setPen(Qt::black);
        painter.setFont(small);
        const QString number = QStringLiteral("Page %1 of %2").arg(page + 1).arg(pages);
        painter.drawText(QPointF((area.width() - smallMetrics.horizontalAdvance(number)) / 2,
                                 area.height() - smallMetrics.descent()),
                         number);
    }
    painter.end();
    return pages;
}
