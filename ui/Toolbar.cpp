#include "ui/Toolbar.h"

#include <QAction>
#include <QMenu>
#include <QToolButton>

ToolbarButton::ToolbarButton(QToolBar* bar, const QString& key, const QString& toolTip,
                             const QString& caption, const QIcon& icon, Style style)
    : QObject(bar), m_button(new QToolButton(bar)), m_caption(caption), m_style(style)
{
    setObjectName(key);
    m_button->setObjectName(key);
    m_button->setToolTip(toolTip);
    m_button->setIcon(icon);
    m_button->setAutoRaise(true);
    // Without a picture the button shows its caption, or its tool tip.
    if (icon.isNull()) {
        m_button->setText(caption.isEmpty() ? toolTip : caption);
        m_button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    } else {
        m_button->setText(caption);
        m_button->setToolButtonStyle(caption.isEmpty() ? Qt::ToolButtonIconOnly
                                                       : Qt::ToolButtonTextUnderIcon);
    }
    if (style == Style::DropDown) {
        m_menu = new QMenu(m_button); // owned by the button
        m_button->setMenu(m_menu);
        m_button->setPopupMode(QToolButton::MenuButtonPopup);
    }
}

QString ToolbarButton::toolTip() const
{
    return m_button->toolTip();
}

void ToolbarButton::setVisible(bool visible)
{
    m_action->setVisible(visible);
}

bool ToolbarButton::isVisible() const
{
    return m_action->isVisible();
}

void ToolbarButton::setEnabled(bool enabled)
{
    m_action->setEnabled(enabled);
}

bool ToolbarButton::isEnabled() const
{
    return m_action->isEnabled();
}

void ToolbarButton::addMenuEntry(const QString& text, const QString& menuKey)
{
    if (!m_menu)
        return;
    QAction* entry = m_menu->addAction(text);
    entry->setObjectName(menuKey);
    entry->setData(menuKey);
}

QStringList ToolbarButton::menuKeys() const
{
    QStringList keys;
    if (m_menu)
        for (const QAction* a : m_menu->actions())
            keys.append(a->data().toString());
    return keys;
}

QAction* ToolbarButton::menuEntry(const QString& menuKey) const
{
    if (m_menu)
        for (QAction* a : m_menu->actions())
            if (a->data().toString() == menuKey)
                return a;
    return nullptr;
}

Toolbar::Toolbar(QWidget* parent) : QToolBar(parent)
{
    setMovable(false);
    setFloatable(false);
    setIconSize(QSize(32, 32));
}

ToolbarButton* Toolbar::addButton(const QString& key, const QString& toolTip,
                                  const QString& caption, const QIcon& icon,
                                  ToolbarButton::Style style)
{
    auto* b = new ToolbarButton(this, key, toolTip, caption, icon, style); // owned by this bar
    b->m_action = addWidget(b->m_button);
    b->m_action->setObjectName(key);
    m_buttons.push_back(b);
    connect(b->m_button, &QToolButton::clicked, this, [this, key] { emit buttonClick(key); });
    if (b->m_menu)
        connect(b->m_menu, &QMenu::triggered, this, [this, key](QAction* entry) {
            emit buttonMenuClick(key, entry->data().toString());
        });
    return b;
}

ToolbarButton* Toolbar::button(int position) const
{
    if (position < 1 || position > buttonCount())
        return nullptr;
    return m_buttons[size_t(position - 1)];
}

ToolbarButton* Toolbar::buttonByKey(const QString& key) const
{
    for (ToolbarButton* b : m_buttons)
        if (b->key() == key)
            return b;
    return nullptr;
}

bool Toolbar::clickButton(const QString& key)
{
    ToolbarButton* b = buttonByKey(key);
    if (!b || !b->isVisible() || !b->isEnabled())
        return false;
    b->widget()->click();
    return true;
}

bool Toolbar::clickButtonMenu(const QString& key, const QString& menuKey)
{
    ToolbarButton* b = buttonByKey(key);
    if (!b || !b->isVisible() || !b->isEnabled())
        return false;
    QAction* entry = b->menuEntry(menuKey);
    if (!entry || !entry->isEnabled())
        return false;
    entry->trigger();
    return true;
}
