#pragma once
// The download window: fetches the new installer into the program folder.
#include "kit/app_context.h"
#include "maintenance/file_downloader.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QWidget>

class Progress : public QWidget {
    Q_OBJECT
public:
    explicit Progress(AppContext& ctx, QWidget* parent = nullptr);
    ~Progress() override;

    QPushButton* cmdUpdate = nullptr; // "دانلود" / "انصراف"
    QPushButton* Command1 = nullptr;  // close
    QFrame* I1 = nullptr;             // the bar, inside its track
    QLabel* SkinLabel4 = nullptr;     // percentage
    QLabel* ProductLabel = nullptr;
    QLabel* SiteLabel = nullptr;
    QLabel* MailLabel = nullptr;
    QLabel* AddressLabel = nullptr;   // "Address File :", hidden
    QLineEdit* Text = nullptr;        // the installer's address, hidden
    QTimer* Timer1 = nullptr;
    maintenance::FileDownloader* FileDownloader1 = nullptr;

    // The file the installer is written to.
    QString destination() const;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildWindow();
    void updateClicked();
    void showPercent(const QString& percent);
    void onError(const QString& message);
    void onComplete();

    AppContext& ctx_;
    QFrame* track_ = nullptr;
    QString percent_;
};
