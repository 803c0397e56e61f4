#pragma once
// The scoring screen: pick an examinee by code, show identity and responses, report the
// unanswered items and the eleven raw scores; correct sex and education.
//
// The examinee is read from his IDE and Answer rows into one value, which the fields show; the
// unanswered items and the raw scores are computed from that value, never read back from the
// fields. The view-profile button hands the value over (profileRequested) and hides the screen;
// while the profile is open the screen stays loaded, hidden, and only the corrected sex and
// education are asked of it again (normGroup).
#include "kit/app_context.h"
#include "examinees/examinee_record.h"
#include "store/view.h"

#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVector>
#include <QWidget>
#include <functional>

class IdentityPanel;

class FrmkLID : public QWidget {
    Q_OBJECT
public:
    // mainWindow is hidden by whoever opens this screen and shown again when it closes.
    // identifierLabel gives the clinic's word for the examinee code at the moment it is needed.
    FrmkLID(AppContext& ctx, QWidget* mainWindow, std::function<QString()> identifierLabel,
            QWidget* parent = nullptr);
    ~FrmkLID() override;

    // The load step: opens the views, applies the theme, returns to the no-examinee state.
    // Run every time the screen is opened.
    void load();

    // The selected examinee as read, with sex and education as the lists show them now (saved
    // or not); an empty record while none is selected.
    examinees::ExamineeRecord examinee() const;
    // Sex and education as the lists show them now, saved or not.
    examinees::NormGroup normGroup() const;

    // Writes the raw scores of the selected examinee's responses into TxtL..TxtMa.
    void ComputeRawScores();

    // The 71 response texts as the fields show them, item 1 first.
    QStringList responseTexts() const;
    // Item n's response field (n from 1 to 71).
    QLineEdit* responseField(int item) const { return Txt3.at(item - 1); }
    // TxtL..TxtMa in scale order.
    QVector<QLineEdit*> scoreFields() const;
    const QString& themeName() const { return themeName_; }

    // Command panel.
    QPushButton* Command1 = nullptr; // select examinee
    QPushButton* Command8 = nullptr; // view profile
    QPushButton* Command5 = nullptr; // help
    QPushButton* Command4 = nullptr; // exit
    QLineEdit* Text5 = nullptr;      // code of the selected examinee, empty while none; hidden

    // Identity panel, filled from the examinee's IDE row.
    QFrame* Frame5 = nullptr;
    QLabel* SkinLbl = nullptr;       // the identifier label, in front of the code
    QLineEdit* Text15 = nullptr;     // Code
    QLineEdit* Text3_3 = nullptr;    // FName (element 3 of the Text3 control array)
    QLineEdit* Text12 = nullptr;     // LName
    QLineEdit* Text10 = nullptr;     // Jens, hidden: shown and edited through Combo2
    QLineEdit* Text6 = nullptr;      // Sen
    QLineEdit* Text11 = nullptr;     // Taahol
    QLineEdit* Text7 = nullptr;      // Tahsil, hidden: shown and edited through Combo4
    QLineEdit* Text8 = nullptr;      // Date
    QLineEdit* Text9 = nullptr;      // Time
    QLineEdit* Text17 = nullptr;     // Group, hidden
    QComboBox* Combo2 = nullptr;     // sex
    QComboBox* Combo4 = nullptr;     // education
    QPushButton* CmdSave = nullptr;

    // Responses and scores panel.
    QFrame* Frame3 = nullptr;
    QVector<QLineEdit*> Txt3;        // items 1..71 at indexes 0..70; read-only
    QLineEdit* TxtL = nullptr;
    QLineEdit* TxtF = nullptr;
    QLineEdit* TxtK = nullptr;
    QLineEdit* TxtHs = nullptr;
    QLineEdit* TxtD = nullptr;
    QLineEdit* TxtHy = nullptr;
    QLineEdit* TxtPd = nullptr;
    QLineEdit* TxtPa = nullptr;
    QLineEdit* TxtPt = nullptr;
    QLineEdit* TxtSc = nullptr;
    QLineEdit* TxtMa = nullptr;
    QLabel* LblKhali = nullptr;      // number of unanswered items

    // Help panel.
    QFrame* Frame2 = nullptr;
    QPlainTextEdit* Text4 = nullptr;
    QPushButton* Command7 = nullptr;

Q_SIGNALS:
    // The view-profile button with an examinee selected; the screen hides right after.
    void profileRequested(const examinees::ExamineeRecord& examinee);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildWindow();
    QFrame* buildCommandPanel();
    void buildIdentityPanel();
    void buildResponsesPanel();
    void buildHelpPanel();
    void placeHelpPanel();

    void selectExaminee();
    void viewProfile();
    void save();
    void showNoExaminee();
    void clearShownExaminee();
    void loadIdentity();
    void loadResponses();
    void reportUnanswered();
    void reportReadFailure(const QString& error);

    AppContext& ctx_;
    IdentityPanel* identity_ = nullptr;
    QWidget* mainWindow_;
    std::function<QString()> identifierLabel_;
    store::View answer_; // the examinee's responses
    store::View ide_;    // the examinee's identity
    examinees::ExamineeRecord examinee_; // as read from the two rows; empty while none is selected
    QString themeName_;
};
