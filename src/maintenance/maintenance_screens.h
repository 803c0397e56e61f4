#pragma once
// The main window's side of leaving and of the maintenance screens: the exit confirmation, the
// about screen, the update screen and download window, and the start-up update check with its
// notice panel. The main window hands over what these need; nothing here knows the main window.
#include "kit/app_context.h"

#include <QFrame>
#include <QLabel>
#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QPushButton>
#include <functional>

class About;
class exitpro;
class FrmUpdate;
class Progress;

namespace maintenance {
class VersionCheck;
struct UpdatePackage;
}

struct MainWindowLink {
    QWidget* window = nullptr;          // shown again when the exit screen is cancelled
    QFrame* noticePanel = nullptr;      // Frame3: filled here, shown when an update exists
    QPushButton* aboutButton = nullptr; // Command12
    QPushButton* updateButton = nullptr; // Command13
    std::function<bool()> anyResponses; // the about screen opens only when responses exist
    std::function<void()> hideAllPanels;
    // The load step again: empty on success, otherwise why the window cannot be shown.
    std::function<QString()> reload;
    int majorVersion = 0;
    int minorVersion = 0;
};

class MaintenanceScreens : public QObject {
    Q_OBJECT
public:
    MaintenanceScreens(AppContext& ctx, MainWindowLink link, QObject* parent = nullptr);
    ~MaintenanceScreens() override;

    // The exit confirmation at a place in twips; shown once, moved when already shown.
    void showExitScreen(QPoint twipsPosition);
    // The check ten seconds after start-up: silent unless a signed version file offers a newer
    // version with a package for this platform.
    void StartupUpdateCheck();
    void showAbout();
    void showUpdate();
    void showDownload(const maintenance::UpdatePackage& package);

    exitpro* exitScreen() const;
    About* aboutScreen() const;
    FrmUpdate* updateScreen() const;
    Progress* downloadScreen() const;
    bool isCheckingAtStartup() const;

    // Whether the computer is online; replaceable in tests.
    std::function<bool()> isOnline;

    // Frame3's contents.
    QLabel* noticeHeading = nullptr;
    QLabel* noticeText = nullptr;
    QLabel* noticeWarning = nullptr;
    QPushButton* Command11 = nullptr;

Q_SIGNALS:
    void startupCheckFinished();

private:
    void buildNotice();
    void returnToMainWindow();
    QString versionText() const;
    int ownVersion() const;
    void showModal(QWidget* screen);

    AppContext& ctx_;
    MainWindowLink link_;
    QPointer<exitpro> exit_;
    QPointer<About> about_;
    QPointer<FrmUpdate> update_;
    QPointer<Progress> download_;
    maintenance::VersionCheck* startupCheck_ = nullptr;
};
