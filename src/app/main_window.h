#pragma once
// The main window: menu, hint line, links, clinic name, in-window panels, the exit flow.
#include "kit/app_context.h"
#include "kit/program_version.h"
#include "store/view.h"

#include <QFrame>
#include <QImage>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>

class ClinicDetailsPanel;
class FrmTest;
class FrmkLID;
class MaintenanceScreens;
class NormTablesPanel;
class ItemEditPanel;
class RegistrationPanel;
class SettingsPanel;
class ThemePanel;

class Frm1 : public QWidget {
    Q_OBJECT
public:
    static constexpr int kMajorVersion = kProgramMajorVersion;
    static constexpr int kMinorVersion = kProgramMinorVersion;

    explicit Frm1(AppContext& ctx, QWidget* parent = nullptr);
    ~Frm1() override;

    // The load step (also run again when the exit screen returns to this window).
    // False when a view could not be opened; the reason is in loadError().
    bool load();
    const QString& loadError() const { return loadError_; }

    // The clinic's own word for the examinee code, as the clinic details last gave it.
    QString IdentifierLabel() const;
    void HideAllPanels();
    void ComposeContactLines();
    QString themeName() const { return themeName_; }

    AppContext& context() const { return ctx_; }

private:
    std::shared_ptr<store::Connection> examineeFile_;

public:
    // Views opened at load. The settings row is read by the clinic details panel (its fields)
    // and the settings panel (the logo switch).
    store::View Adodc3; // Answer: the menu's "responses exist" test
    store::View Adodc5; // IDE: the keying button's "examinees exist" test
    store::View Adodc12; // QUS

    QLabel* SkinLabel9 = nullptr;  // title
    QLabel* SkinLabel1 = nullptr;  // clinic name
    QLabel* SkinLabel2 = nullptr;  // hint line
    QLabel* SkinLabel21 = nullptr; // permanent notice
    QFrame* Frame7 = nullptr;      // main menu
    QPushButton* Command1 = nullptr;
    QPushButton* Command2 = nullptr;
    QPushButton* Command3 = nullptr;
    QPushButton* Command4 = nullptr;
    QPushButton* CmdPasokh = nullptr;
    QPushButton* Command9 = nullptr;
    QPushButton* Command5 = nullptr;
    QPushButton* Command12 = nullptr;
    QPushButton* Command13 = nullptr;
    QPushButton* Command6 = nullptr;
    QPushButton* Cmandkanal = nullptr;
    QPushButton* CmdHelp = nullptr;
    QPushButton* Command19 = nullptr;
    QLabel* Picture1 = nullptr;    // link picture
    QTimer* Timer3 = nullptr;      // one-shot update check, 10 s after load

    // Whether closing the window shows the exit screen: true after every load, false once a
    // registration has been stored or the scoring screen opened (the exit button shows it always).
    bool closeShowsExitScreen() const { return closeShowsExitScreen_; }
    // The logo as read from the logo file (null without one), kept for the screens that print it.
    const QImage& logo() const { return logo_; }
    // The clinic's contact lines (ComposeContactLines), each ending in CR LF.
    const QString& contactLines() const { return contactLines_; }

    // In-window panels.
    QFrame* Frame10 = nullptr; // registration, made when first opened
    QFrame* Frame8 = nullptr;  // settings (a SettingsPanel)
    QFrame* Frame9 = nullptr;  // clinic details (a ClinicDetailsPanel)
    QFrame* Frame6 = nullptr;  // theme (a ThemePanel)
    QFrame* Frame1 = nullptr;  // item editing (an ItemEditPanel), made when first opened
    QFrame* normTablesFrame = nullptr; // the norm tables (a NormTablesPanel), made when first opened
    QFrame* Frame3 = nullptr;  // update notice

    // Hooks for the screens that open from here; each is set once its screen exists.
    // Until then the exit screen is replaced by ending the program.
    std::function<void(QPoint twipsPosition)> showExitScreen;
    std::function<void()> startupUpdateCheck;

    // The scoring screen, once the keying button has opened it (kept for the whole run).
    FrmkLID* scoringScreen() const { return scoringScreen_.get(); }

    // The exit, about, update and download screens and the start-up update check.
    MaintenanceScreens* maintenance() const { return maintenance_; }

    // The registration panel (Frame10, made when first asked for) and the test screen (nullptr
    // until its first run).
    RegistrationPanel* registrationPanel();
    // The settings panel (Frame8) and the clinic details (Frame9) and theme (Frame6) panels over it.
    SettingsPanel* settingsPanel() const { return settings_; }
    ClinicDetailsPanel* clinicDetailsPanel() const { return clinicDetails_; }
    ThemePanel* themePanel() const { return theme_; }
    // The settings' rarely opened panels are made when first asked for: the window shows sooner.
    NormTablesPanel* normTablesPanel();
    ItemEditPanel* itemEditPanel();
    FrmTest* testScreen() const { return frmTest_; }

    // The hint the mouse over this control shows (empty: hide the hint line).
    std::optional<QString> hintFor(const QWidget* control) const;

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildWindow();
    QPushButton* addMenuButton(const QString& name, const QString& caption, int index);
    void onTimer3();
    void loadLogo();
    void exitClicked();
    void runCloseStep();
    void openUrl(const QUrl& url);
    void reportFailure(const store::Result& r); // a "خطا" box naming what failed
    bool answersExist();
    void keyingClicked();

    // Registration (Command1) and the on-screen test (Command2).
    void wireRegistrationAndTest();
    void runTest();
    void prepareTestForNextRun();
    RegistrationPanel* registration_ = nullptr;
    FrmTest* frmTest_ = nullptr;

    // The lookup screen (Command4), the answer-sheet screen (CmdPasokh), the examinee-file
    // screen (Command5), the settings panel (Command9) and the panels over it.
    void openLookup();
    void openAnswerSheet();
    void openExamineeFile();
    void wireSettings();
    void openSettingsPanel();
    void openItemEdit();
    void openNormTables();
    void openClinicDetails();
    void openTheme();
    void chooseLogo();
    void applyChosenTheme(const QString& themeName);
    void clinicDetailsSaved();
    ItemEditPanel* itemEdit_ = nullptr;
    SettingsPanel* settings_ = nullptr;
    ClinicDetailsPanel* clinicDetails_ = nullptr;
    ThemePanel* theme_ = nullptr;
    NormTablesPanel* normTables_ = nullptr;

    AppContext& ctx_;
    QString loadError_;
    QString themeName_;
    bool closeShowsExitScreen_ = true;
    QImage logo_;
    QString contactLines_;
    QString identifierLabel_; // as the clinic details panel last announced it
    std::unique_ptr<FrmkLID> scoringScreen_;
    MaintenanceScreens* maintenance_ = nullptr;
};
