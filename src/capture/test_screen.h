#pragma once
// The test screen: the examinee answers the items one at a time; each answer goes into his
// Answer row as "1" (yes) or "2" (no). The examinee panel shows his identity row for correction.
#include "capture/response_row_edit.h"
#include "store/view.h"

#include <QDialog>
#include <QPointer>
#include <QVector>
#include <memory>

class AppContext;
class FrmPhone;
class IdentityPanel;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace phone {
class PhoneDesk;
}

class FrmTest : public QDialog {
    Q_OBJECT
public:
    // Runs the load step. The main window filters Adodc2 and Adodc3 to the examinee and shows
    // the screen; it is hidden, not destroyed, when closed.
    explicit FrmTest(AppContext& ctx, QWidget* parent = nullptr);
    ~FrmTest() override;

    void start();    // Command1
    void ShowItem(); // every change of the item counter
    void next();     // CmdNext
    void previous(); // CmdBack
    void saveIdentity(); // CmdSave
    // The state the main window leaves the screen in when it has closed.
    void PrepareForNextRun();
    // Narrows the response and identity rows to the examinee; found is false when he has no
    // response row. A failure is a read error, never "no such examinee".
    store::Result selectExaminee(const QString& code, bool& found);

    // The item the answer field is attached to (0 before the first one is shown).
    int currentItem() const { return item_; }

    // CmdPhone: the examinee answers on his own phone; a window shows the link and his progress.
    void openPhone();
    // The phone sessions of this run of the program (made when first needed) and their windows.
    phone::PhoneDesk& phoneDesk();
    QList<FrmPhone*> phoneWindows() const;

private:
    // One connection to the examinee file, shared by the screen's views (declared before them).
    std::shared_ptr<store::Connection> examineeFile_;

public:
    store::View Adodc2; // Answer: the examinee's response row
    store::View Adodc3; // IDE: the examinee's identity row
    store::View Adodc6; // QUS: the current item

    QLabel* SkinLabel3 = nullptr; // title
    QLabel* SkinLabel4 = nullptr; // instructions
    QLabel* SkinLabel5 = nullptr;
    QLabel* SkinLabel6 = nullptr;
    QLabel* SkinLbl5 = nullptr;   // item text
    QLineEdit* Text6 = nullptr;   // item counter
    QGroupBox* Frame2 = nullptr;  // answer frame, titled with the item number
    QRadioButton* Option1 = nullptr; // yes
    QRadioButton* Option2 = nullptr; // no
    QLineEdit* Text12 = nullptr;  // response of the current item (hidden)
    QVector<QLabel*> Lblqu;       // QU, QU2..QU5 of the current item (hidden)
    QPushButton* Command1 = nullptr; // start
    QPushButton* CmdBack = nullptr;
    QPushButton* CmdNext = nullptr;
    QPushButton* Command5 = nullptr; // save and exit
    QPushButton* CmdPhone = nullptr; // answer on a phone

    QFrame* Frame1 = nullptr;     // examinee panel
    QLineEdit* Text1 = nullptr;   // code (read-only)
    QLineEdit* Text3 = nullptr;   // given name
    QLineEdit* Text4 = nullptr;   // family name
    QLineEdit* Text5 = nullptr;   // age
    QLineEdit* Text11 = nullptr;  // marital status
    QLineEdit* Text8 = nullptr;   // date
    QLineEdit* Text9 = nullptr;   // time
    QComboBox* Combo2 = nullptr;  // sex
    QLineEdit* Text10 = nullptr;  // sex (hidden)
    QComboBox* Combo4 = nullptr;  // education
    QLineEdit* Text7 = nullptr;   // education (hidden)
    QPushButton* CmdSave = nullptr;

Q_SIGNALS:
    // The screen has closed (save and exit, Escape or the close box); both rows are stored.
    void closed();

public Q_SLOTS:
    // Save and exit: stores the response and identity rows, then closes.
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void build();
    void buildExamineePanel();
    void load();
    void showItemNumber(int n);
    void answer(const QString& code);
    void showResponse(const QString& code);
    bool storeResponses();
    bool storeIdentity();
    void loadIdentity();

    AppContext& ctx_;
    IdentityPanel* identity_ = nullptr;
    int item_ = 0;
    capture::ResponseRowEdit responses_{Adodc2};
    std::unique_ptr<phone::PhoneDesk> phoneDesk_;
    QList<QPointer<FrmPhone>> phoneWindows_;
};
