#pragma once

#include <QDialog>
#include <QPointer>
#include <QString>

class ListBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class Toolbar;

// Creates a client (mode "CREATE", opened from the enquiry register's
// "<New>" entry, which gets the new client back) or changes one (mode
// "MODIFY", loaded with ShowClient before it is shown). The opener sets
// strCltFormMode after construction; the window prepares itself on its
// first show or ShowClient call.
class frmClient : public QDialog {
    Q_OBJECT
public:
    explicit frmClient(QWidget* parent = nullptr);
    ~frmClient() override;

    QString strCltFormMode;

    // Loads the client with that code into the fields; an unknown code
    // leaves them empty. A failure is reported and leaves them as they are.
    void ShowClient(qint32 clCode);

public Q_SLOTS:
    void cmdOK_Click();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void Form_Load();
    void ResetClientWindow();
    bool ValidateClient();
    void InsertClient();
    void UpdateClient();
    void HandBackToRegister();
    void buildLayout();

    bool m_loaded = false;
    // The register's client list, when the register opened this window for
    // a new client and is still open; nothing otherwise.
    QPointer<ListBox> m_registerList;
    bool m_askedByRegister = false;

    Toolbar* tbrClient;
    QFrame* fraClient;
    QLabel* lblName;
    QLineEdit* txtName;
    QLabel* lblPhone;
    QLineEdit* txtPhone;
    QLabel* lblMobile;
    QLineEdit* txtMobile;
    QLabel* lblAddress;
    QLineEdit* txtAddress;
    QLineEdit* txtCity;
    QPushButton* cmdOK;
    QPushButton* cmdClose;
};
