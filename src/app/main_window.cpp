#include "app/main_window.h"
#include "app/link_picture.h"
#include "app/profile_flow.h"
#include "store/schema.h"
#include "kit/controls.h"
#include "kit/texts.h"
#include "kit/twips.h"
#include "capture/examinee_file_screen.h"
#include "capture/answer_sheet_screen.h"
#include "capture/test_screen.h"
#include "capture/item_edit_panel.h"
#include "examinees/lookup_screen.h"
#include "examinees/registration_panel.h"
#include "maintenance/maintenance_screens.h"
#include "group/group_export.h"
#include "scoring/scoring_screen.h"
#include "settings/apply_theme.h"
#include "settings/clinic_details.h"
#include "norms/norm_tables_panel.h"
#include "app/delivered_check.h"
#include "settings/clinic_details_panel.h"
#include "settings/settings_panel.h"
#include "settings/theme_panel.h"

#include <QCloseEvent>
#include <QFileInfo>
#include <QImageReader>
#include <QMouseEvent>
#include <QPainter>

namespace {

// The update check waits this long after start-up, so it never slows the first window.
constexpr int kUpdateCheckDelayMs = 10000;

const QString kExamineesNotRead = QStringLiteral("فهرست آزمودني ها خوانده نشد.");


} // namespace

Frm1::Frm1(AppContext& ctx, QWidget* parent)
    : QWidget(parent)
    , examineeFile_(std::make_shared<store::Connection>(ctx.path(store::kExamineeFile)))
    , Adodc3(examineeFile_, QStringLiteral("Answer"))
    , Adodc5(examineeFile_, QStringLiteral("IDE"))
    , Adodc12(examineeFile_, QStringLiteral("QUS"))
    , ctx_(ctx)
{
    setObjectName(QStringLiteral("Frm1"));
    setWindowTitle(texts::kProgramCaption);
    buildWindow();
    maintenance_ = new MaintenanceScreens(
        ctx_, {this, Frame3, Command12, Command13, [this] { return answersExist(); }, [this] { HideAllPanels(); },
               [this] { return load() ? QString() : loadError_; }, kMajorVersion, kMinorVersion}, this);
    showExitScreen = [this](QPoint at) { maintenance_->showExitScreen(at); };
    startupUpdateCheck = [this] { maintenance_->StartupUpdateCheck(); };
}

Frm1::~Frm1() = default;

QPushButton* Frm1::addMenuButton(const QString& name, const QString& caption, int index)
{
    auto* b = new QPushButton(caption, Frame7);
    b->setObjectName(name);
    b->setProperty("role", QStringLiteral("menu"));
    b->setGeometry(twipsRect(120, 150 + index * 600, 1740, 510));
    b->setMouseTracking(true);
    b->installEventFilter(this);
    return b;
}

