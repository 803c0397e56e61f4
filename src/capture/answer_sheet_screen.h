#pragma once
// The answer-sheet screen: an operator keys the 71 responses of a paper answer sheet, one digit
// per item. Every accepted digit is stored in the examinee's Answer row at once and the cursor
// moves on; the row is committed every ten entries, on Save, on choosing another examinee and
// whenever the screen closes.
#include "capture/answer_sheet_entry.h"
#include "capture/response_row_edit.h"
#include "store/view.h"

#include <QDialog>
#include <QVector>
#include <functional>
#include <memory>

class AppContext;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;

class Frmpas2 : public QDialog {
    Q_OBJECT
public:
    // identifierLabel: the clinic's word for the examinee code, read when a message needs it.
    Frmpas2(AppContext& ctx, std::function<QString()> identifierLabel, QWidget* parent = nullptr);
    ~Frmpas2() override;

    void selectExaminee(); // Command3, or Enter in Text4
    void save();           // Command1

    // Entry field and hidden response field of an item (1 … 71).
    QLineEdit* entryField(int item) const { return Txt1.at(item - 1); }
    QLineEdit* responseField(int item) const { return Txt2.at(item - 1); }
    const answer_sheet::Entry& entry() const { return entry_; }

private:
    std::shared_ptr<store::Connection> examineeFile_;

public:
    store::View answers;    // Answer: the selected examinee's response row
    store::View identities; // IDE: the selected examinee's identity row

    QLineEdit* Text4 = nullptr;       // code
    QPushButton* Command3 = nullptr;  // select examinee
    QPushButton* Command1 = nullptr;  // save
    QPushButton* Command2 = nullptr;  // exit
    QLabel* SkinLbl2 = nullptr;       // name of the selected examinee
    QLabel* SkinLabel1 = nullptr;     // instruction
    QFrame* Frame1 = nullptr;         // entry grid
    QVector<QLabel*> SkinLbl1;        // item numbers (SkinLbl1_1 … SkinLbl1_71)
    QVector<QLineEdit*> Txt1;         // entry fields (Txt1_1 … Txt1_71)
    QVector<QLineEdit*> Txt2;         // stored responses, hidden (Txt2_1 … Txt2_71)
    QLineEdit* Text11 = nullptr;      // given name, hidden
    QLineEdit* Text6 = nullptr;       // family name, hidden
    QLineEdit* Text13 = nullptr;      // entries since the last commit, hidden

public Q_SLOTS:
    // Every way of closing (exit, Escape, the close box) commits the entries not yet committed.
    void done(int result) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void build();
    void load();
    void showStoredResponses();
    void typeInto(int item, const QString& code);
    // Text the screen itself puts into an entry field; any other change is taken back.
    void setEntryText(int item, const QString& text);
    void entryChanged(int item);
    bool commitEntries();
    void refuse();

    AppContext& ctx_;
    std::function<QString()> identifierLabel_;
    answer_sheet::Entry entry_;
    bool selected_ = false; // an examinee's row is bound to the grid
    QString selectedCode_;  // the code that chose it
    bool ownEdit_ = false;  // the screen itself is changing an entry field
    capture::ResponseRowEdit responses_{answers};
};
