#include "app/ModAdmin.h"

#include "data/Recordset.h"
#include "ui/ComboBox.h"
#include "ui/Convert.h"
#include "ui/Grid.h"
#include "ui/MaskEdBox.h"

#include <QCheckBox>
#include <QLineEdit>

namespace modAdmin {

void ClearControls(QWidget* window)
{
    if (!window)
        return;
    // Every control of the window in creation order, by kind. A combo box's
    // own line edit and a grid's editors are not the window's text fields.
    const QList<QWidget*> controls = window->findChildren<QWidget*>();
    for (QWidget* control : controls) {
        if (auto* mask = qobject_cast<MaskEdBox*>(control)) {
            mask->setText(QString::fromLatin1(MaskEdBox::EmptyText));
        } else if (auto* grid = qobject_cast<Grid*>(control)) {
            grid->setRows(1);
            grid->setRows(2);
        } else if (auto* check = qobject_cast<QCheckBox*>(control)) {
            check->setChecked(false);
        } else if (auto* text = qobject_cast<QLineEdit*>(control)) {
            if (!qobject_cast<QComboBox*>(text->parentWidget()) &&
                !qobject_cast<QAbstractSpinBox*>(text->parentWidget()))
                text->setText(QString());
        }
    }
}

void FillCombo(ComboBox* combo, const QString& sql)
{
    data::Recordset rs(sql, DbConnection);
    combo->clear();
    // The items are collected first and added in one step: a box of a few
    // hundred sales persons is refilled after every save.
    std::vector<ListEntry> entries;
    if (!rs.eof()) {
        rs.moveFirst();
        while (!rs.eof()) {
            entries.push_back({rs.text(1), ui::ToLong(rs.field(0))});
            rs.moveNext();
        }
    }
    rs.close();
    combo->addItems(std::move(entries));
}

} // namespace modAdmin
