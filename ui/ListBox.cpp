#include "ui/ListBox.h"

#include "ui/KeyFilters.h"
#include "ui/ListOrder.h"

#include <QKeyEvent>
#include <QScopedValueRollback>
#include <algorithm>

int ListBoxModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_entries.size());
}

QVariant ListBoxModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= int(m_entries.size()))
        return {};
    if (role == Qt::DisplayRole)
        return m_entries[size_t(index.row())].text;
    if (role == Qt::UserRole)
        return m_entries[size_t(index.row())].data;
    return {};
}

void ListBoxModel::insert(int at, ListEntry entry)
{
    beginInsertRows({}, at, at);
    m_entries.insert(m_entries.begin() + at, std::move(entry));
    endInsertRows();
}

void ListBoxModel::remove(int at)
{
    beginRemoveRows({}, at, at);
    m_entries.erase(m_entries.begin() + at);
    endRemoveRows();
}

void ListBoxModel::clear()
{
    if (m_entries.empty())
        return;
    beginResetModel();
    m_entries.clear();
    endResetModel();
}

void ListBoxModel::reset(std::vector<ListEntry> entries)
{
    beginResetModel();
    m_entries = std::move(entries);
    endResetModel();
}

void ListBoxModel::setData(int at, qint32 value)
{
    m_entries[size_t(at)].data = value;
}

ListBox::ListBox(QWidget* parent) : QListView(parent), m_model(new ListBoxModel(this))
{
    setModel(m_model);
    setUniformItemSizes(true); // no per-entry layout: thousands of entries stay fast
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setFrameShape(QFrame::Box);
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        const int now = listIndex();
        if (m_quiet) {
            m_lastIndex = now;
            return;
        }
        if (now != m_lastIndex) {
            m_lastIndex = now;
            emit click();
        }
    });
}

int ListBox::sortedPlace(const QString& text) const
{
    const auto& entries = m_model->entries();
    const auto it = std::upper_bound(
        entries.begin(), entries.end(), text,
        [](const QString& t, const ListEntry& e) { return CompareListText(t, e.text) < 0; });
    return int(it - entries.begin());
}

void ListBox::selectQuietly(int index)
{
    const QScopedValueRollback quiet(m_quiet, true);
    if (index < 0)
        selectionModel()->clear();
    else
        selectionModel()->setCurrentIndex(m_model->index(index),
                                          QItemSelectionModel::ClearAndSelect);
    m_lastIndex = listIndex();
}

void ListBox::addItem(const QString& text, int index)
{
    const QScopedValueRollback quiet(m_quiet, true);
    int at = index;
    if (at < 0 || at > listCount())
        at = (m_sorted && index < 0) ? sortedPlace(text) : listCount();
    m_model->insert(at, {text, 0});
    m_newIndex = at;
    m_lastIndex = listIndex();
}

void ListBox::addItems(std::vector<ListEntry> entries)
{
    if (entries.empty())
        return;
    const QScopedValueRollback quiet(m_quiet, true);
    const std::vector<ListEntry>& old = m_model->entries();
    const size_t n = entries.size();

    if (!m_sorted && old.empty()) {
        m_newIndex = int(n) - 1;
        m_model->reset(std::move(entries));
        m_lastIndex = -1;
        return;
    }

    // The new entries in their order: as given, or sorted (stable: equal
    // texts keep their given order).
    std::vector<size_t> order(n);
    for (size_t k = 0; k < n; ++k)
        order[k] = k;
    // Entries that come in text order already (a query ordered by an index)
    // need no sort.
    bool inOrder = true;
    for (size_t k = 1; m_sorted && inOrder && k < n; ++k)
        inOrder = CompareListText(entries[k - 1].text, entries[k].text) <= 0;
    if (m_sorted && !inOrder) {
        std::vector<ListSortKey> keys;
        keys.reserve(n);
        for (const ListEntry& e : entries)
            keys.emplace_back(e.text);
        std::sort(order.begin(), order.end(), [&](size_t a, size_t b) {
            int r = keys[a].compare(keys[b]);
            if (r == 0)
                r = CompareListText(entries[a].text, entries[b].text);
            return r != 0 ? r < 0 : a < b;
        });
    }

    // Merge with the old entries: unsorted after them; sorted, each new
    // entry after every old one that does not sort after it. The selected
    // entry stays selected.
    const int selected = listIndex();
    int newSelected = -1;
    std::vector<ListEntry> merged;
    merged.reserve(old.size() + n);
    size_t i = 0;
    auto takeOld = [&] {
        if (int(i) == selected)
            newSelected = int(merged.size());
        merged.push_back(old[i++]);
    };
    if (!m_sorted)
        while (i < old.size())
            takeOld();
    for (const size_t k : order) {
        while (m_sorted && i < old.size() && CompareListText(old[i].text, entries[k].text) <= 0)
            takeOld();
        if (k + 1 == n)
            m_newIndex = int(merged.size());
        merged.push_back(std::move(entries[k]));
    }
    while (i < old.size())
        takeOld();

    m_model->reset(std::move(merged));
    selectQuietly(newSelected);
}

void ListBox::addItems(const QStringList& texts)
{
    std::vector<ListEntry> entries;
    entries.reserve(size_t(texts.size()));
    for (const QString& t : texts)
        entries.push_back({t, 0});
    addItems(std::move(entries));
}

void ListBox::removeItem(int index)
{
    if (index < 0 || index >= listCount())
        return;
    const QScopedValueRollback quiet(m_quiet, true);
    m_model->remove(index);
    m_lastIndex = listIndex();
}

void ListBox::clear()
{
    const QScopedValueRollback quiet(m_quiet, true);
    m_model->clear();
    m_lastIndex = -1;
    m_newIndex = -1;
}

qint32 ListBox::itemData(int index) const
{
    if (index < 0 || index >= listCount())
        return 0;
    return m_model->entries()[size_t(index)].data;
}

void ListBox::setItemData(int index, qint32 value)
{
    if (index >= 0 && index < listCount())
        m_model->setData(index, value);
}

int ListBox::listIndex() const
{
    const QModelIndexList rows = selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.constFirst().row();
}

void ListBox::setListIndex(int index)
{
    if (index < -1 || index >= listCount())
        return;
    if (index < 0) {
        selectionModel()->clear();
    } else {
        const QModelIndex mi = m_model->index(index);
        selectionModel()->setCurrentIndex(mi, QItemSelectionModel::ClearAndSelect);
        scrollTo(mi);
    }
}

QString ListBox::list(int index) const
{
    if (index < 0 || index >= listCount())
        return {};
    return m_model->entries()[size_t(index)].text;
}

void ListBox::keyPressEvent(QKeyEvent* event)
{
    int code = KeyAscii(event);
    if (code != KeyCode::None) {
        emit keyPress(code);
        if (code == KeyCode::None) {
            event->accept();
            return;
        }
    }
    QListView::keyPressEvent(event);
}

void ListBox::mouseDoubleClickEvent(QMouseEvent* event)
{
    QListView::mouseDoubleClickEvent(event);
    emit dblClick();
}

void ListBox::showEvent(QShowEvent* event)
{
    raise(); // a pick-list drops down over the controls below its field
    QListView::showEvent(event);
}
