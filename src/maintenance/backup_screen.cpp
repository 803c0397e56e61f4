#include "maintenance/backup_screen.h"
#include "kit/chosen_file.h"
#include "kit/controls.h"
#include "kit/texts.h"
#include "kit/twips.h"
#include "calendar/solar_hijri.h"
#include "maintenance/backup_crypto.h"
#include "maintenance/backup_names.h"
#include "maintenance/examinee_database.h"
#include "maintenance/file_copy.h"
#include "maintenance/maintenance_texts.h"
#include "maintenance/replace_file.h"
#include "settings/apply_theme.h"
#include "store/connection.h"
#include "store/private_files.h"
#include "store/schema.h"
#include "store/server_backup.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QVBoxLayout>

using namespace maintenance;
namespace mtexts = maintenance::texts;

namespace {

const QString kCrLf = QStringLiteral("\r\n");

QString helpText()
{
    QFile file(QStringLiteral(":/data/maintenance/backup-help.txt"));
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(file.readAll());
}

QLineEdit* makePathField(QWidget* parent, const QString& name)
{
    QLineEdit* field = MakeField(parent, name);
    field->setLayoutDirection(Qt::LeftToRight); // paths read left to right
    field->setMinimumWidth(300);
    return field;
}

} // namespace

Frmbackup::Frmbackup(AppContext& ctx, QWidget* parent)
    : QWidget(parent, Qt::Window)
    , ctx_(ctx)
    , copier_(new FileCopier(this))
{
    setObjectName(QStringLiteral("Frmbackup"));
    setWindowTitle(mtexts::kBackupTitle);
    buildWindow();
    move(StandardWindowPosition());
    ApplyTheme(ctx_.programFolder(), this);
    openedOn_ = ctx_.clock().now().date();
    Label1->setText(ToSolarHijri(openedOn_, 4));
    Label3->setText(Label1->text());
    showTime();
    Timer1->start();
    connect(copier_, &FileCopier::progress, this, &Frmbackup::showProgress);
}

void Frmbackup::showProgress(qint64 done, qint64 total)
{
    CopyProgress->setRange(0, 1000);
    CopyProgress->setValue(total > 0 ? static_cast<int>(done * 1000 / total) : 1000);
}

Frmbackup::~Frmbackup() = default;

