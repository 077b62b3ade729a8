#include "ui/Grid.h"

#include <QHeaderView>
#include <QMouseEvent>

namespace {

constexpr int CellPadding = 8; // pixels of margin around a heading's text

bool LooksNumeric(const QString& text)
{
    if (text.isEmpty())
        return false;
    bool ok = false;
    text.trimmed().toDouble(&ok);
    return ok;
}

Qt::Alignment AlignmentOf(GridModel::Align align, const QString& text)
{
    switch (align) {
    case GridModel::Align::Left:
        return Qt::AlignLeft | Qt::AlignVCenter;
    case GridModel::Align::Center:
        return Qt::AlignHCenter | Qt::AlignVCenter;
    case GridModel::Align::Right:
        return Qt::AlignRight | Qt::AlignVCenter;
    case GridModel::Align::General:
        break;
    }
    return (LooksNumeric(text) ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter;
}

// The col-th tab-separated cell of a line; empty past its last cell.
QStringView CellOf(const QString& line, int col)
{
    qsizetype start = 0;
    for (int c = 0; c < col; ++c) {
        const qsizetype tab = line.indexOf(QLatin1Char('\t'), start);
        if (tab < 0)
            return {};
        start = tab + 1;
    }
    const qsizetype end = line.indexOf(QLatin1Char('\t'), start);
    return QStringView(line).mid(start, end < 0 ? -1 : end - start);
}

} // namespace

int GridModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int GridModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_cols;
}

QVariant GridModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    const QString text = CellOf(m_rows.at(index.row()), index.column()).toString();
    if (role == Qt::DisplayRole)
        return text;
    if (role == Qt::TextAlignmentRole)
        return int(AlignmentOf(m_aligns[size_t(index.column())], text));
    return {};
}

QVariant GridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= m_cols)
        return {};
    if (role == Qt::DisplayRole)
        return m_headings.at(section).trimmed();
    if (role == Qt::TextAlignmentRole) {
        const Align a = m_aligns[size_t(section)];
        return int(AlignmentOf(a == Align::General ? Align::Left : a, {}));
    }
    return {};
}

void GridModel::setCols(int cols)
{
    cols = qMax(0, cols);
    if (cols > m_cols) {
        beginInsertColumns({}, m_cols, cols - 1);
    } else if (cols < m_cols) {
        beginRemoveColumns({}, cols, m_cols - 1);
    } else {
        return;
    }
    const bool adding = cols > m_cols;
    m_cols = cols;
    m_headings.resize(cols);
    m_aligns.resize(size_t(cols), Align::General);
    for (QString& row : m_rows)
        row = fitted(std::move(row));
    if (adding)
        endInsertColumns();
    else
        endRemoveColumns();
}

void GridModel::setDataRows(int rows)
{
    rows = qMax(0, rows);
    const int now = dataRows();
    if (rows < now) {
        beginRemoveRows({}, rows, now - 1);
        m_rows.resize(rows);
        endRemoveRows();
    } else if (rows > now) {
        beginInsertRows({}, now, rows - 1);
        m_rows.resize(rows); // empty lines: every cell empty
        endInsertRows();
    }
}

void GridModel::setHeadings(const QStringList& headings, const std::vector<Align>& aligns)
{
    beginResetModel();
    m_cols = int(headings.size());
    m_headings = headings;
    m_aligns = aligns;
    for (QString& row : m_rows)
        row = fitted(std::move(row));
    endResetModel();
}

QString GridModel::fitted(QString line) const
{
    // Keep at most m_cols cells (the text before the m_cols-th tab).
    qsizetype pos = -1;
    for (int c = 0; c < m_cols; ++c) {
        pos = line.indexOf(QLatin1Char('\t'), pos + 1);
        if (pos < 0)
            return line;
    }
    line.truncate(m_cols == 0 ? 0 : pos);
    return line;
}

void GridModel::appendRows(QStringList lines, int at)
{
    if (lines.isEmpty())
        return;
    if (at < 0 || at > dataRows())
        at = dataRows();
    for (QString& line : lines)
        line = fitted(std::move(line));
    beginInsertRows({}, at, at + int(lines.size()) - 1);
    if (at == dataRows())
        m_rows.append(std::move(lines));
    else
        for (qsizetype k = 0; k < lines.size(); ++k)
            m_rows.insert(at + k, std::move(lines[k]));
    endInsertRows();
}

QString GridModel::cell(int dataRow, int col) const
{
    if (dataRow < 0 || dataRow >= dataRows() || col < 0 || col >= m_cols)
        return {};
    return CellOf(m_rows.at(dataRow), col).toString();
}

