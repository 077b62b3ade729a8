#pragma once

#include <QAbstractTableModel>
#include <QStringList>
#include <QTableView>
#include <vector>

// The cells of a Grid: one heading row (shown as the horizontal header) and
// data rows, each held as its tab-separated line: a grid of thousands of
// rows is filled without a text per cell, and a cell is cut out of its line
// only when it is shown or read.
class GridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum class Align { General, Left, Center, Right };

    using QAbstractTableModel::QAbstractTableModel;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    int dataRows() const { return int(m_rows.size()); }
    int cols() const { return m_cols; }
    void setCols(int cols);
    void setDataRows(int rows);
    void setHeadings(const QStringList& headings, const std::vector<Align>& aligns);
    // Rows as tab-separated lines; cells beyond the column count are dropped.
    void appendRows(QStringList lines, int at = -1);
    QString cell(int dataRow, int col) const;
    void setCell(int dataRow, int col, const QString& text);
    QString heading(int col) const;
    void setHeading(int col, const QString& text);

private:
    int m_cols = 0;
    QStringList m_headings;
    std::vector<Align> m_aligns;
    QString fitted(QString line) const;
    QStringList m_rows; // tab-separated lines of at most m_cols cells
};

// Grid with one heading row. Rows are counted with the heading row: row 0
// is the heading, rows 1..rows()-1 the data rows. A column of width 0 is
// hidden but keeps its cells. Whole rows are selected.
class Grid : public QTableView {
    Q_OBJECT
public:
    explicit Grid(QWidget* parent = nullptr);

    // "|"-separated headings: sets the column count, the heading texts and
    // each column's width from its heading's length, blanks included. A
    // heading starting with "<" left-aligns its column (">" right, "^"
    // centre); the sign is not shown. Other columns align text left and
    // numbers right.
    void setFormatString(const QString& format);
    QString formatString() const { return m_format; }

    // 1 drops every data row; more adds empty rows or drops rows at the end.
    void setRows(int rows);
    int rows() const { return m_model->dataRows() + 1; }
    void setCols(int cols);
    int cols() const { return m_model->cols(); }

    // Width in pixels; 0 hides the column.
    void setColWidth(int col, int width);
    int colWidth(int col) const;

    // Appends a row (or inserts it as grid row index, 1 being the first
    // data row) whose cells are the tab-separated parts of the text.
    void addItem(const QString& tabSeparated, int index = -1);
    // Appends many rows in one model update.
    void addItems(const QStringList& tabSeparatedRows);

    // Row 0 is the heading row; a cell outside the grid reads as "".
    QString textMatrix(int row, int col) const;
    void setTextMatrix(int row, int col, const QString& text);

    // Current (last clicked) row; 0 when none.
    int row() const;
    void setRow(int row);
    int col() const;

signals:
    // A double-click on a cell; row() is then the clicked row.
    void dblClick();

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    int widthForHeading(const QString& heading) const;

    GridModel* m_model;
    QString m_format;
};
