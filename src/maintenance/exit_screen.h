#pragma once
// The exit confirmation: leave, leave through the backup screen, or return to the main window.
#include "kit/app_context.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>

class Frmbackup;

class exitpro : public QWidget {
    Q_OBJECT
public:
    // returnToMainWindow shows the main window again (reloaded).
    exitpro(AppContext& ctx, std::function<void()> returnToMainWindow, QWidget* parent = nullptr);
    ~exitpro() override;

    // The backup screen, once the confirmation opened it.
    Frmbackup* backupScreen() const { return backup_.get(); }

    QLabel* Label1 = nullptr;
    QCheckBox* Check1 = nullptr;
    QLabel* k1 = nullptr; // confirm
    QLabel* k2 = nullptr; // confirm, highlighted
    QLabel* c1 = nullptr; // cancel
    QLabel* c2 = nullptr; // cancel, highlighted
    QPushButton* Command1 = nullptr; // hidden; Escape
    QTimer* Timer2 = nullptr;
    QTimer* Timer3 = nullptr;
    QTimer* tmCaptionAnimate = nullptr;

    void confirm();
    void cancel();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildWindow();
    void showNormalPictures();

    AppContext& ctx_;
    std::function<void()> returnToMainWindow_;
    std::unique_ptr<Frmbackup> backup_;
    bool leaving_ = false; // confirmed or cancelled: closing is no cancel of its own
};
