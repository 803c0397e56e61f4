#include "settings/settings_panel.h"
#include "kit/app_context.h"
#include "kit/chosen_file.h"
#include "kit/controls.h"
#include "kit/twips.h"
#include "settings/clinic_details.h"
#include "settings/settings_texts.h"
#include "store/schema.h"
#include "store/server.h"
#include "store/server_move.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>

namespace {

const QString kSwitchColumn = QStringLiteral("Check1");
const QString kAllFiles = QStringLiteral("همه فايل ها (*)");
const QString kNotAPicture = QStringLiteral("فايل انتخاب شده تصوير نيست؛ آرم قبلي تغيير نکرد.");
const QString kLogoNotStored = QStringLiteral("آرم ذخيره نشد؛ آرم قبلي تغيير نکرد.");
const QString kSwitchNotStored = QStringLiteral("وضعيت نمايش آرم ذخيره نشد.");
const QString kSwitchNotRead = QStringLiteral("وضعيت نمايش آرم خوانده نشد.");
const QString kMoveCaption = QStringLiteral("انتقال داده هاي اين رايانه به سرور");
const QString kMoveOnlyOnServer = QStringLiteral("وقتي برنامه با سرور پايگاه داده کار مي کند، داده هاي اين رايانه را به آن منتقل مي کند.");
const QString kMoveQuestion = QStringLiteral(
    "همه آزمودني ها، پاسخ ها، نمره ها و تنظيمات فايل هاي اين رايانه به سرور %1 منتقل شود؟\n"
    "فايل هاي اين رايانه تغيير نمي کنند؛ سرور نبايد آزمودني داشته باشد.");

} // namespace

SettingsPanel::SettingsPanel(AppContext& ctx, std::shared_ptr<store::View> settingsRow, QWidget* parent)
    : QFrame(parent)
    , settingsRow_(std::move(settingsRow))
    , Adodc13(*settingsRow_)
    , ctx_(ctx)
{
    setObjectName(QStringLiteral("Frame8"));
    StylePanel(this);
    build();
    hide();
}

void SettingsPanel::build()
{
    // The buttons in a column on the right, the logo on the left with its switch under it.
    const QList<QPair<QString, QString>> buttons{{QStringLiteral("Command68"), texts::kCaptionChangeTheme},
                                                 {QStringLiteral("Command67"), texts::kCaptionClinicDetails},
                                                 {QStringLiteral("Cmndedit"), texts::kCaptionEditItems},
                                                 {QStringLiteral("Command65"), texts::kCaptionChooseLogo},
                                                 {QStringLiteral("normTables"), texts::kCaptionNormTables},
                                                 {QStringLiteral("Command69"), texts::kCaptionExit}};
    QList<QPushButton*> made;
    for (int i = 0; i < buttons.size(); ++i) {
        QPushButton* b = MakeButton(this, buttons.at(i).first, buttons.at(i).second);
        b->setGeometry(twipsRect(3180, 150 + i * 525, 1920, 450));
        made << b;
    }
    Command68 = made[0];
    Command67 = made[1];
    Cmndedit = made[2];
    Command65 = made[3];
    normTables = made[4];
    Command69 = made[5];

    Picture2 = MakeLabel(this, QStringLiteral("Picture2"));
    Picture2->setScaledContents(true); // painted stretched to the whole box
    Picture2->setFrameShape(QFrame::StyledPanel);
    Picture2->setGeometry(twipsRect(300, 150, 2580, 1800));
    logoSwitchCaption = MakeLabel(this, QStringLiteral("logoSwitchCaption"), texts::kLogoSwitchQuestion);
    logoSwitchCaption->setGeometry(twipsRect(60, 2100, 3060, 360));
    Check1 = new QCheckBox(texts::kLogoSwitchDesign, this);
    Check1->setObjectName(QStringLiteral("Check1"));
    Check1->setGeometry(twipsRect(60, 2550, 3060, 400));

    storeInUse = MakeLabel(this, QStringLiteral("storeInUse"), store::StoreInUse(ctx_.programFolder()));
    storeInUse->setWordWrap(true);
    storeInUse->setGeometry(twipsRect(60, 3300, 5130, 600));
    moveDataToServer = MakeButton(this, QStringLiteral("moveDataToServer"), kMoveCaption);
    moveDataToServer->setGeometry(twipsRect(1740, 3960, 3360, 480));
    moveDataToServer->setEnabled(store::ServerOf(ctx_.programFolder()).has_value());
    moveDataToServer->setToolTip(kMoveOnlyOnServer);
    connect(moveDataToServer, &QPushButton::clicked, this, &SettingsPanel::moveToServer);

    connect(Command67, &QPushButton::clicked, this, &SettingsPanel::clinicDetailsRequested);
    connect(Command68, &QPushButton::clicked, this, &SettingsPanel::themeRequested);
    connect(Cmndedit, &QPushButton::clicked, this, &SettingsPanel::editItemsRequested);
    connect(Command65, &QPushButton::clicked, this, &SettingsPanel::logoChoiceRequested);
    connect(normTables, &QPushButton::clicked, this, &SettingsPanel::normTablesRequested);
    connect(Command69, &QPushButton::clicked, this, &SettingsPanel::closed);
    connect(Check1, &QCheckBox::clicked, this, &SettingsPanel::switchLogo);
}

