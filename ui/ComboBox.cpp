#include "ui/ComboBox.h"

#include "ui/KeyFilters.h"
#include "ui/ListOrder.h"

#include <QKeyEvent>
#include <QScopedValueRollback>

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
