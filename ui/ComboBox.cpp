#include "ui/ComboBox.h"

#include "ui/KeyFilters.h"
#include "ui/ListOrder.h"

#include <QKeyEvent>
#include <QScopedValueRollback>
#include <QStandardItemModel>

ComboBox::ComboBox(QWidget* parent) : QComboBox(parent)
{
    setEditable(false);
    setInsertPolicy(QComboBox::NoInsert);
    connect(this, &QComboBox::currentIndexChanged, this, [this] {
        if (!m_quiet)
            emit click();
    });
}

void ComboBox::addItem(const QString& text, int index)
{
    const QScopedValueRollback quiet(m_quiet, true);
    const int before = currentIndex();
    int at = index;
    if (at < 0 || at > count()) {
        at = count();
        if (m_sorted && index < 0) {
            // After the last item that does not sort after the new text.
            int lo = 0, hi = count();
            while (lo < hi) {
                const int mid = (lo + hi) / 2;
                if (CompareListText(itemText(mid), text) <= 0)
                    lo = mid + 1;
                else
                    hi = mid;
            }
            at = lo;
        }
    }
    QComboBox::insertItem(at, text, QVariant(qint32(0)));
    m_newIndex = at;
    if (before < 0 && currentIndex() >= 0)
        setCurrentIndex(-1); // QComboBox selects the first item of an empty box
}

void ComboBox::addItems(std::vector<ListEntry> entries)
{
    if (entries.empty())
        return;
    if (count() > 0) {
        for (const ListEntry& e : entries) {
            addItem(e.text);
            setItemData(m_newIndex, e.data);
        }
        return;
    }
    const QScopedValueRollback quiet(m_quiet, true);
    std::vector<size_t> order(entries.size());
    for (size_t k = 0; k < order.size(); ++k)
        order[k] = k;
    if (m_sorted)
        std::stable_sort(order.begin(), order.end(), [&entries](size_t a, size_t b) {
            return CompareListText(entries[a].text, entries[b].text) < 0;
        });
    for (int i = 0; i < int(order.size()); ++i)
        if (order[size_t(i)] + 1 == entries.size())
            m_newIndex = i;
    if (auto* items = qobject_cast<QStandardItemModel*>(model())) {
        // Text and item data set before the rows go in: one insertion for the
        // whole box, no change signal per item.
        QList<QStandardItem*> rows;
        rows.reserve(qsizetype(order.size()));
        for (const size_t k : order) {
            auto* item = new QStandardItem(entries[k].text); // owned by the model below
            item->setData(QVariant(entries[k].data), Qt::UserRole);
            rows << item;
        }
        items->invisibleRootItem()->appendRows(rows);
    } else {
        QStringList texts;
        texts.reserve(qsizetype(entries.size()));
        for (const size_t k : order)
            texts << entries[k].text;
        QComboBox::insertItems(0, texts);
        for (int i = 0; i < int(order.size()); ++i)
            QComboBox::setItemData(i, QVariant(entries[order[size_t(i)]].data));
    }
    setCurrentIndex(-1); // adding never selects an item
}

void ComboBox::removeItem(int index)
{
    if (index < 0 || index >= count())
        return;
    const QScopedValueRollback quiet(m_quiet, true);
    const bool wasSelected = index == currentIndex();
    QComboBox::removeItem(index);
    if (wasSelected)
        setCurrentIndex(-1);
}

void ComboBox::clear()
{
    const QScopedValueRollback quiet(m_quiet, true);
    QComboBox::clear();
    m_newIndex = -1;
}

qint32 ComboBox::itemData(int index) const
{
    return QComboBox::itemData(index).toInt();
}

void ComboBox::setItemData(int index, qint32 value)
{
    if (index >= 0 && index < count())
        QComboBox::setItemData(index, QVariant(value));
}

void ComboBox::setListIndex(int index)
{
    if (index < -1 || index >= count())
        return;
    setCurrentIndex(index); // emits click() when it changes
}

void ComboBox::keyPressEvent(QKeyEvent* event)
{
    int code = KeyAscii(event);
    if (code != KeyCode::None) {
        emit keyPress(code);
        if (code == KeyCode::None) {
            event->accept();
            return;
        }
    }
    QComboBox::keyPressEvent(event);
}
