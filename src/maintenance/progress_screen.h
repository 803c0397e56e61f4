#pragma once
// The download window: fetches the package the signed version file names into the program
// folder's download folder, keeps it only when it is that package, and opens it with the
// desktop's installer.
#include "kit/app_context.h"
#include "maintenance/file_downloader.h"
#include "maintenance/version_file.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QWidget>

class Progress : public QWidget {
    Q_OBJECT
public:
    Progress(AppContext& ctx, maintenance::UpdatePackage package, QWidget* parent = nullptr);
    ~Progress() override;

    QPushButton* cmdUpdate = nullptr; // "دانلود" / "انصراف"
    QPushButton* Command1 = nullptr;  // close
    QFrame* I1 = nullptr;             // the bar, inside its track
    QLabel* SkinLabel4 = nullptr;     // percentage
    QLabel* ProductLabel = nullptr;
    QLabel* SiteLabel = nullptr;
    QLabel* MailLabel = nullptr;
    QLabel* AddressLabel = nullptr;   // "Address File :", hidden
    QLineEdit* Text = nullptr;        // the package's address, hidden
    QTimer* Timer1 = nullptr;
    maintenance::FileDownloader* FileDownloader1 = nullptr;

    // The file the package is written to.
    QString destination() const;
    QString downloadFolder() const;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildWindow();
    void updateClicked();
    void showPercent(const QString& percent);
    void onError(const QString& message);
    void onComplete();

    AppContext& ctx_;
    maintenance::UpdatePackage package_;
    QFrame* track_ = nullptr;
    QString percent_;
};