void Frm1::buildWindow()
{
    setFixedSize(twipsSize(10500, 8100));
    setMouseTracking(true);
    installEventFilter(this);

    SkinLabel9 = new QLabel(this);
    SkinLabel9->setObjectName(QStringLiteral("SkinLabel9"));
    SkinLabel9->setProperty("role", QStringLiteral("title"));
    SkinLabel9->setAlignment(Qt::AlignCenter);
    SkinLabel9->setGeometry(twipsRect(300, 120, 7800, 540));
    QFont titleFont = SkinLabel9->font();
    titleFont.setPointSize(titleFont.pointSize() + 5);
    SkinLabel9->setFont(titleFont);

    SkinLabel1 = new QLabel(this);
    SkinLabel1->setObjectName(QStringLiteral("SkinLabel1"));
    SkinLabel1->setProperty("role", QStringLiteral("clinic"));
    SkinLabel1->setAlignment(Qt::AlignCenter);
    SkinLabel1->setGeometry(twipsRect(300, 690, 7800, 420));

    Picture1 = new QLabel(this);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->setGeometry(twipsRect(900, 1500, 6600, 3900));
    // Drawn when the program was built: drawing it here would start the painter's worker threads
    // before the window is first shown.
    QImage picture = BuiltLinkPicture(Picture1->size());
    Picture1->setPixmap(QPixmap::fromImage(picture.isNull() ? DrawLinkPicture(Picture1->size()) : picture));
    Picture1->setToolTip(texts::kTooltipSite);
    Picture1->setCursor(Qt::PointingHandCursor);
    Picture1->installEventFilter(this);

    Frame7 = new QFrame(this);
    Frame7->setObjectName(QStringLiteral("Frame7"));
    Frame7->setProperty("role", QStringLiteral("menu-panel"));
    Frame7->setFrameShape(QFrame::StyledPanel);
    Frame7->setGeometry(twipsRect(8340, 300, 1980, 6180));
    Frame7->setMouseTracking(true);
    Frame7->installEventFilter(this);

    Command1 = addMenuButton(QStringLiteral("Command1"), texts::kCaptionRegister, 0);
    Command2 = addMenuButton(QStringLiteral("Command2"), texts::kCaptionRunTest, 1);
    Command3 = addMenuButton(QStringLiteral("Command3"), texts::kCaptionKeying, 2);
    Command4 = addMenuButton(QStringLiteral("Command4"), texts::kCaptionShowCode, 3);
    CmdPasokh = addMenuButton(QStringLiteral("CmdPasokh"), texts::kCaptionAnswerSheet, 4);
    Command9 = addMenuButton(QStringLiteral("Command9"), texts::kCaptionSettings, 5);
    Command5 = addMenuButton(QStringLiteral("Command5"), texts::kCaptionExamineeFile, 6);
    Command12 = addMenuButton(QStringLiteral("Command12"), texts::kCaptionAbout, 7);
    Command13 = addMenuButton(QStringLiteral("Command13"), texts::kCaptionUpdate, 8);
    Command6 = addMenuButton(QStringLiteral("Command6"), texts::kCaptionExit, 9);

    SkinLabel2 = new QLabel(this);
    SkinLabel2->setObjectName(QStringLiteral("SkinLabel2"));
    SkinLabel2->setProperty("role", QStringLiteral("hint"));
    SkinLabel2->setWordWrap(true);
    SkinLabel2->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    SkinLabel2->setGeometry(twipsRect(300, 6570, 9900, 600));
    SkinLabel2->hide();

    Cmandkanal = new QPushButton(texts::kCaptionJoinChannel, this);
    Cmandkanal->setObjectName(QStringLiteral("Cmandkanal"));
    Cmandkanal->setProperty("role", QStringLiteral("link"));
    Cmandkanal->setGeometry(twipsRect(7740, 7230, 2580, 420));
    CmdHelp = new QPushButton(texts::kCaptionHelp, this);
    CmdHelp->setObjectName(QStringLiteral("CmdHelp"));
    CmdHelp->setProperty("role", QStringLiteral("link"));
    CmdHelp->setToolTip(texts::kTooltipHelp);
    CmdHelp->setGeometry(twipsRect(5640, 7230, 1980, 420));
    Command19 = new QPushButton(texts::kCaptionSoftwareList, this);
    Command19->setObjectName(QStringLiteral("Command19"));
    Command19->setProperty("role", QStringLiteral("link"));
    Command19->setGeometry(twipsRect(2940, 7230, 2580, 420));

    SkinLabel21 = new QLabel(this);
    SkinLabel21->setObjectName(QStringLiteral("SkinLabel21"));
    SkinLabel21->setProperty("role", QStringLiteral("notice"));
    SkinLabel21->setAlignment(Qt::AlignCenter);
    SkinLabel21->setGeometry(twipsRect(180, 7710, 10140, 330));
    // A left-to-right mark keeps the handle's "@" in front of it inside the right-to-left line.
    SkinLabel21->setText(texts::kPermanentNotice + QLatin1Char(' ') + QChar(0x200E) + ctx_.publisher().channelHandle);

    auto makePanel = [this](const QString& name) {
        QFrame* f = MakePanel(this, name);
        f->hide();
        return f;
    };
    // One view of the settings row for both: a write by either leaves the other's reading
    // current (a logo switch is not taken for another computer's change to the clinic details),
    // and on a server one connection fewer at start-up.
    const auto settingsRow = std::make_shared<store::View>(ctx_.path(store::kSettingsFile), QStringLiteral("Theme"));
    Frame8 = settings_ = new SettingsPanel(ctx_, settingsRow, this);
    Frame9 = clinicDetails_ = new ClinicDetailsPanel(ctx_, settingsRow, this);
    Frame6 = theme_ = new ThemePanel(ctx_, this);
    Frame3 = makePanel(QStringLiteral("Frame3"));

    Timer3 = new QTimer(this);
    Timer3->setObjectName(QStringLiteral("Timer3"));
    Timer3->setSingleShot(true);
    Timer3->setInterval(kUpdateCheckDelayMs);
    connect(Timer3, &QTimer::timeout, this, &Frm1::onTimer3);

    connect(Command6, &QPushButton::clicked, this, &Frm1::exitClicked);
    connect(Command3, &QPushButton::clicked, this, &Frm1::keyingClicked);
    connect(Cmandkanal, &QPushButton::clicked, this, [this] { openUrl(ctx_.publisher().channel); });
    connect(CmdHelp, &QPushButton::clicked, this,
            [this] { openUrl(ctx_.publisher().onWebSite(QStringLiteral("/discussions.html"))); });
    connect(Command19, &QPushButton::clicked, this,
            [this] { openUrl(ctx_.publisher().onWebSite(QStringLiteral("/Soft/soft-list2.pdf"))); });
    wireRegistrationAndTest();
    connect(Command4, &QPushButton::clicked, this, &Frm1::openLookup);
    connect(CmdPasokh, &QPushButton::clicked, this, &Frm1::openAnswerSheet);
    connect(Command5, &QPushButton::clicked, this, &Frm1::openExamineeFile);
    wireSettings();
}

