#pragma once
// The examinee-file screen: stores the responses of a filled-in answer workbook into an
// examinee's Answer row, in three steps enforced by the buttons: select the examinee, read the
// workbook, save.
#include "capture/response_row_edit.h"
#include "store/view.h"

#include <QDialog>
#include <QVector>
#include <memory>

class AppContext;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;

class FrmFile : public QDialog {
    Q_OBJECT
public:
    explicit FrmFile(AppContext& ctx, QWidget* parent = nullptr);
    ~FrmFile() override;

    void selectExaminee(); // Print_Btn
    void readWorkbook();   // Send_BtnExcel
    void save();           // Save_Btn
    void downloadBlank();  // Down_BtnExcel

private:
    std::shared_ptr<store::Connection> bufferFile_;
    std::shared_ptr<store::Connection> examineeFile_;

public:
    store::View buffer;     // Answer in Logo.skn: its first row fills the import buffer at load
    store::View identities; // IDE
    store::View answers;    // Answer: the selected examinee's response row

    QPushButton* Print_Btn = nullptr;     // select examinee
    QPushButton* Send_BtnExcel = nullptr; // select the workbook
    QPushButton* Save_Btn = nullptr;
    QPushButton* Down_BtnExcel = nullptr; // download the blank workbook
    QPushButton* Exit_Btn = nullptr;
    QLabel* SkinLabel2 = nullptr;
    QLabel* SkinLblName = nullptr;        // name of the selected examinee
    QLineEdit* Text16 = nullptr;          // code of the selected examinee (hidden)
    QLineEdit* Text4 = nullptr;           // the marker read from the workbook (hidden)
    QFrame* bufferPanel = nullptr;        // hidden panel of the import buffer
    QVector<QLineEdit*> TxtKLID;          // import buffer, one value per item (TxtKLID_1 … TxtKLID_71)
    QLabel* LblFile = nullptr;            // the workbook read, shown until it is stored or dropped
    QFrame* Frame2 = nullptr;             // what Save stores, laid out as on the answer sheet
    QVector<QLineEdit*> TxtStore;         // one response code per item (TxtStore_1 … TxtStore_71)

private:
    void build();
    void load();
    // Shows the workbook read and the response codes Save would store from it; an empty path
    // empties both.
    void showRead(const QString& path);

    AppContext& ctx_;
    capture::ResponseRowEdit responses_{answers};
};
