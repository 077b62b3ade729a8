#pragma once

#include <QComboBox>

#include "ui/ListBox.h"

#include <vector>

// Drop-down list (no typing) with the item operations the windows use.
// Items carry a 32-bit integer as item data. Adding or removing items never
// selects one by itself: a filled box has no selection until one is chosen.
class ComboBox : public QComboBox {
    Q_OBJECT
public:
    explicit ComboBox(QWidget* parent = nullptr);

    // Adds at index (0 is the top), or -1: at the end, or in text order
    // when the box is sorted.
    void addItem(const QString& text, int index = -1);
    // Adds many items in one step: at the end in the given order, or in
    // text order when the box is sorted. newIndex() is the place of the
    // last one given.
    void addItems(std::vector<ListEntry> entries);
    // Index of the item added last (its final place, also when sorted).
    int newIndex() const { return m_newIndex; }
    void removeItem(int index);
    void clear();

    qint32 itemData(int index) const;
    void setItemData(int index, qint32 value);

    // Selected index, -1 for none. Setting it fires click() when it changes.
    int listIndex() const { return currentIndex(); }
    void setListIndex(int index);
    int listCount() const { return count(); }
    QString list(int index) const { return itemText(index); }

    void setSorted(bool sorted) { m_sorted = sorted; }
    bool isSorted() const { return m_sorted; }

signals:
    // The selection changed, by the user or by code.
    void click();
    // Every character key (13 for Enter); a handler may set 0 to discard it.
    void keyPress(int& keyAscii);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    bool m_sorted = false;
    bool m_quiet = false; // item changes that move the index are no click
    int m_newIndex = -1;
};
