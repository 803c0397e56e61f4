#pragma once
// The settings panel of the main window: opens the clinic details, theme, item-edit and norm
// tables panels, chooses the clinic logo and switches it on or off for the printed report.
#include "store/view.h"

#include <QFrame>

class AppContext;
class QCheckBox;
class QLabel;
class QPushButton;

class SettingsPanel : public QFrame {
    Q_OBJECT
public:
    // settingsRow: the view of the settings row, shared with the clinic details panel.
    SettingsPanel(AppContext& ctx, std::shared_ptr<store::View> settingsRow, QWidget* parent);

    // Reads the logo switch from the settings row (start-up).
    store::Result load();
    // Places and shows the panel (the main window has hidden the others).
    void open();
    // The logo preview, painted stretched to the box; a null picture empties it.
    void showLogo(const QImage& logo);
    // Command65: the file dialog, then the chosen picture becomes the logo file.
    void chooseLogo();
    void switchLogo(bool shown); // Check1 clicked
    // Copies this computer's four files into the server the program uses, after a question.
    void moveToServer();

    QPushButton* Command68 = nullptr; // change the theme
    QPushButton* Command67 = nullptr; // clinic details
    QPushButton* Cmndedit = nullptr;  // edit the items
    QPushButton* Command65 = nullptr; // choose the clinic logo
    QPushButton* normTables = nullptr; // the norm tables panel
    QPushButton* Command69 = nullptr; // exit
    QLabel* Picture2 = nullptr;       // logo preview
    QLabel* logoSwitchCaption = nullptr;
    QCheckBox* Check1 = nullptr;      // the report shows the logo
    QLabel* storeInUse = nullptr;     // this computer, or the server's host and database
    QPushButton* moveDataToServer = nullptr;

private:
    std::shared_ptr<store::View> settingsRow_;

public:
    store::View& Adodc13; // Theme: the logo switch

Q_SIGNALS:
    void clinicDetailsRequested();
    void themeRequested();
    void editItemsRequested();
    void logoChoiceRequested();
    void normTablesRequested();
    void closed();
    void logoChanged(const QImage& logo); // the logo file holds a new picture

private:
    void build();
    void showStoredSwitch();
    void showSwitchCaption();

    AppContext& ctx_;
};
