#pragma once
// The registration panel of the main window: collects an examinee's identity, proposes a free
// code, checks the entries and stores the IDE row with its empty Answer row.
#include "examinees/registration_checks.h"

#include <QFrame>

class AppContext;
class Frm1;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

class RegistrationPanel : public QFrame {
    Q_OBJECT
public:
    // Works through the main window's views Adodc2 (IDE, the new row), Adodc3 (Answer) and
    // Adodc5 (IDE, proposal and uniqueness), its HideAllPanels, register button and exit flag.
    explicit RegistrationPanel(Frm1& main);

    void open();   // the register button
    void save();   // Command8
    void cancel(); // Command10
    // The code caption follows the identifier label as it is typed.
    void setIdentifierLabel(const QString& label);

    // The entries as the checks see them (each list through its hidden field).
    RegistrationEntries entries() const;

    QLabel* codeCaption = nullptr;
    QLineEdit* Text11 = nullptr; // code
    QLineEdit* Text6 = nullptr;  // given name
    QLineEdit* Text4 = nullptr;  // family name
    QLineEdit* Text5 = nullptr;  // age
    QComboBox* Combo2 = nullptr; // sex
    QComboBox* Combo1 = nullptr; // marital status
    QComboBox* Combo3 = nullptr; // group
    QComboBox* Combo4 = nullptr; // education
    QLineEdit* Text16 = nullptr; // sex (hidden)
    QLineEdit* Text15 = nullptr; // marital status (hidden)
    QLineEdit* Text17 = nullptr; // group (hidden)
    QLineEdit* Text7 = nullptr;  // education (hidden)
    QLineEdit* Text8 = nullptr;  // date
    QLineEdit* Text9 = nullptr;  // time
    QLineEdit* Text25 = nullptr; // code of Adodc5's current row (hidden)
    QPushButton* Command8 = nullptr;  // save
    QPushButton* Command10 = nullptr; // cancel

private:
    void build();
    void proposeCode();
    bool store();
    QWidget* focusFor(RegistrationEntry entry) const;
    void showStoreFailure(const QString& what, const QString& error);

    Frm1& main_;
    AppContext& ctx_;
};