store::Result SettingsPanel::load()
{
    const store::Result r = Adodc13.refresh();
    showStoredSwitch();
    return r;
}

void SettingsPanel::showStoredSwitch()
{
    const QSignalBlocker quiet(Check1);
    Check1->setChecked(Adodc13.value(kSwitchColumn).trimmed() == QLatin1String("1"));
    showSwitchCaption();
}

void SettingsPanel::showSwitchCaption()
{
    // The caption says what the report does, from the first look on.
    Check1->setText(Check1->isChecked() ? texts::kLogoShown : texts::kLogoNotShown);
}

void SettingsPanel::open()
{
    setGeometry(twipsRect(2880, 3510, 5250, 4560));
    show();
}

void SettingsPanel::moveToServer()
{
    const std::optional<store::ServerAddress> server = store::ServerOf(ctx_.programFolder());
    if (!server)
        return;
    if (!ctx_.dialogs().question(window(), titles::kWarning, kMoveQuestion.arg(server->shown()), Dialogs::Icon::Question))
        return;
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    const store::MoveReport report = store::CopyFilesToServer(ctx_.programFolder(), *server);
    QGuiApplication::restoreOverrideCursor();
    ctx_.dialogs().message(window(), report.ok ? titles::kAttention : titles::kError, store::DescribeMove(report, *server),
                           report.ok ? Dialogs::Icon::Information : Dialogs::Icon::Critical);
}

void SettingsPanel::showLogo(const QImage& logo)
{
    if (logo.isNull())
        Picture2->clear();
    else
        Picture2->setPixmap(QPixmap::fromImage(logo));
}

void SettingsPanel::chooseLogo()
{
    Dialogs& dialogs = ctx_.dialogs();
    const QString path = dialogs.openFileName(window(), texts::kCaptionChooseLogo, QString(), kAllFiles);
    if (path.isEmpty())
        return; // cancelled: nothing changes
    // Only a regular file is read: a FIFO or a device would hold the screen for ever.
    const QImage picture = IsRegularFile(path) ? settings::ReadPicture(path) : QImage();
    if (picture.isNull()) {
        dialogs.message(window(), titles::kAttention, kNotAPicture + QLatin1Char('\n') + QFileInfo(path).fileName(),
                        Dialogs::Icon::Warning);
        return;
    }
    if (const store::Result r = settings::StoreLogo(picture, ctx_.programFolder()); !r) {
        ReportFailure(dialogs, window(), kLogoNotStored, r.error);
        return;
    }
    // The preview shows the file as the report will print it.
    const QImage stored = settings::LoadLogo(ctx_.programFolder());
    showLogo(stored);
    Q_EMIT logoChanged(stored);
    dialogs.message(window(), titles::kAttention, texts::kLogoSaved, Dialogs::Icon::Information);
}

void SettingsPanel::switchLogo(bool shown)
{
    store::Result r = Adodc13.hasCurrent() ? store::Result::success() : Adodc13.refresh();
    if (r)
        r = Adodc13.setValue(kSwitchColumn, shown ? 1 : 0);
    if (r)
        r = Adodc13.update();
    if (!r) {
        ReportFailure(ctx_.dialogs(), window(), kSwitchNotStored, r.error);
        // The box shows what is stored, not the click that was not kept.
        if (const store::Result reread = load(); !reread)
            ReportFailure(ctx_.dialogs(), window(), kSwitchNotRead, reread.error);
    }
    showSwitchCaption();
}
