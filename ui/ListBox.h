#pragma once

#include <QAbstractListModel>
#include <QListView>
#include <QString>
#include <QStringList>
#include <vector>

// One entry of a list box: its text and a 32-bit item data.
struct ListEntry {
    QString text;
    qint32 data = 0;
};

// The entries of a ListBox. Plain vector of entries: a pick-list holds up to
// tens of thousands of names and is refilled on every keystroke.
class ListBoxModel : public QAbstractListModel {
    Q_OBJECT
public:
    using QAbstractListModel::QAbstractListModel;

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

    const std::vector<ListEntry>& entries() const { return m_entries; }
    void insert(int at, ListEntry entry);
    void remove(int at);
    void clear();
    // Replaces all entries in one model update.
    void reset(std::vector<ListEntry> entries);
    void setData(int at, qint32 value);

private:
    std::vector<ListEntry> m_entries;
};

// List box: the item operations of ComboBox plus sorting, shown/hidden,
// click, double-click and batch filling. A sorted list puts an entry added
// without a position at its place in text order (letters without regard to
// case); an entry added at a position goes there.
class ListBox : public QListView {
    Q_OBJECT
public:
    explicit ListBox(QWidget* parent = nullptr);

    void addItem(const QString& text, int index = -1);
    // Adds many entries in one model update (in text order when sorted, else
    // at the end in the given order); newIndex() is the last one's place.
    void addItems(std::vector<ListEntry> entries);
    void addItems(const QStringList& texts);
    int newIndex() const { return m_newIndex; }
    void removeItem(int index);
    void clear();

    qint32 itemData(int index) const;
    void setItemData(int index, qint32 value);

    // Selected index, -1 for none; setting it fires click() when it changes.
    int listIndex() const;
    void setListIndex(int index);
    int listCount() const { return int(m_model->entries().size()); }
    QString list(int index) const;

    void setSorted(bool sorted) { m_sorted = sorted; }
    bool isSorted() const { return m_sorted; }

    // Shown or hidden by the program, whether or not its window is on screen.
    bool isShown() const { return !isHidden(); }

signals:
    void click();
    void dblClick();
    // Every character key (13 for Enter); a handler may set 0 to discard it.
    void keyPress(int& keyAscii);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    int sortedPlace(const QString& text) const;
    void selectQuietly(int index);

    ListBoxModel* m_model;
    bool m_sorted = false;
    bool m_quiet = false;
    int m_lastIndex = -1; // listIndex as last reported by click()
    int m_newIndex = -1;
};