bool Frm1::load()
{
    loadError_.clear();
    SkinLabel9->setText(texts::ProgramTitle(kMajorVersion, kMinorVersion));
    move(StandardWindowPosition());
    Timer3->start();

    // Reading the settings row fills the clinic details and with them the captions that follow.
    store::Result r = clinicDetails_->readStoredRow();
    for (store::View* v : {&Adodc3, &Adodc5, &Adodc12})
        if (r)
            r = v->refresh();
    if (r)
        r = settings_->load();
    if (!r) {
        loadError_ = r.error;
        return false;
    }
    ApplyTheme(ctx_.programFolder(), this, &themeName_);
    closeShowsExitScreen_ = true;
    loadLogo();
    ComposeContactLines();
    return true;
}

void Frm1::loadLogo()
{
    logo_ = settings::LoadLogo(ctx_.programFolder());
    settings_->showLogo(logo_);
}

QString Frm1::IdentifierLabel() const
{
    // Without the settings row (reported at start-up) the messages still name the code.
    return identifierLabel_.isEmpty() && !ctx_.dataProblem(QStringLiteral("Theme")).isEmpty()
               ? texts::kDefaultIdentifierLabel
               : identifierLabel_;
}

void Frm1::HideAllPanels()
{
    for (QFrame* f : {Frame1, Frame6, Frame10, Frame8, Frame9, normTablesFrame})
        if (f)
            f->hide();
    Command1->setEnabled(true);
    if (registration_)
        registration_->discard();
}

void Frm1::ComposeContactLines()
{
    contactLines_ = clinicDetails_->contactLines();
}

bool Frm1::answersExist()
{
    bool any = false;
    reportFailure(Adodc3.anyRow(any)); // a failed read is said, not taken for "no responses"
    return any;
}

void Frm1::reportFailure(const store::Result& r)
{
    if (!r)
        ReportFailure(ctx_.dialogs(), this, kExamineesNotRead, r.error);
}

void Frm1::openUrl(const QUrl& url)
{
    ctx_.desktop().openUrl(url); // nothing is reported when it cannot be opened
}

std::optional<QString> Frm1::hintFor(const QWidget* control) const
{
    const QString label = IdentifierLabel();
    if (control == Command1)
        return texts::kHintRegisterA + label + texts::kHintRegisterB;
    if (control == Command2)
        return texts::kHintRunTestA + label + texts::kHintRunTestB;
    if (control == Command3)
        return texts::kHintKeying;
    if (control == Command4)
        return texts::kHintShowA + label + texts::kHintShowB;
    if (control == Command9)
        return texts::kHintSettings;
    if (control == this || control == Frame7)
        return QString();
    return std::nullopt;
}

