#pragma once
// The registration panel of the main window: collects an examinee's identity, proposes a free
// code, checks the entries and stores the IDE row with its empty Answer row.
#include "examinees/code_proposal.h"
#include "examinees/registration_checks.h"
#include "store/view.h"

#include <QFrame>
#include <memory>

class AppContext;
class IdentityPanel;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

class RegistrationPanel : public QFrame {
    Q_OBJECT
public:
    // The main window places the panel, hides its other panels before open() and hides this one
    // again when it says closed() or registered().
    RegistrationPanel(AppContext& ctx, QWidget* parent);
    ~RegistrationPanel() override;

    // The register button: shows the panel with a new row and proposes a code.
    void open();
    void save();    // Command8
    void cancel();  // Command10
    void discard(); // drops a row that was started but not saved
    // The code caption (and the messages naming the code) follow the identifier label.
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
    std::shared_ptr<store::Connection> examineeFile_; // shared by the views below

public:
    store::View Adodc2; // IDE: the new examinee row
    store::View Adodc3; // Answer: his new response row
    store::View Adodc5; // IDE: code proposal and uniqueness test

Q_SIGNALS:
    void registered(); // both rows are stored; the panel is done
    void closed();     // cancelled

private:
    void build();
    store::Result propose(); // the first free code after the last registered one, into Text11
    bool store();
    QWidget* focusFor(RegistrationEntry entry) const;

    AppContext& ctx_;
    IdentityPanel* identity_ = nullptr;
    QString identifierLabel_;
};
