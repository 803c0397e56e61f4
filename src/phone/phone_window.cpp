#include "phone/phone_window.h"
#include "phone/phone_desk.h"
#include "phone/phone_texts.h"
#include "phone/qr_code.h"
#include "kit/app_context.h"
#include "kit/controls.h"
#include "settings/apply_theme.h"
#include "store/schema.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

using phone::SessionState;

FrmPhone::FrmPhone(AppContext& ctx, phone::PhoneDesk& desk, int session, const QString& caption, QWidget* parent)
    : QWidget(parent, Qt::Window)
    , ctx_(ctx)
    , desk_(desk)
    , session_(session)
{
    setObjectName(QStringLiteral("FrmPhone"));
    setWindowTitle(phone::texts::kWindowTitle);
    setAttribute(Qt::WA_DeleteOnClose);

    LblName = MakeLabel(this, QStringLiteral("LblName"), caption);
    LblName->setProperty("role", QStringLiteral("title"));
    QFont nameFont = font();
    nameFont.setPointSize(nameFont.pointSize() + 3);
    nameFont.setBold(true);
    LblName->setFont(nameFont);
    LblName->setAlignment(Qt::AlignCenter);

    QLabel* instruction = MakeLabel(this, QStringLiteral("LblInstruction"), phone::texts::kInstruction);
    instruction->setWordWrap(true);

    CboAddress = new QComboBox(this);
    CboAddress->setObjectName(QStringLiteral("CboAddress"));
    for (const QHostAddress& a : phone::PhoneDesk::LocalAddresses()) {
        const QString shown = a.isLoopback() ? a.toString() + QStringLiteral(" — ") + phone::texts::kLoopbackNote : a.toString();
        CboAddress->addItem(shown, a.toString());
    }
    CboAddress->setCurrentIndex(std::max(0, CboAddress->findData(desk_.address().toString())));
    connect(CboAddress, &QComboBox::activated, this, &FrmPhone::chooseAddress);

    LblQr = MakeLabel(this, QStringLiteral("LblQr"));
    LblQr->setAlignment(Qt::AlignCenter);
    LblQr->setMinimumSize(260, 260);

    TxtLink = MakeField(this, QStringLiteral("TxtLink"));
    TxtLink->setReadOnly(true);
    TxtLink->setLayoutDirection(Qt::LeftToRight);
    TxtLink->setAlignment(Qt::AlignCenter);

    LblProgress = MakeLabel(this, QStringLiteral("LblProgress"));
    QFont progressFont = font();
    progressFont.setPointSize(progressFont.pointSize() + 8);
    progressFont.setBold(true);
    LblProgress->setFont(progressFont);
    LblState = MakeLabel(this, QStringLiteral("LblState"));
    LblState->setWordWrap(true);

    CmdReopen = MakeButton(this, QStringLiteral("CmdReopen"), phone::texts::kCaptionReopen);
    CmdReopen->setToolTip(phone::texts::kReopenHint);
    CmdClose = MakeButton(this, QStringLiteral("CmdClose"), phone::texts::kCaptionClose);
    connect(CmdReopen, &QPushButton::clicked, this, &FrmPhone::reopen);
    connect(CmdClose, &QPushButton::clicked, this, &QWidget::close);

    auto* grid = new QGridLayout;
    grid->addWidget(MakeLabel(this, QStringLiteral("LblAddressCaption"), phone::texts::kCaptionAddress), 0, 0);
    grid->addWidget(CboAddress, 0, 1);
    grid->addWidget(MakeLabel(this, QStringLiteral("LblLinkCaption"), phone::texts::kCaptionLink), 1, 0);
    grid->addWidget(TxtLink, 1, 1);
    auto* progress = new QHBoxLayout;
    progress->addWidget(MakeLabel(this, QStringLiteral("LblProgressCaption"), phone::texts::kCaptionProgress));
    progress->addWidget(LblProgress);
    progress->addStretch();
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(CmdReopen);
    buttons->addStretch();
    buttons->addWidget(CmdClose);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(LblName);
    layout->addWidget(instruction);
    layout->addWidget(LblQr, 1);
    layout->addLayout(grid);
    layout->addLayout(progress);
    layout->addWidget(LblState);
    layout->addLayout(buttons);
    setMinimumWidth(460);

    ApplyTheme(ctx_.programFolder(), this);
    connect(&desk_, &phone::PhoneDesk::linksChanged, this, &FrmPhone::showLink);
    connect(&desk_, &phone::PhoneDesk::stateChanged, this, [this](int id) {
        if (id == session_)
            showState();
    });
    connect(&desk_, &phone::PhoneDesk::progress, this, [this](int id, int answered) {
        if (id == session_)
            showProgress(answered);
    });
    connect(&desk_, &phone::PhoneDesk::storeFailed, this, [this](int id, int item, const QString& error) {
        if (id == session_)
            reportStoreFailure(item, error);
    });
    showLink();
    showState();
    showProgress(desk_.answered(session_));
}

