#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>

class ListBox;
class QLineEdit;
class QWidget;

namespace data {
class Connection;
}

// Type-ahead pick-list: a list under a text field that shows the known
// values from the first one the typed text begins with, refreshed on every
// change of the field's text (typed, deleted, pasted or set by code).
class PickList : public QObject {
    Q_OBJECT
public:
    enum class EmptyTest { AsTyped, Trimmed };
    enum class EmptyAction {
        Stop,            // nothing more (after the hide-first step, if any)
        Nothing,         // the same: the list is left as it is
        ShowNewEntryOnly // the list holds only the new-record entry, shown
    };

    struct Config {
        std::function<bool()> active; // empty: always active
        bool hideFirst = false;       // hide the list before anything else
        EmptyTest emptyTest = EmptyTest::AsTyped;
        EmptyAction emptyAction = EmptyAction::Stop;
        QString sourceQuery;
        QString matchColumn;              // compared with the trimmed text as a prefix
        QString displayColumn;            // entry text
        QString dataColumn;               // item data; empty: none
        QPointer<QObject> suppressMarker; // its tag "EXIT" skips one refresh
        QString newEntryText;             // e.g. "<New>": entry 0, list shown even without a match
        bool clearAfterMarker = false;    // empty the list right after the marker test
    };

    // Refreshes on every textChanged of field; Down-arrow in field moves into
    // a visible list. Owned by the field.
    PickList(QLineEdit* field, ListBox* list, data::Connection& db, Config config);

    QLineEdit* field() const { return m_field; }
    ListBox* list() const { return m_list; }
    const Config& config() const { return m_config; }

    // One refresh. A database failure is shown with the error report; it
    // never ends the program.
    void refresh();

    // Pick-list choice: the selected entry's text into the field, the list
    // hidden, the focus to focusTarget. False (nothing done) when no entry
    // is selected.
    bool choose(QWidget* focusTarget);
    // Runs choose(focusTarget) on Enter in the list, and on a double-click
    // when asked.
    void attachChoice(QWidget* focusTarget, bool onDoubleClick = true);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void fill();

    QLineEdit* m_field;
    QPointer<ListBox> m_list;
    data::Connection* m_db;
    Config m_config;
};
