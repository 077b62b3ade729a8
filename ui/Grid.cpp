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

QStringList EmptyRow(int cols)
{
    QStringList row;
    row.resize(cols);
    return row;
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
    const QString& text = m_rows[size_t(index.row())].at(index.column());
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
    for (QStringList& row : m_rows)
        row.resize(cols);
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
        m_rows.resize(size_t(rows));
        endRemoveRows();
    } else if (rows > now) {
        beginInsertRows({}, now, rows - 1);
        m_rows.resize(size_t(rows), EmptyRow(m_cols));
        endInsertRows();
    }
}

void GridModel::setHeadings(const QStringList& headings, const std::vector<Align>& aligns)
{
    beginResetModel();
    m_cols = int(headings.size());
    m_headings = headings;
    m_aligns = aligns;
    for (QStringList& row : m_rows)
        row.resize(m_cols);
    endResetModel();
}

void GridModel::appendRows(std::vector<QStringList> rows, int at)
{
    if (rows.empty())
        return;
    if (at < 0 || at > dataRows())
        at = dataRows();
    for (QStringList& row : rows)
        row.resize(m_cols);
    beginInsertRows({}, at, at + int(rows.size()) - 1);
    m_rows.insert(m_rows.begin() + at, std::make_move_iterator(rows.begin()),
                  std::make_move_iterator(rows.end()));
    endInsertRows();
}

QString GridModel::cell(int dataRow, int col) const
{
    if (dataRow < 0 || dataRow >= dataRows() || col < 0 || col >= m_cols)
        return {};
    return m_rows[size_t(dataRow)].at(col);
}

void GridModel::setCell(int dataRow, int col, const QString& text)
{
    if (dataRow < 0 || dataRow >= dataRows() || col < 0 || col >= m_cols)
        return;
    m_rows[size_t(dataRow)][col] = text;
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
    std::vector<QStringList> one;
    one.push_back(tabSeparated.split(QLatin1Char('\t')));
    m_model->appendRows(std::move(one), index < 0 ? -1 : index - 1);
}

void Grid::addItems(const QStringList& tabSeparatedRows)
{
    std::vector<QStringList> rows;
    rows.reserve(size_t(tabSeparatedRows.size()));
    for (const QString& r : tabSeparatedRows)
        rows.push_back(r.split(QLatin1Char('\t')));
    m_model->appendRows(std::move(rows));
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