void Frmbackup::buildWindow()
{
    auto* root = new QVBoxLayout(this);
    root->setContentsMargins(14, 12, 14, 12);
    root->setSpacing(10);

    auto* stamp = new QHBoxLayout;
    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label2 = new QLabel(this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label3 = new QLabel(this);
    Label3->setObjectName(QStringLiteral("Label3"));
    Label3->hide(); // a copy of the date, kept for whoever reads it
    stamp->addWidget(Label1);
    stamp->addStretch(1);
    stamp->addWidget(Label2);
    root->addLayout(stamp);

    auto* rows = new QGridLayout;
    rows->setHorizontalSpacing(8);
    rows->setVerticalSpacing(10);
    VisualButtonEx2 = MakeButton(this, QStringLiteral("VisualButtonEx2"), mtexts::kCaptionBackup);
    b1 = MakeButton(this, QStringLiteral("b1"), mtexts::kChooseCaption);
    Text1 = makePathField(this, QStringLiteral("Text1"));
    VisualButtonEx3 = MakeButton(this, QStringLiteral("VisualButtonEx3"), mtexts::kCaptionRestore);
    b2 = MakeButton(this, QStringLiteral("b2"), mtexts::kChooseCaption);
    Text2 = makePathField(this, QStringLiteral("Text2"));
    for (QPushButton* b : {VisualButtonEx2, VisualButtonEx3})
        b->setMinimumSize(110, 34);
    for (QPushButton* b : {b1, b2})
        b->setFixedWidth(40);
    rows->addWidget(VisualButtonEx2, 0, 0);
    rows->addWidget(b1, 0, 1);
    rows->addWidget(Text1, 0, 2);
    ChkSeal = new QCheckBox(mtexts::kCaptionSeal, this);
    ChkSeal->setObjectName(QStringLiteral("ChkSeal"));
    rows->addWidget(ChkSeal, 1, 2);
    rows->addWidget(VisualButtonEx3, 2, 0);
    rows->addWidget(b2, 2, 1);
    rows->addWidget(Text2, 2, 2);
    rows->setColumnStretch(2, 1);
    root->addLayout(rows);

    CopyProgress = new QProgressBar(this);
    CopyProgress->setObjectName(QStringLiteral("CopyProgress"));
    CopyProgress->setTextVisible(false);
    QSizePolicy keepRoom = CopyProgress->sizePolicy();
    keepRoom.setRetainSizeWhenHidden(true);
    CopyProgress->setSizePolicy(keepRoom);
    CopyProgress->hide();
    root->addWidget(CopyProgress);

    auto* commands = new QHBoxLayout;
    Command3 = MakeButton(this, QStringLiteral("Command3"), mtexts::kCaptionHelp);
    Command1 = MakeButton(this, QStringLiteral("Command1"), ::texts::kCaptionExit);
    commands->addWidget(Command3);
    commands->addStretch(1);
    commands->addWidget(Command1);
    root->addLayout(commands);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(1000);
    connect(Timer1, &QTimer::timeout, this, &Frmbackup::showTime);

    buildHelpPanel();
    setFixedSize(twipsSize(7800, 3700));

    connect(b1, &QPushButton::clicked, this, &Frmbackup::chooseBackupTarget);
    connect(b2, &QPushButton::clicked, this, &Frmbackup::chooseRestoreSource);
    connect(VisualButtonEx2, &QPushButton::clicked, this, &Frmbackup::backup);
    connect(VisualButtonEx3, &QPushButton::clicked, this, &Frmbackup::restore);
    connect(Command3, &QPushButton::clicked, this, [this] {
        Frame1->setGeometry(rect());
        Frame1->show();
        Frame1->raise();
    });
    connect(Command2, &QPushButton::clicked, Frame1, &QWidget::hide);
    connect(Command1, &QPushButton::clicked, this, &QWidget::close);
}

void Frmbackup::buildHelpPanel()
{
    Frame1 = new QFrame(this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame1->setProperty("role", QStringLiteral("panel"));
    Frame1->setFrameShape(QFrame::StyledPanel);
    Frame1->setAutoFillBackground(true);
    auto* column = new QVBoxLayout(Frame1);
    Text4 = new QPlainTextEdit(Frame1);
    Text4->setObjectName(QStringLiteral("Text4"));
    Text4->setReadOnly(true);
    Text4->setPlainText(helpText());
    Command2 = MakeButton(Frame1, QStringLiteral("Command2"), ::texts::kCaptionExit);
    column->addWidget(Text4, 1);
    column->addWidget(Command2, 0, Qt::AlignLeft);
    Frame1->hide();
}

void Frmbackup::showTime()
{
    Label2->setText(BackupTimeText(ctx_.clock().now().time()));
}

QString Frmbackup::proposedName() const
{
    return ProposedBackupName(openedOn_, ctx_.clock().now().time());
}

bool Frmbackup::isCopying() const
{
    return copier_->isRunning() || serverWork_;
}

QString Frmbackup::backFolder() const
{
    const QString folder = ctx_.path(kBackupFolder);
    // The dialogs open there; a folder that cannot be made leaves them elsewhere.
    (void)store::MakeOwnerOnlyFolder(folder);
    return folder;
}

void Frmbackup::chooseBackupTarget()
{
    showTime(); // the name carries the time the screen shows as the dialog opens
    const QString suggested = QDir(backFolder()).filePath(proposedName());
    const QString chosen = ctx_.dialogs().saveFileName(this, QString(), suggested, mtexts::kBackupFilter);
    if (!chosen.isEmpty()) {
        Text1->setText(QDir::toNativeSeparators(chosen));
        confirmedTarget_ = chosen; // the save dialog has asked already whether to replace it
    }
}

void Frmbackup::chooseRestoreSource()
{
    const QString chosen = ctx_.dialogs().openFileName(this, QString(), backFolder(), mtexts::kBackupFilter);
    if (!chosen.isEmpty())
        Text2->setText(QDir::toNativeSeparators(chosen));
}

void Frmbackup::backup()
{
    if (isCopying())
        return;
    const QString target = QDir::fromNativeSeparators(Text1->text().trimmed());
    if (target.isEmpty()) {
        ctx_.dialogs().message(this, titles::kError, mtexts::kEnterBackupPath, Dialogs::Icon::Warning);
        return;
    }
    // Asked once: a name chosen in the save dialog was confirmed there, one typed here is asked.
    if (QFileInfo::exists(target) && target != confirmedTarget_
        && !ctx_.dialogs().question(this, ::texts::kProgramCaption, mtexts::kReplaceBackup)) {
        ctx_.dialogs().message(this, ::texts::kProgramCaption, mtexts::kBackupNotMade, Dialogs::Icon::Information);
        return;
    }
    std::unique_ptr<CopyTransform> sealing;
    if (ChkSeal->isChecked() && !(sealing = askSealing()))
        return;
    const QString database = ctx_.path(store::kExamineeFile);
    if (const std::optional<store::ServerAddress> server = store::ServerOf(ctx_.programFolder())) {
        backupServer(*server, target, std::move(sealing));
        return;
    }
    if (const QString busy = ReleaseDatabaseFile(database); !busy.isEmpty()) {
        reportCopyFailure(busy);
        return;
    }
    // What an earlier, killed copy left behind goes now.
    store::RemoveStaleParts(backFolder());
    setCopying(true);
    connect(copier_, &FileCopier::finished, this, [this](const QString& error) { endCopy(error, mtexts::kBackupMade); },
            Qt::SingleShotConnection);
    copier_->start(database, target, std::move(sealing));
}

void Frmbackup::backupServer(const store::ServerAddress& server, const QString& target,
                             std::unique_ptr<CopyTransform> sealing)
{
    // The server's tables are first written into a file of the examinee file's format, beside
    // it (removed at the next start if the program is killed meanwhile); that file is then
    // copied, sealed or not, as a local database would be.
    const QString snapshot = store::PartFileName(ctx_.path(store::kExamineeFile) + QStringLiteral(".snapshot"));
    store::RemoveStaleParts(backFolder());
    setCopying(true);
    serverWork_ = true;
    // On the event loop's next turn, so that the screen shows the copy under way first.
    sealing_ = std::move(sealing);
    QTimer::singleShot(0, this, [this, server, target, snapshot] {
        // The snapshot is one transaction on this thread: between its batches of rows the bar
        // moves and the window is repainted; input waits, as the screen's buttons are off anyway.
        const store::Result r = store::BackupServerExaminees(server, snapshot, [this](qint64 done, qint64 total) {
            showProgress(done, total);
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        });
        serverWork_ = false;
        if (!r) {
            sealing_.reset();
            endCopy(r.error, mtexts::kBackupMade);
            return;
        }
        connect(copier_, &FileCopier::finished, this, [this, snapshot](const QString& error) {
            QFile::remove(snapshot);
            endCopy(error, mtexts::kBackupMade);
        }, Qt::SingleShotConnection);
        copier_->start(snapshot, target, std::move(sealing_));
    });
}

std::unique_ptr<CopyTransform> Frmbackup::askSealing()
{
    Dialogs& dialogs = ctx_.dialogs();
    const std::optional<QString> first = dialogs.secretText(this, mtexts::kPassphraseTitle, mtexts::kAskNewPassphrase);
    if (!first) {
        dialogs.message(this, ::texts::kProgramCaption, mtexts::kBackupNotMade, Dialogs::Icon::Information);
        return nullptr;
    }
    if (first->size() < mtexts::kMinPassphraseLength) {
        dialogs.message(this, titles::kError, mtexts::kPassphraseTooShort, Dialogs::Icon::Warning);
        return nullptr;
    }
    const std::optional<QString> second = dialogs.secretText(this, mtexts::kPassphraseTitle, mtexts::kRepeatPassphrase);
    if (!second) {
        dialogs.message(this, ::texts::kProgramCaption, mtexts::kBackupNotMade, Dialogs::Icon::Information);
        return nullptr;
    }
    if (*second != *first) {
        dialogs.message(this, titles::kError, mtexts::kPassphrasesDiffer, Dialogs::Icon::Warning);
        return nullptr;
    }
    setCursor(Qt::BusyCursor); // deriving the key takes a moment
    QString error;
    std::unique_ptr<CopyTransform> sealing = MakeSealing(*first, error);
    unsetCursor();
    if (!sealing)
        reportCopyFailure(error);
    return sealing;
}

void Frmbackup::endCopy(const QString& error, const QString& done)
{
    setCopying(false);
    if (!error.isEmpty()) {
        reportCopyFailure(error);
        Q_EMIT copyFinished(false);
        return;
    }
    // Done: said, and the program ends.
    ctx_.dialogs().message(this, ::texts::kProgramCaption, done);
    ctx_.desktop().endProgram(0);
    Q_EMIT copyFinished(true);
}

void Frmbackup::restore()
{
    if (isCopying())
        return;
    const QString source = QDir::fromNativeSeparators(Text2->text().trimmed());
    if (source.isEmpty()) {
        ctx_.dialogs().message(this, titles::kError, mtexts::kEnterRestorePath, Dialogs::Icon::Warning);
        return;
    }
    if (!ctx_.dialogs().question(this, ::texts::kProgramCaption, mtexts::kAskRestore)) {
        ctx_.dialogs().message(this, ::texts::kProgramCaption, mtexts::kNotRestored);
        return;
    }
    // Nothing but a regular file is read: a FIFO or a device would hold the screen for ever.
    if (!IsRegularFile(source)) {
        ctx_.dialogs().message(this, titles::kError, mtexts::kNotOurDatabase + kCrLf + ::texts::kNotARegularFile,
                               Dialogs::Icon::Warning);
        return;
    }
    const QString database = ctx_.path(store::kExamineeFile);
    // A sealed backup is opened into a file of the user's only, beside the database; it is
    // removed when the restore ends, and at the next start if the program was killed first.
    QString plain = source;
    if (IsSealedBackup(source)) {
        const std::optional<QString> passphrase =
            ctx_.dialogs().secretText(this, mtexts::kPassphraseTitle, mtexts::kAskBackupPassphrase);
        if (!passphrase) {
            ctx_.dialogs().message(this, ::texts::kProgramCaption, mtexts::kNotRestored);
            return;
        }
        plain = store::PartFileName(database + QStringLiteral(".opened"));
        setCursor(Qt::BusyCursor);
        const QString refused = UnsealFile(source, plain, *passphrase);
        unsetCursor();
        if (!refused.isEmpty()) {
            ctx_.dialogs().message(this, titles::kError, mtexts::kSealRefused + kCrLf + refused, Dialogs::Icon::Warning);
            return;
        }
    }
    // Nothing is replaced by a file that is not this program's database, whole and sound.
    if (const QString why = CheckExamineeDatabase(plain); !why.isEmpty()) {
        discardOpened(plain, source);
        ctx_.dialogs().message(this, titles::kError, mtexts::kNotOurDatabase + kCrLf + why, Dialogs::Icon::Warning);
        return;
    }
    if (const std::optional<store::ServerAddress> server = store::ServerOf(ctx_.programFolder())) {
        restoreServer(*server, source, plain);
        return;
    }
    if (const QString busy = ReleaseDatabaseFile(database); !busy.isEmpty()) {
        discardOpened(plain, source);
        reportOtherRestoreFailure(busy);
        return;
    }
    // The database as it is now is kept in "Back" first, under the name proposed at this moment.
    const QString keep = FreeBackupPath(backFolder(), proposedName());
    store::RemoveStaleParts(backFolder());
    setCopying(true);
    connect(copier_, &FileCopier::finished, this, [this, source, plain](const QString& error) {
        if (!error.isEmpty()) {
            discardOpened(plain, source);
            setCopying(false);
            reportCopyFailure(error);
            Q_EMIT copyFinished(false);
            return;
        }
        restoreAfterSafetyCopy(source, plain);
    }, Qt::SingleShotConnection);
    copier_->start(database, keep);
}

void Frmbackup::restoreAfterSafetyCopy(const QString& source, const QString& plain)
{
    const QString database = ctx_.path(store::kExamineeFile);
    // The backup's rows go into a fresh file of the program's own schema, which is checked and
    // then renamed over the database: nothing the backup brings besides its rows can run.
    const QString fresh = store::PartFileName(database);
    QString error = RebuildExamineeDatabase(plain, fresh);
    discardOpened(plain, source);
    if (!error.isEmpty()) {
        setCopying(false);
        ctx_.dialogs().message(this, titles::kError, mtexts::kNotOurDatabase + kCrLf + error, Dialogs::Icon::Warning);
        Q_EMIT copyFinished(false);
        return;
    }
    // Whatever reopened the database meanwhile lets go of it before the rename.
    error = ReleaseDatabaseFile(database);
    if (error.isEmpty())
        error = ReplaceFile(fresh, database);
    if (!error.isEmpty())
        QFile::remove(fresh);
    endCopy(error, mtexts::kRestored);
}

void Frmbackup::restoreServer(const store::ServerAddress& server, const QString& source, const QString& plain)
{
    setCopying(true);
    serverWork_ = true;
    QTimer::singleShot(0, this, [this, server, source, plain] {
        // The backup's rows go into a fresh file of the program's own schema, checked, exactly as
        // for a local restore; only that file's rows reach the server.
        const QString fresh = store::PartFileName(ctx_.path(store::kExamineeFile));
        const QString error = RebuildExamineeDatabase(plain, fresh);
        discardOpened(plain, source);
        if (!error.isEmpty()) {
            serverWork_ = false;
            setCopying(false);
            ctx_.dialogs().message(this, titles::kError, mtexts::kNotOurDatabase + kCrLf + error, Dialogs::Icon::Warning);
            Q_EMIT copyFinished(false);
            return;
        }
        // The server's rows as they are now are kept in "Back" first, under the name proposed now.
        const QString keep = FreeBackupPath(backFolder(), proposedName());
        store::RemoveStaleParts(backFolder());
        // Between batches the bar moves and the window is repainted; nothing else runs meanwhile
        // (the phone page's requests wait), as the server's examinee tables are locked.
        const store::Result r = store::RestoreServerExaminees(server, fresh, keep, [this](qint64 done, qint64 total) {
            showProgress(done, total);
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents | QEventLoop::ExcludeSocketNotifiers);
        });
        QFile::remove(fresh);
        serverWork_ = false;
        endCopy(r ? QString() : r.error, mtexts::kRestored);
    });
}

void Frmbackup::discardOpened(const QString& plain, const QString& source)
{
    if (plain != source)
        QFile::remove(plain);
}

void Frmbackup::setCopying(bool copying)
{
    for (QWidget* w : {static_cast<QWidget*>(b1), static_cast<QWidget*>(b2), static_cast<QWidget*>(VisualButtonEx2),
                       static_cast<QWidget*>(VisualButtonEx3), static_cast<QWidget*>(Command1),
                       static_cast<QWidget*>(Text1), static_cast<QWidget*>(Text2)})
        w->setEnabled(!copying);
    CopyProgress->setValue(0);
    CopyProgress->setVisible(copying);
    setCursor(copying ? Qt::BusyCursor : Qt::ArrowCursor);
}

void Frmbackup::reportCopyFailure(const QString& error)
{
    ctx_.dialogs().message(this, titles::kError, mtexts::kCopyFailed + kCrLf + error, Dialogs::Icon::Critical);
}

void Frmbackup::reportOtherRestoreFailure(const QString& error)
{
    ctx_.dialogs().message(this, titles::kError, error + mtexts::kCloseOtherWindows, Dialogs::Icon::Warning);
}

void Frmbackup::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        Command1->click();
        return;
    }
    QWidget::keyPressEvent(event);
}

void Frmbackup::closeEvent(QCloseEvent* event)
{
    // A copy is not cancellable: the screen stays until it ends.
    if (isCopying()) {
        event->ignore();
        return;
    }
    event->accept();
    ctx_.desktop().endProgram(0);
}