void GridModel::setCell(int dataRow, int col, const QString& text)
{
    if (dataRow < 0 || dataRow >= dataRows() || col < 0 || col >= m_cols)
        return;
    QStringList cells = m_rows.at(dataRow).split(QLatin1Char('\t'));
    while (cells.size() <= col)
        cells << QString();
    QString clean = text;
    clean.replace(QLatin1Char('\t'), QLatin1Char(' ')); // a tab would split the cell
    cells[col] = clean;
    m_rows[dataRow] = cells.join(QLatin1Char('\t'));
    const QModelIndex i = index(dataRow, col);
    emit dataChanged(i, i, {Qt::DisplayRole, Qt::TextAlignmentRole});
}

QString GridModel::heading(int col) const
{
    return col >= 0 && col < m_cols ? m_headings.at(col) : QString();
}

void GridModel::setHeading(int col, const QString& text)
{
    if (col < 0 || col >= m_cols)
        return;
    m_headings[col] = text;
    emit headerDataChanged(Qt::Horizontal, col, col);
}

Grid::Grid(QWidget* parent) : QTableView(parent), m_model(new GridModel(this))
{
    setModel(m_model);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setWordWrap(false);
    setTextElideMode(Qt::ElideNone);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    horizontalHeader()->setSectionsClickable(false);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setStretchLastSection(false);
    horizontalHeader()->setMinimumSectionSize(0);
    // A new grid has the heading row and one empty row.
    setCols(2);
    setRows(2);
}

int Grid::widthForHeading(const QString& heading) const
{
    const QFontMetrics fm = horizontalHeader()->fontMetrics();
    const int byLength = fm.averageCharWidth() * int(heading.size());
    return qMax(byLength, fm.horizontalAdvance(heading)) + CellPadding;
}

void Grid::setFormatString(const QString& format)
{
    m_format = format;
    QStringList headings = format.split(QLatin1Char('|'));
    std::vector<GridModel::Align> aligns;
    aligns.reserve(size_t(headings.size()));
    for (QString& h : headings) {
        GridModel::Align a = GridModel::Align::General;
        if (h.startsWith(QLatin1Char('<')))
            a = GridModel::Align::Left;
        else if (h.startsWith(QLatin1Char('>')))
            a = GridModel::Align::Right;
        else if (h.startsWith(QLatin1Char('^')))
            a = GridModel::Align::Center;
        if (a != GridModel::Align::General)
            h.remove(0, 1);
        aligns.push_back(a);
    }
    m_model->setHeadings(headings, aligns);
    for (int c = 0; c < int(headings.size()); ++c)
        setColWidth(c, widthForHeading(headings.at(c)));
}

void Grid::setRows(int rows)
{
    m_model->setDataRows(qMax(1, rows) - 1);
}

void Grid::setCols(int cols)
{
    const int before = m_model->cols();
    m_model->setCols(cols);
    for (int c = before; c < m_model->cols(); ++c)
        setColWidth(c, widthForHeading(QString(8, QLatin1Char(' '))));
}

void Grid::setColWidth(int col, int width)
{
    if (col < 0 || col >= cols())
        return;
    if (width <= 0) {
        setColumnHidden(col, true);
        return;
    }
    setColumnHidden(col, false);
    setColumnWidth(col, width);
}

int Grid::colWidth(int col) const
{
    return isColumnHidden(col) ? 0 : columnWidth(col);
}

void Grid::addItem(const QString& tabSeparated, int index)
{
    m_model->appendRows(QStringList{tabSeparated}, index < 0 ? -1 : index - 1);
}

void Grid::addItems(const QStringList& tabSeparatedRows)
{
    m_model->appendRows(tabSeparatedRows);
}

QString Grid::textMatrix(int row, int col) const
{
    return row == 0 ? m_model->heading(col) : m_model->cell(row - 1, col);
}

void Grid::setTextMatrix(int row, int col, const QString& text)
{
    if (row == 0)
        m_model->setHeading(col, text);
    else
        m_model->setCell(row - 1, col, text);
}

int Grid::row() const
{
    const QModelIndex current = currentIndex();
    return current.isValid() ? current.row() + 1 : 0;
}

void Grid::setRow(int row)
{
    if (row <= 0 || row >= rows()) {
        selectionModel()->clear();
        setCurrentIndex({});
        return;
    }
    const int column = qMax(0, col());
    selectionModel()->setCurrentIndex(m_model->index(row - 1, column),
                                      QItemSelectionModel::ClearAndSelect |
                                          QItemSelectionModel::Rows);
}

int Grid::col() const
{
    const QModelIndex current = currentIndex();
    return current.isValid() ? current.column() : 0;
}

void Grid::mouseDoubleClickEvent(QMouseEvent* event)
{
    const QModelIndex index = indexAt(event->position().toPoint());
    QTableView::mouseDoubleClickEvent(event);
    if (!index.isValid())
        return;
    if (currentIndex() != index)
        selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect |
                                                     QItemSelectionModel::Rows);
    emit dblClick();
}
