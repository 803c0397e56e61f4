#include "maintenance/exit_screen.h"
#include "kit/twips.h"
#include "maintenance/exit_pictures.h"
#include "maintenance/backup_screen.h"
#include "maintenance/maintenance_texts.h"
#include "settings/apply_theme.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QMouseEvent>

using namespace maintenance;
namespace mtexts = maintenance::texts;

namespace {

constexpr int kCaptionIntervalMs = 500;

QLabel* makePicture(QWidget* parent, const QString& name, ExitPicture which, bool highlighted, const QRect& at)
{
    auto* picture = new QLabel(parent);
    picture->setObjectName(name);
    picture->setGeometry(at);
    picture->setPixmap(DrawExitPicture(which, highlighted, at.size()));
    picture->setMouseTracking(true);
    picture->setCursor(Qt::PointingHandCursor);
    return picture;
}

} // namespace

exitpro::exitpro(AppContext& ctx, std::function<void()> returnToMainWindow, QWidget* parent)
    : QWidget(parent, Qt::Window)
    , ctx_(ctx)
    , returnToMainWindow_(std::move(returnToMainWindow))
{
    setObjectName(QStringLiteral("exitpro"));
    setWindowTitle(mtexts::kMakeBackupCopy);
    buildWindow();
    move(twipsPoint(5000, 4500));
    ApplyTheme(ctx_.programFolder(), this);
    showNormalPictures();
    Timer2->start();
    Timer3->start();
    tmCaptionAnimate->start();
}

exitpro::~exitpro() = default;

void exitpro::buildWindow()
{
    setFixedSize(twipsSize(5400, 2520));
    setMouseTracking(true);
    installEventFilter(this);

    Label1 = new QLabel(mtexts::kExitQuestion, this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setAlignment(Qt::AlignCenter);
    Label1->setGeometry(twipsRect(240, 240, 4920, 480));
    QFont question = Label1->font();
    question.setBold(true);
    question.setPointSizeF(question.pointSizeF() * 1.15);
    Label1->setFont(question);

    Check1 = new QCheckBox(mtexts::kMakeBackupCopy, this);
    Check1->setObjectName(QStringLiteral("Check1"));
    Check1->setGeometry(twipsRect(1500, 840, 2400, 390));
    Check1->setChecked(false);

    // Right to left: confirm on the right, cancel on the left. The highlighted picture lies over
    // the normal one and only it takes clicks.
    const QRect confirmAt = twipsRect(2940, 1440, 1620, 720);
    const QRect cancelAt = twipsRect(840, 1440, 1620, 720);
    k1 = makePicture(this, QStringLiteral("k1"), ExitPicture::Confirm, false, confirmAt);
    k2 = makePicture(this, QStringLiteral("k2"), ExitPicture::Confirm, true, confirmAt);
    c1 = makePicture(this, QStringLiteral("c1"), ExitPicture::Cancel, false, cancelAt);
    c2 = makePicture(this, QStringLiteral("c2"), ExitPicture::Cancel, true, cancelAt);
    for (QLabel* picture : {k1, k2, c1, c2})
        picture->installEventFilter(this);

    Command1 = new QPushButton(this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->hide();
    connect(Command1, &QPushButton::clicked, this, &exitpro::confirm);

    auto makeTimer = [this](const QString& name) {
        auto* timer = new QTimer(this);
        timer->setObjectName(name);
        timer->setInterval(kCaptionIntervalMs);
        return timer;
    };
    Timer2 = makeTimer(QStringLiteral("Timer2"));
    Timer3 = makeTimer(QStringLiteral("Timer3"));
    tmCaptionAnimate = makeTimer(QStringLiteral("tmCaptionAnimate"));
    connect(Timer3, &QTimer::timeout, this, [this] {
        setWindowTitle(mtexts::kBackingUp);
        Timer2->start();
        Timer3->stop();
    });
    connect(Timer2, &QTimer::timeout, this, [this] {
        setWindowTitle(mtexts::kMakeBackupCopyCaption);
        Timer3->start();
        Timer2->stop();
    });
    connect(tmCaptionAnimate, &QTimer::timeout, this, [this] {
        if (windowTitle().size() >= 2)
            Check1->setText(windowTitle());
        else
            setWindowTitle(mtexts::kMakeBackupCopyCaption);
    });
}

void exitpro::showNormalPictures()
{
    c1->show();
    k1->show();
    c2->hide();
    k2->hide();
}

void exitpro::confirm()
{
    if (Check1->isChecked()) {
        leaving_ = true;
        backup_ = std::make_unique<Frmbackup>(ctx_);
        backup_->show(); // shown before this one hides, so the program never lacks a window
        hide();
        return;
    }
    leaving_ = true;
    ctx_.desktop().endProgram(0);
}

void exitpro::cancel()
{
    leaving_ = true;
    if (returnToMainWindow_)
        returnToMainWindow_();
    close();
}

bool exitpro::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseMove) {
        if (watched == c1) {
            c1->hide();
            c2->show();
        } else if (watched == k1) {
            k1->hide();
            k2->show();
        } else if (watched == this && !childAt(static_cast<QMouseEvent*>(event)->position().toPoint())) {
            showNormalPictures();
        }
    } else if (event->type() == QEvent::MouseButtonRelease
               && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        if (watched == k2) {
            confirm();
            return true;
        }
        if (watched == c2) {
            cancel();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void exitpro::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        Command1->click();
        return;
    }
    QWidget::keyPressEvent(event);
}

void exitpro::closeEvent(QCloseEvent* event)
{
    // Closing the question unanswered keeps the program: it is a cancel.
    if (!leaving_) {
        leaving_ = true;
        if (returnToMainWindow_)
            returnToMainWindow_();
    }
    event->accept();
}
