#include "ui/ListBox.h"

#include "ui/KeyFilters.h"
#include "ui/ListOrder.h"

#include <QKeyEvent>
#include <QScopedValueRollback>
#include <algorithm>

void ListEntries::reserve(size_t entries, qsizetype characters)
{
    m_slots.reserve(entries);
    m_chars.reserve(characters);
}

void ListEntries::add(QStringView text, qint32 data)
{
    m_slots.push_back({m_chars.size(), text.size(), data});
    m_chars.append(text);
}

void ListEntries::insert(size_t at, QStringView text, qint32 data)
{
    m_slots.insert(m_slots.begin() + qsizetype(at), {m_chars.size(), text.size(), data});
    m_chars.append(text);
}

void ListEntries::remove(size_t at)
{
    // The text stays in the buffer until the entries are cleared.
    m_slots.erase(m_slots.begin() + qsizetype(at));
    if (m_slots.empty())
        m_chars.resize(0);
}

void ListEntries::reorder(const std::vector<size_t>& order)
{
    std::vector<Slot> ordered;
    ordered.reserve(order.size());
    for (const size_t k : order)
        ordered.push_back(m_slots[k]);
    m_slots = std::move(ordered);
}

void ListEntries::clear()
{
    m_slots.clear();
    m_chars.resize(0); // unlike clear(), keeps the buffer
}

int ListBoxModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_entries.size());
}

QVariant ListBoxModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= int(m_entries.size()))
        return {};
    if (role == Qt::DisplayRole)
        return m_entries.text(size_t(index.row())).toString();
    if (role == Qt::UserRole)
        return m_entries.data(size_t(index.row()));
    return {};
}

void ListBoxModel::insert(int at, QStringView text, qint32 data)
{
    beginInsertRows({}, at, at);
    m_entries.insert(size_t(at), text, data);
    endInsertRows();
}

void ListBoxModel::remove(int at)
{
    beginRemoveRows({}, at, at);
    m_entries.remove(size_t(at));
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

void ListBoxModel::reset(ListEntries entries)
{
    beginResetModel();
    m_entries = std::move(entries);
    endResetModel();
}

ListEntries ListBoxModel::take()
{
    beginResetModel();
    ListEntries taken = std::move(m_entries);
    m_entries = ListEntries();
    endResetModel();
    taken.clear();
    return taken;
}

void ListBoxModel::setData(int at, qint32 value)
{
    m_entries.setData(size_t(at), value);
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
    const ListEntries& entries = m_model->entries();
    size_t lo = 0, hi = entries.size();
    while (lo < hi) {
        const size_t mid = (lo + hi) / 2;
        if (CompareListText(entries.text(mid), text) <= 0)
            lo = mid + 1;
        else
            hi = mid;
    }
    return int(lo);
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
    m_model->insert(at, text, 0);
    m_newIndex = at;
    m_lastIndex = listIndex();
}

void ListBox::addItems(ListEntries entries)
{
    if (entries.empty())
        return;
    const QScopedValueRollback quiet(m_quiet, true);
    const ListEntries& old = m_model->entries();
    const size_t n = entries.size();

    // The new entries in their order: as given, or sorted (stable: equal
    // texts keep their given order).
    std::vector<size_t> order(n);
    for (size_t k = 0; k < n; ++k)
        order[k] = k;
    // Entries that come in text order already (a query ordered by an index)
    // need no sort.
    bool inOrder = true;
    for (size_t k = 1; m_sorted && inOrder && k < n; ++k)
        inOrder = CompareListText(entries.text(k - 1), entries.text(k)) <= 0;
    const bool sort = m_sorted && !inOrder;
    if (sort) {
        // Keys sorted with their entry numbers beside them: the sort reads
        // one contiguous array instead of jumping through the entries.
        struct Keyed {
            ListSortKey key;
            size_t index;
        };
        std::vector<Keyed> keyed;
        keyed.reserve(n);
        for (size_t k = 0; k < n; ++k)
            keyed.push_back({ListSortKey(entries.text(k)), k});
        std::sort(keyed.begin(), keyed.end(), [&](const Keyed& a, const Keyed& b) {
            int r = a.key.compare(b.key);
            if (r == 0)
                r = CompareListText(entries.text(a.index), entries.text(b.index));
            return r != 0 ? r < 0 : a.index < b.index;
        });
        for (size_t k = 0; k < n; ++k)
            order[k] = keyed[k].index;
    }

    if (old.empty()) {
        // Only the new entries: put in order where they are.
        const auto last = std::find(order.begin(), order.end(), n - 1);
        m_newIndex = int(last - order.begin());
        if (sort)
            entries.reorder(order);
        m_model->reset(std::move(entries));
        selectQuietly(-1);
        return;
    }

    // Merge with the old entries: unsorted after them; sorted, each new
    // entry after every old one that does not sort after it. The selected
    // entry stays selected.
    const int selected = listIndex();
    int newSelected = -1;
    ListEntries merged;
    // Room for a few more (the new-record entry) without moving the texts.
    merged.reserve(old.size() + n + 4, old.characters() + entries.characters() + 64);
    size_t i = 0;
    auto takeOld = [&] {
        if (int(i) == selected)
            newSelected = int(merged.size());
        merged.add(old.text(i), old.data(i));
        ++i;
    };
    if (!m_sorted)
        while (i < old.size())
            takeOld();
    for (const size_t k : order) {
        while (m_sorted && i < old.size() && CompareListText(old.text(i), entries.text(k)) <= 0)
            takeOld();
        if (k + 1 == n)
            m_newIndex = int(merged.size());
        merged.add(entries.text(k), entries.data(k));
    }
    while (i < old.size())
        takeOld();

    m_model->reset(std::move(merged));
    selectQuietly(newSelected);
}

void ListBox::addItems(const std::vector<ListEntry>& entries)
{
    ListEntries batch;
    qsizetype characters = 0;
    for (const ListEntry& e : entries)
        characters += e.text.size();
    batch.reserve(entries.size(), characters);
    for (const ListEntry& e : entries)
        batch.add(e.text, e.data);
    addItems(std::move(batch));
}

void ListBox::addItems(const QStringList& texts)
{
    ListEntries batch;
    for (const QString& t : texts)
        batch.add(t, 0);
    addItems(std::move(batch));
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

ListEntries ListBox::takeEntries()
{
    const QScopedValueRollback quiet(m_quiet, true);
    ListEntries taken = m_model->take();
    m_lastIndex = -1;
    m_newIndex = -1;
    return taken;
}

qint32 ListBox::itemData(int index) const
{
    if (index < 0 || index >= listCount())
        return 0;
    return m_model->entries().data(size_t(index));
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
    return m_model->entries().text(size_t(index)).toString();
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
