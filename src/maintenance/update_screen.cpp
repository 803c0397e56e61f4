#include "maintenance/update_screen.h"
#include "kit/texts.h"
#include "kit/twips.h"
#include "maintenance/maintenance_texts.h"
#include "maintenance/update_texts.h"
#include "maintenance/update_version.h"
#include "maintenance/version_check.h"
#include "settings/apply_theme.h"

#include <QKeyEvent>
#include <QVBoxLayout>

using namespace maintenance;
namespace mtexts = maintenance::texts;

FrmUpdate::FrmUpdate(AppContext& ctx, QString versionText, int ownVersion, QWidget* parent)
    : QWidget(parent, Qt::Window)
    , isOnline(IsOnline)
    , ctx_(ctx)
    , versionText_(std::move(versionText))
    , ownVersion_(ownVersion)
    , check_(new VersionCheck(this))
{
    setObjectName(QStringLiteral("FrmUpdate"));
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(16, 14, 16, 14);
    column->setSpacing(12);

    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setAlignment(Qt::AlignCenter);
    QFont title = Label1->font();
    title.setBold(true);
    title.setPointSizeF(title.pointSizeF() * 1.3);
    Label1->setFont(title);
    Label2 = new QLabel(mtexts::kUpdateExplanation, this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setWordWrap(true);
    Label2->setAlignment(Qt::AlignCenter);
    column->addWidget(Label1);
    column->addWidget(Label2);

    auto* buttons = new QHBoxLayout;
    Command1 = new QPushButton(mtexts::kCaptionCheckUpdate, this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command2 = new QPushButton(::texts::kCaptionExit, this);
    Command2->setObjectName(QStringLiteral("Command2"));
    for (QPushButton* b : {Command1, Command2})
        b->setMinimumSize(140, 34);
    buttons->addStretch(1);
    buttons->addWidget(Command1);
    buttons->addWidget(Command2);
    buttons->addStretch(1);
    column->addLayout(buttons);

    setFixedSize(twipsSize(6300, 2700));
    move(twipsPoint(4085, 2745));
    showVersionCaption();
    ApplyTheme(ctx_.programFolder(), this);

    connect(Command1, &QPushButton::clicked, this, &FrmUpdate::check);
    connect(Command2, &QPushButton::clicked, this, &QWidget::close);
    connect(check_, &VersionCheck::finished, this, &FrmUpdate::onChecked);
}

FrmUpdate::~FrmUpdate() = default;

bool FrmUpdate::isChecking() const
{
    return check_->isRunning();
}

void FrmUpdate::showVersionCaption()
{
    setWindowTitle(versionText_);
    Label1->setText(versionText_);
}

void FrmUpdate::check()
{
    if (isChecking())
        return;
    if (isOnline && !isOnline()) {
        ctx_.dialogs().message(this, titles::kMessage, mtexts::kNoConnection, Dialogs::Icon::Information);
        showVersionCaption();
        Q_EMIT checkFinished();
        return;
    }
    setWindowTitle(mtexts::kPleaseWait);
    setCursor(Qt::WaitCursor);
    Command1->setEnabled(false);
    check_->start(UpdateAddress(ctx_.publisher().updateServer, kVersionFilePath), ctx_.publisher().updateKey);
}

void FrmUpdate::onChecked()
{
    unsetCursor();
    Command1->setEnabled(true);
    const VersionCheckResult& result = check_->result();
    const UpdateOffer offer = OfferFor(result, ownVersion_, UpdatePlatform());
    if (offer.package) {
        close();
        if (openDownload)
            openDownload(*offer.package);
        Q_EMIT checkFinished();
        return;
    }
    switch (result.outcome) {
    case VersionCheckResult::Outcome::NotFetched: // a file that cannot be fetched in time counts as no connection
        ctx_.dialogs().message(this, titles::kMessage, mtexts::kNoConnection, Dialogs::Icon::Information);
        break;
    case VersionCheckResult::Outcome::Unreadable:
        ctx_.dialogs().message(this, titles::kAttention, mtexts::kCheckFailed, Dialogs::Icon::Warning);
        break;
    case VersionCheckResult::Outcome::Read:
        ctx_.dialogs().message(this, titles::kMessage, offer.newer ? mtexts::kNoPackageForSystem : mtexts::kLatestVersion,
                               Dialogs::Icon::Information);
        break;
    }
    showVersionCaption();
    Q_EMIT checkFinished();
}

void FrmUpdate::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        Command2->click();
        return;
    }
    QWidget::keyPressEvent(event);
}
