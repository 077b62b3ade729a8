#include "ui/PickList.h"

#include "data/Recordset.h"
#include "ui/ErrorReport.h"
#include "ui/KeyFilters.h"
#include "ui/ListBox.h"
#include "ui/Tag.h"

#include <QKeyEvent>
#include <QLineEdit>

namespace {

const QString SuppressMarker = QStringLiteral("EXIT");

int ColumnIndex(const data::Recordset& rs, const QString& name)
{
    for (int i = 0; i < rs.fieldCount(); ++i)
        if (rs.fieldName(i).compare(name, Qt::CaseInsensitive) == 0)
            return i;
    throw data::DbError(QStringLiteral("Item cannot be found in the collection corresponding "
                                       "to the requested name or ordinal: ") +
                        name);
}

} // namespace

PickList::PickList(QLineEdit* field, ListBox* list, data::Connection& db, Config config)
    : QObject(field), m_field(field), m_list(list), m_db(&db), m_config(std::move(config))
{
    connect(field, &QLineEdit::textChanged, this, &PickList::refresh);
    field->installEventFilter(this);
}

void PickList::refresh()
{
    if (!m_list)
        return;
    ErrorReport(m_field->window(), [this] { fill(); });
}

void PickList::fill()
{
    const Config& c = m_config;
    if (c.active && !c.active())
        return;
    if (c.hideFirst)
        m_list->hide();
    if (c.suppressMarker && Tag(c.suppressMarker) == SuppressMarker) {
        SetTag(c.suppressMarker, QString());
        return;
    }
    if (c.clearAfterMarker)
        m_list->clear();

    const QString trimmed = m_field->text().trimmed();
    const bool empty =
        c.emptyTest == EmptyTest::Trimmed ? trimmed.isEmpty() : m_field->text().isEmpty();
    const bool hasNewEntry = !c.newEntryText.isEmpty();
    auto showNewEntryOnly = [&] {
        m_list->clear();
        m_list->addItem(c.newEntryText, 0);
        m_list->show();
    };
    if (empty) {
        if (c.emptyAction == EmptyAction::ShowNewEntryOnly)
            showNewEntryOnly();
        return;
    }

    // Read forward once: find moves to the first match, the entries are the
    // rows from there on; nothing before the match is kept.
    data::Recordset rs(c.sourceQuery, *m_db, data::CursorType::ForwardOnly,
                       data::LockType::ReadOnly);
    // The pattern is tested on the result, never sent to the engine as SQL;
    // a quote in the text (pasted: paste is not filtered) is doubled so that
    // the criterion stays one text value.
    QString prefix = trimmed;
    prefix.replace(QLatin1Char('\''), QLatin1String("''"));
    bool found = false;
    if (!rs.eof()) {
        rs.moveFirst();
        rs.find(c.matchColumn + QLatin1String(" LIKE '") + prefix + QLatin1String("*'"));
        found = !rs.eof();
    }
    if (!found) {
        if (hasNewEntry)
            showNewEntryOnly();
        else
            m_list->hide();
        rs.close();
        return;
    }

    // From the first matching row to the last, in the result's order.
    const int display = ColumnIndex(rs, c.displayColumn);
    const int code = c.dataColumn.isEmpty() ? -1 : ColumnIndex(rs, c.dataColumn);
    // The list is emptied and its memory refilled: each name is copied into
    // its one buffer, and the result's own text is then free to be reused
    // for the next row.
    ListEntries entries = m_list->takeEntries();
    for (; !rs.eof(); rs.moveNext())
        entries.add(rs.text(display), code < 0 ? 0 : ui::ToLong(rs.field(code)));
    rs.close();

    m_list->addItems(std::move(entries));
    if (hasNewEntry)
        m_list->addItem(c.newEntryText, 0);
    m_list->show();
}

bool PickList::choose(QWidget* focusTarget)
{
    if (!m_list || m_list->listIndex() < 0)
        return false;
    const QString text = m_list->list(m_list->listIndex());
    m_field->setText(text); // a change of the field: the list refreshes once more
    m_list->hide();
    MoveFocusTo(focusTarget);
    return true;
}

void PickList::attachChoice(QWidget* focusTarget, bool onDoubleClick)
{
    if (!m_list)
        return;
    const QPointer<QWidget> target(focusTarget);
    connect(m_list, &ListBox::keyPress, this, [this, target](int& keyAscii) {
        if (keyAscii == KeyCode::Enter)
            choose(target);
    });
    if (onDoubleClick)
        connect(m_list, &ListBox::dblClick, this, [this, target] { choose(target); });
}

bool PickList::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_field && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Down && m_list && m_list->isShown()) {
        m_list->setListIndex(0);
        m_list->setFocus(Qt::OtherFocusReason);
    }
    return false; // the key itself is not discarded
}
