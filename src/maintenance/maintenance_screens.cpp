#include "maintenance/maintenance_screens.h"
#include "kit/texts.h"
#include "kit/twips.h"
#include "maintenance/about_screen.h"
#include "maintenance/exit_screen.h"
#include "maintenance/update_screen.h"
#include "maintenance/maintenance_texts.h"
#include "maintenance/progress_screen.h"
#include "maintenance/update_texts.h"
#include "maintenance/update_version.h"
#include "maintenance/version_check.h"
#include "store/private_files.h"

#include <QVBoxLayout>

using namespace maintenance;
namespace mtexts = maintenance::texts;

MaintenanceScreens::MaintenanceScreens(AppContext& ctx, MainWindowLink link, QObject* parent)
    : QObject(parent)
    , isOnline(IsOnline)
    , ctx_(ctx)
    , link_(std::move(link))
{
    buildNotice();
    // What a download killed half-way left behind.
    store::RemoveStaleParts(ctx_.path(mtexts::kUpdatesFolder));
    if (link_.aboutButton)
        connect(link_.aboutButton, &QPushButton::clicked, this, &MaintenanceScreens::showAbout);
    if (link_.updateButton)
        connect(link_.updateButton, &QPushButton::clicked, this, &MaintenanceScreens::showUpdate);
}

MaintenanceScreens::~MaintenanceScreens()
{
    // The exit screen has no parent to take it along; the others go now too, before the main window.
    for (QWidget* w : {static_cast<QWidget*>(exit_.data()), static_cast<QWidget*>(about_.data()),
                       static_cast<QWidget*>(update_.data()), static_cast<QWidget*>(download_.data())})
        delete w;
}

exitpro* MaintenanceScreens::exitScreen() const
{
    return exit_;
}

About* MaintenanceScreens::aboutScreen() const
{
    return about_;
}

FrmUpdate* MaintenanceScreens::updateScreen() const
{
    return update_;
}

Progress* MaintenanceScreens::downloadScreen() const
{
    return download_;
}

void MaintenanceScreens::buildNotice()
{
    QFrame* panel = link_.noticePanel;
    if (!panel)
        return;
    panel->setGeometry(twipsRect(900, 1500, 6600, 2700));
    auto* column = new QVBoxLayout(panel);
    column->setContentsMargins(14, 12, 14, 12);
    noticeHeading = new QLabel(mtexts::kNoticeHeading, panel);
    QFont heading = noticeHeading->font();
    heading.setBold(true);
    heading.setPointSizeF(heading.pointSizeF() * 1.3);
    noticeHeading->setFont(heading);
    noticeText = new QLabel(mtexts::kNoticeText, panel);
    noticeWarning = new QLabel(mtexts::kNoticeWarning, panel);
    QFont warning = noticeWarning->font();
    warning.setBold(true);
    noticeWarning->setFont(warning);
    for (QLabel* l : {noticeHeading, noticeText, noticeWarning}) {
        l->setWordWrap(true);
        l->setAlignment(Qt::AlignCenter);
        column->addWidget(l);
    }
    Command11 = new QPushButton(mtexts::kCaptionClose, panel);
    Command11->setObjectName(QStringLiteral("Command11"));
    Command11->setMinimumSize(110, 32);
    column->addWidget(Command11, 0, Qt::AlignHCenter);
    connect(Command11, &QPushButton::clicked, panel, &QWidget::hide);
}

QString MaintenanceScreens::versionText() const
{
    return ::texts::kProgramCaption + QLatin1Char(' ') + QString::number(link_.majorVersion) + QLatin1Char('.')
           + QString::number(link_.minorVersion);
}

int MaintenanceScreens::ownVersion() const
{
    return OwnVersionNumber(link_.majorVersion, link_.minorVersion);
}

void MaintenanceScreens::showExitScreen(QPoint twipsPosition)
{
    if (!exit_ || !exit_->isVisible()) {
        delete exit_.data();
        exit_ = new exitpro(ctx_, [this] { returnToMainWindow(); });
        exit_->setAttribute(Qt::WA_DeleteOnClose);
    }
    exit_->move(twipsPoint(twipsPosition.x(), twipsPosition.y()));
    exit_->show();
    exit_->activateWindow();
}

void MaintenanceScreens::returnToMainWindow()
{
    const QString error = link_.reload ? link_.reload() : QString();
    if (!error.isEmpty()) {
        ctx_.dialogs().message(nullptr, titles::kError, mtexts::kCannotReopen + QStringLiteral("\r\n") + error,
                               Dialogs::Icon::Critical);
        ctx_.desktop().endProgram(1);
        return;
    }
    if (link_.window)
        link_.window->show();
}

void MaintenanceScreens::StartupUpdateCheck()
{
    if (isOnline && !isOnline()) {
        Q_EMIT startupCheckFinished();
        return;
    }
    if (!startupCheck_) { // made when first needed: the network costs nothing at start-up
        startupCheck_ = new VersionCheck(this);
        connect(startupCheck_, &VersionCheck::finished, this, [this] {
            // Only a signed file naming a package for this platform is worth the notice.
            const UpdateOffer offer = OfferFor(startupCheck_->result(), ownVersion(), UpdatePlatform());
            if (offer.package && link_.noticePanel) {
                link_.noticePanel->show();
                link_.noticePanel->raise();
            }
            Q_EMIT startupCheckFinished();
        });
    }
    startupCheck_->start(UpdateAddress(ctx_.publisher().updateServer, kVersionFilePath), ctx_.publisher().updateKey);
}

bool MaintenanceScreens::isCheckingAtStartup() const
{
    return startupCheck_ && startupCheck_->isRunning();
}

void MaintenanceScreens::showModal(QWidget* screen)
{
    // Modal without a nested event loop.
    screen->setAttribute(Qt::WA_DeleteOnClose);
    screen->setWindowModality(Qt::ApplicationModal);
    screen->show();
}

void MaintenanceScreens::showAbout()
{
    if (link_.anyResponses && !link_.anyResponses())
        return;
    if (link_.hideAllPanels)
        link_.hideAllPanels();
    if (about_)
        return;
    about_ = new About(ctx_, link_.window);
    showModal(about_);
}

void MaintenanceScreens::showUpdate()
{
    if (update_)
        return;
    update_ = new FrmUpdate(ctx_, versionText(), ownVersion(), link_.window);
    update_->isOnline = isOnline;
    update_->openDownload = [this](const UpdatePackage& package) { showDownload(package); };
    showModal(update_);
}

void MaintenanceScreens::showDownload(const UpdatePackage& package)
{
    if (download_)
        return;
    download_ = new Progress(ctx_, package, link_.window);
    showModal(download_);
}
