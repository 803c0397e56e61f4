#pragma once
// Backup and restore of the examinee database, reached while leaving the program. The program
// ends after a successful backup or restore, and when this screen closes.
#include "kit/app_context.h"
#include "store/server.h"

#include <QCheckBox>
#include <QFrame>
#include <memory>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QWidget>

namespace maintenance {
class CopyTransform;
class FileCopier;
}

class Frmbackup : public QWidget {
    Q_OBJECT
public:
    explicit Frmbackup(AppContext& ctx, QWidget* parent = nullptr);
    ~Frmbackup() override;

    // The name the save dialog proposes at this moment.
    QString proposedName() const;
    bool isCopying() const;

    QLineEdit* Text1 = nullptr;           // backup target
    QPushButton* b1 = nullptr;
    QPushButton* VisualButtonEx2 = nullptr; // BACKUP
    QCheckBox* ChkSeal = nullptr;         // seal the backup with a passphrase
    QLineEdit* Text2 = nullptr;           // restore source
    QPushButton* b2 = nullptr;
    QPushButton* VisualButtonEx3 = nullptr; // REASTOR
    QLabel* Label1 = nullptr;             // date
    QLabel* Label2 = nullptr;             // time, every second
    QLabel* Label3 = nullptr;             // date
    QPushButton* Command3 = nullptr;      // help
    QPushButton* Command1 = nullptr;      // exit; Escape
    QProgressBar* CopyProgress = nullptr; // shown while a copy runs
    QTimer* Timer1 = nullptr;

    QFrame* Frame1 = nullptr;             // help panel
    QPlainTextEdit* Text4 = nullptr;
    QPushButton* Command2 = nullptr;

Q_SIGNALS:
    // A copy ended: after its messages (and, on success, the program's end).
    void copyFinished(bool success);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildWindow();
    void buildHelpPanel();
    void showTime();
    QString backFolder() const;
    void chooseBackupTarget();
    void chooseRestoreSource();
    void backup();
    void restore();
    // Asks the passphrase twice; null when the user gave none that can be used (said).
    std::unique_ptr<maintenance::CopyTransform> askSealing();
    void restoreAfterSafetyCopy(const QString& source, const QString& plain);
    // The same two on a clinic's database server.
    void backupServer(const store::ServerAddress& server, const QString& target,
                      std::unique_ptr<maintenance::CopyTransform> sealing);
    void restoreServer(const store::ServerAddress& server, const QString& source, const QString& plain);
    // Removes the opened copy of a sealed backup (plain), never the chosen file itself.
    void discardOpened(const QString& plain, const QString& source);
    // The copy has ended: a failure is reported, a success said before the program ends.
    void endCopy(const QString& error, const QString& done);
    void setCopying(bool copying);
    // The bar at done of total (full when there is nothing to do).
    void showProgress(qint64 done, qint64 total);
    void reportCopyFailure(const QString& error);
    void reportOtherRestoreFailure(const QString& error);

    AppContext& ctx_;
    QDate openedOn_;
    QString confirmedTarget_; // the last name the save dialog gave, its replacement confirmed there
    maintenance::FileCopier* copier_ = nullptr;
    bool serverWork_ = false; // a backup or restore on the server is under way
    std::unique_ptr<maintenance::CopyTransform> sealing_; // for the copy of the server's snapshot
};
