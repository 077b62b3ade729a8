#pragma once

#include <QIcon>
#include <QObject>
#include <QString>
#include <QToolBar>
#include <vector>

class QAction;
class QMenu;
class QToolButton;

// One toolbar button: key, tool tip, caption, icon and style; a drop-down
// button carries button-menu entries (text, key). Owned by its Toolbar.
class ToolbarButton : public QObject {
    Q_OBJECT
public:
    enum class Style { Plain, DropDown };

    QString key() const { return objectName(); }
    QString toolTip() const;
    QString caption() const { return m_caption; }
    Style style() const { return m_style; }

    // Shown or not; independent of whether the toolbar itself is on screen.
    void setVisible(bool visible);
    bool isVisible() const;
    void setEnabled(bool enabled);
    bool isEnabled() const;

    void addMenuEntry(const QString& text, const QString& menuKey);
    QStringList menuKeys() const;
    QAction* menuEntry(const QString& menuKey) const;

    QToolButton* widget() const { return m_button; }
    QAction* action() const { return m_action; }

private:
    friend class Toolbar;
    ToolbarButton(QToolBar* bar, const QString& key, const QString& toolTip, const QString& caption,
                  const QIcon& icon, Style style);

    QToolButton* m_button;
    QAction* m_action = nullptr; // the button's place in the toolbar
    QMenu* m_menu = nullptr;
    QString m_caption;
    Style m_style;
};

// Toolbar whose buttons are addressed by 1-based position or by key.
// Buttons' objectNames are their keys, menu entries' their menu keys.
class Toolbar : public QToolBar {
    Q_OBJECT
public:
    explicit Toolbar(QWidget* parent = nullptr);

    ToolbarButton* addButton(const QString& key, const QString& toolTip,
                             const QString& caption = {}, const QIcon& icon = {},
                             ToolbarButton::Style style = ToolbarButton::Style::Plain);
    int buttonCount() const { return int(m_buttons.size()); }
    // The button at a 1-based position; null outside 1..buttonCount().
    ToolbarButton* button(int position) const;
    ToolbarButton* buttonByKey(const QString& key) const;

    // What a user's click does, for tests: false (and nothing happens) when
    // the button or entry does not exist or is hidden or disabled.
    bool clickButton(const QString& key);
    bool clickButtonMenu(const QString& key, const QString& menuKey);

signals:
    void buttonClick(const QString& key);
    void buttonMenuClick(const QString& buttonKey, const QString& menuKey);

private:
    std::vector<ToolbarButton*> m_buttons; // children of this toolbar
};