bool Frm1::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type == QEvent::MouseMove || type == QEvent::Enter) {
        auto* w = qobject_cast<QWidget*>(watched);
        // A move over a button also reaches its parents; only the bare background clears the hint.
        if (w && type == QEvent::MouseMove && (w == this || w == Frame7)
            && w->childAt(static_cast<QMouseEvent*>(event)->position().toPoint()))
            w = nullptr;
        if (w) {
            if (const std::optional<QString> hint = hintFor(w)) {
                SkinLabel2->setText(*hint);
                SkinLabel2->setVisible(!hint->isEmpty());
            }
        }
    } else if (watched == Picture1 && type == QEvent::MouseButtonRelease) {
        openUrl(ctx_.publisher().webSite);
        openUrl(ctx_.publisher().shop);
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void Frm1::onTimer3()
{
    Timer3->stop();
    if (startupUpdateCheck)
        startupUpdateCheck();
}

void Frm1::keyingClicked()
{
    bool any = false;
    store::Result r = Adodc5.refresh();
    if (r)
        r = Adodc5.anyRow(any);
    HideAllPanels();
    if (!r)
        reportFailure(r);
    if (!any)
        return;
    closeShowsExitScreen_ = false;
    if (!scoringScreen_) {
        scoringScreen_ = std::make_unique<FrmkLID>(ctx_, this, [this] { return IdentifierLabel(); });
        AttachProfileScreen(ctx_, *scoringScreen_);
    }
    scoringScreen_->load();
    scoringScreen_->show();
    hide(); // the scoring screen shows this window again when it closes
}

void Frm1::exitClicked()
{
    HideAllPanels();
    if (showExitScreen)
        showExitScreen(QPoint(5000, 4500));
    close();
}

void Frm1::runCloseStep()
{
    if (registration_)
        registration_->discard();
    if (!closeShowsExitScreen_)
        return;
    HideAllPanels();
    if (showExitScreen)
        showExitScreen(QPoint(5000, 1500));
    else
        ctx_.desktop().endProgram(0); // until the exit screen exists, leaving ends the program
}

void Frm1::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) { // the exit button is the window's cancel button
        Command6->click();
        return;
    }
    QWidget::keyPressEvent(event);
}

void Frm1::closeEvent(QCloseEvent* event)
{
    runCloseStep();
    event->accept();
}

void Frm1::wireRegistrationAndTest()
{
    connect(Command1, &QPushButton::clicked, this, [this] {
        HideAllPanels();
        registrationPanel()->open();
        Command1->setEnabled(false);
    });
    connect(Command2, &QPushButton::clicked, this, &Frm1::runTest);
}

RegistrationPanel* Frm1::registrationPanel()
{
    if (registration_)
        return registration_;
    Frame10 = registration_ = new RegistrationPanel(ctx_, this);
    registration_->setIdentifierLabel(identifierLabel_);
    connect(clinicDetails_, &ClinicDetailsPanel::identifierLabelChanged, registration_,
            &RegistrationPanel::setIdentifierLabel);
    connect(registration_, &RegistrationPanel::closed, this, &Frm1::HideAllPanels);
    connect(registration_, &RegistrationPanel::registered, this, [this] {
        HideAllPanels();
        closeShowsExitScreen_ = false;
        // The rows were stored through the panel's views: this window's see them after a re-read.
        for (store::View* v : {&Adodc3, &Adodc5})
            reportFailure(v->refresh());
    });
    return registration_;
}

void Frm1::runTest()
{
    if (!answersExist())
        return;
    HideAllPanels();
    if (const QString damaged = ctx_.dataProblem(QStringLiteral("QUS")); !damaged.isEmpty()) {
        ctx_.dialogs().message(this, titles::kError, damaged, Dialogs::Icon::Critical); // no test with blank items
        return;
    }
    if (!frmTest_) {
        frmTest_ = new FrmTest(ctx_, this);
        connect(frmTest_, &FrmTest::closed, this, &Frm1::prepareTestForNextRun);
    }

    const QString label = IdentifierLabel();
    const QString code =
        ctx_.dialogs().inputText(this, texts::EnterCodeTitle(label), texts::kEnterCodePrompt, QString()).value_or(QString());
    if (code.isEmpty()) {
        ShowAutoClosingMessage(ctx_.dialogs(), this, texts::MustEnterCode(label));
        return;
    }
    bool found = false;
    if (const store::Result r = frmTest_->selectExaminee(code, found); !r) {
        reportFailure(r); // a failed read is not "no such person"
        return;
    }
    if (!found) {
        ShowAutoClosingMessage(ctx_.dialogs(), this, texts::kNoSuchPerson);
        return;
    }
    // Modal without a nested event loop; the rest follows its closed() signal.
    frmTest_->setWindowModality(Qt::ApplicationModal);
    frmTest_->show();
}

void Frm1::prepareTestForNextRun()
{
    frmTest_->PrepareForNextRun();
}

void Frm1::openAnswerSheet()
{
    auto* screen = new Frmpas2(ctx_, [this] { return IdentifierLabel(); }, this);
    connect(screen, &QDialog::finished, screen, &QObject::deleteLater);
    screen->setWindowModality(Qt::ApplicationModal); // panels stay as they are
    screen->show();
}

void Frm1::openExamineeFile()
{
    HideAllPanels();
    auto* screen = new FrmFile(ctx_, this);
    connect(screen, &QDialog::finished, screen, &QObject::deleteLater);
    screen->setWindowModality(Qt::ApplicationModal);
    screen->show();
}

