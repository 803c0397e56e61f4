#pragma once
// The update screen: checks the publisher's server for a newer version on demand.
#include "kit/app_context.h"

#include <QLabel>
#include <QPushButton>
#include <QWidget>
#include <functional>

namespace maintenance {
class VersionCheck;
struct UpdatePackage;
}

class FrmUpdate : public QWidget {
    Q_OBJECT
public:
    // versionText: the program's title and version ("Tavora-II-71 3.5"); ownVersion: 35.
    FrmUpdate(AppContext& ctx, QString versionText, int ownVersion, QWidget* parent = nullptr);
    ~FrmUpdate() override;

    // Whether the computer is online; replaceable in tests.
    std::function<bool()> isOnline;
    // Opens the download window for the package of a newer version (this screen has closed).
    std::function<void(const maintenance::UpdatePackage&)> openDownload;

    QPushButton* Command1 = nullptr; // check
    QPushButton* Command2 = nullptr; // exit; Escape
    QLabel* Label1 = nullptr;        // the version text
    QLabel* Label2 = nullptr;        // explanation

    bool isChecking() const;

Q_SIGNALS:
    // A check has ended (after its message, if any).
    void checkFinished();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void check();
    void onChecked();
    void showVersionCaption();

    AppContext& ctx_;
    QString versionText_;
    int ownVersion_;
    maintenance::VersionCheck* check_ = nullptr;
};
