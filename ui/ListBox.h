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

// Entries of a list box kept in one text buffer, each entry its place in
// it and its item data: a pick-list holds up to tens of thousands of names
// and is refilled and emptied on every keystroke, without a text object per
// entry.
class ListEntries {
public:
    void reserve(size_t entries, qsizetype characters);
    // The text is copied; it must not be a view into this object.
    void add(QStringView text, qint32 data = 0);
    void insert(size_t at, QStringView text, qint32 data = 0);
    void remove(size_t at);
    // Empties the entries; the buffers keep their room for a refill.
    void clear();

    size_t size() const { return m_slots.size(); }
    bool empty() const { return m_slots.empty(); }
    QStringView text(size_t i) const
    {
        return QStringView(m_chars).mid(m_slots[i].at, m_slots[i].size);
    }
    qint32 data(size_t i) const { return m_slots[i].data; }
    void setData(size_t i, qint32 value) { m_slots[i].data = value; }
    qsizetype characters() const { return m_chars.size(); }
    // Puts the entries in the given order (a permutation of 0..size-1);
    // their texts stay where they are in the buffer.
    void reorder(const std::vector<size_t>& order);

private:
    struct Slot {
        qsizetype at;
        qsizetype size;
        qint32 data;
    };
    QString m_chars;
    std::vector<Slot> m_slots;
};

// The entries of a ListBox as a model for its view.
class ListBoxModel : public QAbstractListModel {
    Q_OBJECT
public:
    using QAbstractListModel::QAbstractListModel;

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

    const ListEntries& entries() const { return m_entries; }
    void insert(int at, QStringView text, qint32 data);
    void remove(int at);
    void clear();
    // Replaces all entries in one model update.
    void reset(ListEntries entries);
    // Empties the model and hands over its entries, emptied.
    ListEntries take();
    void setData(int at, qint32 value);

private:
    ListEntries m_entries;
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
    void addItems(ListEntries entries);
    void addItems(const std::vector<ListEntry>& entries);
    void addItems(const QStringList& texts);
    int newIndex() const { return m_newIndex; }
    void removeItem(int index);
    void clear();
    // Empties the list like clear() and hands over its entries, empty but
    // with their room, to be filled and given back with addItems: a list of
    // thousands of entries refilled on every keystroke then reuses its
    // memory.
    ListEntries takeEntries();

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