void Frm1::openLookup()
{
    if (!answersExist())
        return;
    HideAllPanels();
    auto* screen = new FrmCode(ctx_, [this] { return IdentifierLabel(); }, this);
    connect(screen, &QDialog::finished, screen, &QObject::deleteLater);
    connect(screen, &FrmCode::groupExportRequested, this, [this, screen](const QStringList& codes) {
        GroupExport(ctx_, screen).run(codes, IdentifierLabel()); // it tells the user itself
    });
    screen->setWindowModality(Qt::ApplicationModal);
    screen->show();
}

void Frm1::wireSettings()
{
    // The label and the captions that follow the clinic details, before any save.
    connect(clinicDetails_, &ClinicDetailsPanel::identifierLabelChanged, this, [this](const QString& label) {
        identifierLabel_ = label;
        Command4->setText(texts::kCaptionShowPrefix + label);
    });
    connect(clinicDetails_, &ClinicDetailsPanel::clinicNameChanged, SkinLabel1, &QLabel::setText);
    connect(clinicDetails_, &ClinicDetailsPanel::saved, this, &Frm1::clinicDetailsSaved);
    connect(clinicDetails_, &ClinicDetailsPanel::cancelled, this, [this] { ApplyTheme(ctx_.programFolder(), this, &themeName_); });

    connect(Command9, &QPushButton::clicked, this, &Frm1::openSettingsPanel);
    connect(settings_, &SettingsPanel::closed, this, &Frm1::HideAllPanels);
    connect(settings_, &SettingsPanel::editItemsRequested, this, &Frm1::openItemEdit);
    connect(settings_, &SettingsPanel::clinicDetailsRequested, this, &Frm1::openClinicDetails);
    connect(settings_, &SettingsPanel::themeRequested, this, &Frm1::openTheme);
    connect(settings_, &SettingsPanel::logoChoiceRequested, this, &Frm1::chooseLogo);
    connect(settings_, &SettingsPanel::logoChanged, this, [this](const QImage& logo) { logo_ = logo; });
    connect(theme_, &ThemePanel::themeChanged, this, &Frm1::applyChosenTheme);
    connect(settings_, &SettingsPanel::normTablesRequested, this, &Frm1::openNormTables);
}

NormTablesPanel* Frm1::normTablesPanel()
{
    if (normTables_)
        return normTables_;
    normTablesFrame = normTables_ = new NormTablesPanel(ctx_, this);
    normTablesFrame->hide();
    connect(normTables_, &NormTablesPanel::closed, this, &Frm1::openSettingsPanel);
    // A replaced table is checked as at start-up: a damaged one found then may be whole now.
    connect(normTables_, &NormTablesPanel::normTablesChanged, this,
            [this] { ctx_.setDataProblems(startup::CheckDeliveredData(ctx_.programFolder())); });
    return normTables_;
}

ItemEditPanel* Frm1::itemEditPanel()
{
    if (!itemEdit_) {
        Frame1 = itemEdit_ = new ItemEditPanel(ctx_, Adodc12, this);
        Frame1->hide();
    }
    return itemEdit_;
}

void Frm1::openSettingsPanel()
{
    HideAllPanels();
    settings_->open();
}

void Frm1::openClinicDetails()
{
    openSettingsPanel();
    clinicDetails_->open();
}

void Frm1::clinicDetailsSaved()
{
    ComposeContactLines();
    ShowAutoClosingMessage(ctx_.dialogs(), this, texts::kChangesSaved);
    ApplyTheme(ctx_.programFolder(), this, &themeName_);
}

void Frm1::openTheme()
{
    openSettingsPanel();
    theme_->open(themeName_);
}

void Frm1::applyChosenTheme(const QString& themeName)
{
    themeName_ = themeName;
    LoadAndApplyTheme(ctx_.programFolder(), this, themeName); // a missing theme file keeps the look
}

void Frm1::chooseLogo()
{
    openSettingsPanel();
    settings_->chooseLogo();
}

void Frm1::openNormTables()
{
    HideAllPanels();
    normTablesPanel()->setGeometry(twipsRect(120, 120, 8100, 7140));
    normTables_->open();
}

void Frm1::openItemEdit()
{
    openSettingsPanel();
    itemEditPanel()->setGeometry(twipsRect(135, 855, 7770, 3510));
    Frame1->show();
    Frame1->raise();
    itemEdit_->open();
}
