#pragma once

#include <QDialog>
#include <QPointer>
#include <QString>

class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;

// Adds one service (strServices "SERVICE", type "SR") or segment
// ("SEGMENT", type "SG") to mstService. Opened from the enquiry register's
// "<NEW>" entries; the saved name is appended to the register's box and
// selected there. The opener sets strServices after construction; the
// window prepares itself when first shown.
class frmServices : public QDialog {
    Q_OBJECT
public:
    explicit frmServices(QWidget* parent = nullptr);
    ~frmServices() override;

    QString strServices;

public Q_SLOTS:
    void cmdOK_Click();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void Form_Load();
    void HandBackToRegister();
    QString TypeCode() const;

    bool m_loaded = false;
    // The register that asked for this window, while it is open.
    QPointer<QWidget> m_register;
    bool m_askedByRegister = false;

    QFrame* fraService;
    QLabel* lblName;
    QLineEdit* txtName;
    QPushButton* cmdOK;
    QPushButton* cmdClose;
};
