#include "maintenance/progress_screen.h"
#include "kit/twips.h"
#include "maintenance/maintenance_texts.h"
#include "maintenance/update_texts.h"
#include "maintenance/update_version.h"
#include "settings/apply_theme.h"
#include "store/private_files.h"

#include <QCloseEvent>
#include <QDir>

using namespace maintenance;
namespace mtexts = maintenance::texts;

namespace {
constexpr int kTwipsPerPercent = 67;
} // namespace

Progress::Progress(AppContext& ctx, UpdatePackage package, QWidget* parent)
    : QWidget(parent, Qt::Window)
    , ctx_(ctx)
    , package_(std::move(package))
{
    setObjectName(QStringLiteral("Progress"));
    setWindowTitle(mtexts::kDownloadTitle);
    buildWindow();
    ApplyTheme(ctx_.programFolder(), this);
    setFixedSize(twipsSize(8400, 3135));
    move(twipsPoint(2400, 3220));
    I1->resize(0, I1->height());
    AddressLabel->hide();
    Text->hide();
    Timer1->start();
}

Progress::~Progress() = default;

void Progress::buildWindow()
{
    // Laid out left to right in twips, as the bar grows from the left.
    ProductLabel = new QLabel(mtexts::kProductName, this);
    ProductLabel->setObjectName(QStringLiteral("ProductLabel"));
    ProductLabel->setGeometry(twipsRect(300, 180, 3000, 420));
    QFont big = ProductLabel->font();
    big.setBold(true);
    big.setPointSizeF(big.pointSizeF() * 1.4);
    ProductLabel->setFont(big);
    ProductLabel->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    ProductLabel->setLayoutDirection(Qt::LeftToRight);

    const PublisherAddresses& publisher = ctx_.publisher();
    SiteLabel = new QLabel(publisher.webSite.host(), this);
    SiteLabel->setObjectName(QStringLiteral("SiteLabel"));
    SiteLabel->setGeometry(twipsRect(4800, 180, 3300, 300));
    MailLabel = new QLabel(publisher.email, this);
    MailLabel->setObjectName(QStringLiteral("MailLabel"));
    MailLabel->setGeometry(twipsRect(4800, 480, 3300, 300));
    for (QLabel* l : {SiteLabel, MailLabel})
        l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    AddressLabel = new QLabel(mtexts::kAddressCaption, this);
    AddressLabel->setObjectName(QStringLiteral("AddressLabel"));
    AddressLabel->setGeometry(twipsRect(300, 840, 1500, 300));
    Text = new QLineEdit(this);
    Text->setObjectName(QStringLiteral("Text"));
    Text->setLayoutDirection(Qt::LeftToRight);
    Text->setGeometry(twipsRect(1800, 840, 6300, 300));
    Text->setText(PackageAddress(publisher.updateServer, package_.name).toString());

    track_ = new QFrame(this);
    track_->setObjectName(QStringLiteral("BarTrack"));
    track_->setFrameShape(QFrame::StyledPanel);
    track_->setGeometry(twipsRect(300, 1260, 6700 + 60, 360));
    I1 = new QFrame(track_);
    I1->setObjectName(QStringLiteral("I1"));
    I1->setAutoFillBackground(true);
    I1->setStyleSheet(QStringLiteral("background-color: #2e8b57;"));
    I1->setGeometry(twips(30), twips(30), 0, twips(300));

    SkinLabel4 = new QLabel(this);
    SkinLabel4->setObjectName(QStringLiteral("SkinLabel4"));
    SkinLabel4->setGeometry(twipsRect(7200, 1260, 900, 360));
    SkinLabel4->setAlignment(Qt::AlignCenter);
    SkinLabel4->setLayoutDirection(Qt::LeftToRight);

    cmdUpdate = new QPushButton(mtexts::kCaptionDownload, this);
    cmdUpdate->setObjectName(QStringLiteral("cmdUpdate"));
    cmdUpdate->setGeometry(twipsRect(5700, 2160, 1500, 480));
    Command1 = new QPushButton(mtexts::kCaptionClose, this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setGeometry(twipsRect(1200, 2160, 1500, 480));

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(1000);
    // Rewrites the label with the last reported percentage, so it never reads a bare "%".
    connect(Timer1, &QTimer::timeout, this, [this] {
        if (!percent_.isEmpty())
            SkinLabel4->setText(percent_ + QLatin1Char('%'));
    });

    FileDownloader1 = new FileDownloader(this);
    FileDownloader1->setObjectName(QStringLiteral("FileDownloader"));
    connect(FileDownloader1, &FileDownloader::DownloadProgress, this, &Progress::showPercent);
    connect(FileDownloader1, &FileDownloader::DownloadErrors, this, &Progress::onError);
    connect(FileDownloader1, &FileDownloader::DowloadComplete, this, &Progress::onComplete);
    connect(cmdUpdate, &QPushButton::clicked, this, &Progress::updateClicked);
    connect(Command1, &QPushButton::clicked, this, &QWidget::close);
}

QString Progress::downloadFolder() const
{
    return ctx_.path(mtexts::kUpdatesFolder);
}

QString Progress::destination() const
{
    // An address without a file name leaves the folder itself, which cannot be written.
    return QDir(downloadFolder()).filePath(GetFileName(Text->text()));
}

void Progress::updateClicked()
{
    if (cmdUpdate->text() == mtexts::kCaptionDownload) {
        cmdUpdate->setText(mtexts::kCaptionCancel);
        store::RemoveStaleParts(downloadFolder());
        // Kept only when it is the package the signed version file describes.
        FileDownloader1->setExpected({package_.size, package_.sha256});
        FileDownloader1->DownloadFile(QUrl(Text->text()), destination());
    } else {
        FileDownloader1->Cancel();
        cmdUpdate->setText(mtexts::kCaptionDownload);
    }
}

void Progress::showPercent(const QString& percent)
{
    percent_ = percent;
    I1->resize(twips(percent.toInt() * kTwipsPerPercent), I1->height());
    SkinLabel4->setText(percent + QLatin1Char('%'));
}

void Progress::onError(const QString& message)
{
    ctx_.dialogs().message(this, mtexts::kTitleErrorLatin, message, Dialogs::Icon::Critical);
    cmdUpdate->setText(mtexts::kCaptionDownload);
    FileDownloader1->Cancel();
}

void Progress::onComplete()
{
    ctx_.dialogs().message(this, mtexts::kTitleSuccess, mtexts::kDownloadDone, Dialogs::Icon::Information);
    cmdUpdate->setText(mtexts::kCaptionDownload);
    // The package is handed to the desktop's installer, never run from here; the program ends
    // only when the user agrees, so nothing open is lost.
    if (!ctx_.desktop().openFile(destination())) {
        ctx_.dialogs().message(this, titles::kError,
                               mtexts::kCannotOpenPackage + QStringLiteral("\r\n") + QDir::toNativeSeparators(destination()),
                               Dialogs::Icon::Critical);
        return;
    }
    if (ctx_.dialogs().question(this, titles::kAttention, mtexts::kAskCloseForInstall, Dialogs::Icon::Question))
        ctx_.desktop().endProgram(0);
    else
        close();
}

void Progress::closeEvent(QCloseEvent* event)
{
    FileDownloader1->Cancel(); // a closed window leaves no partial file behind
    event->accept();
}