FrmPhone::~FrmPhone()
{
    desk_.remove(session_);
}

void FrmPhone::showLink()
{
    const QString link = desk_.link(session_).toString();
    TxtLink->setText(link);
    // The whole link in view, its start first: it is read out or typed on the phone.
    TxtLink->setMinimumWidth(TxtLink->fontMetrics().horizontalAdvance(link) + 20);
    TxtLink->setCursorPosition(0);
    const QImage qr = phone::QrCodeImage(link, 5);
    LblQr->setPixmap(QPixmap::fromImage(qr));
    CboAddress->setCurrentIndex(std::max(0, CboAddress->findData(desk_.address().toString())));
}

void FrmPhone::showState()
{
    const SessionState state = desk_.state(session_);
    QString text;
    switch (state) {
    case SessionState::Waiting:
        text = phone::texts::kStateWaiting;
        break;
    case SessionState::Begun:
        text = phone::texts::kStateBegun;
        break;
    case SessionState::Finished:
        text = phone::texts::kStateFinished;
        break;
    case SessionState::Closed:
        text = phone::texts::kStateClosed;
        break;
    case SessionState::Expired:
        text = phone::texts::kStateExpired;
        break;
    }
    LblState->setText(text);
    // An ended link is of no use to anyone: it is not shown as if it could be opened.
    const bool live = state == SessionState::Waiting || state == SessionState::Begun;
    LblQr->setEnabled(live);
    TxtLink->setEnabled(live);
    if (!live)
        LblQr->setPixmap(QPixmap());
    else if (LblQr->pixmap().isNull())
        showLink();
}

void FrmPhone::showProgress(int answered)
{
    LblProgress->setText(QStringLiteral("%1 / %2").arg(answered).arg(store::kItemCount));
}

void FrmPhone::chooseAddress(int index)
{
    QString error;
    if (!desk_.setAddress(QHostAddress(CboAddress->itemData(index).toString()), error))
        ReportFailure(ctx_.dialogs(), this, error);
    showLink();
}

void FrmPhone::reopen()
{
    QString error;
    if (!desk_.reopen(session_, error)) {
        ReportFailure(ctx_.dialogs(), this, error);
        return;
    }
    showLink();
    showState();
}

void FrmPhone::reportStoreFailure(int item, const QString& error)
{
    // Said once at a time, after the page has had its reply: the page keeps the answer and
    // sends it again.
    if (reporting_)
        return;
    reporting_ = true;
    QTimer::singleShot(0, this, [this, item, error] {
        ReportFailure(ctx_.dialogs(), this, phone::texts::kAnswerNotStored.arg(item), error);
        reporting_ = false;
    });
}

void FrmPhone::closeEvent(QCloseEvent* event)
{
    const SessionState state = desk_.state(session_);
    const bool live = state == SessionState::Waiting || state == SessionState::Begun;
    if (state == SessionState::Begun && !ctx_.dialogs().question(this, titles::kWarning, phone::texts::kAskClose,
                                                                 Dialogs::Icon::Warning)) {
        event->ignore();
        return;
    }
    if (live)
        desk_.close(session_);
    QWidget::closeEvent(event);
}
