#pragma once
// The theme panel of the main window: the theme chosen by number, applied at once and recorded
// in the theme list file for every screen that opens later.
#include <QFrame>

class AppContext;
class QLineEdit;
class QPushButton;

class ThemePanel : public QFrame {
    Q_OBJECT
public:
    ThemePanel(AppContext& ctx, QWidget* parent);

    // Command68 of the settings panel: places and shows the panel with the current theme.
    void open(const QString& currentTheme);
    void previous(); // Comdtback
    void next();     // Comdtnext

    QLineEdit* Txtthema = nullptr;
    QPushButton* Comdtback = nullptr;
    QPushButton* Comdtnext = nullptr;
    QPushButton* Command46 = nullptr; // exit: the settings panel stays

Q_SIGNALS:
    // A theme was chosen: the main window applies it to itself.
    void themeChanged(const QString& themeName);

private:
    void build();
    void numberChanged(const QString& text);
    void step(int by);

    AppContext& ctx_;
    QString current_;
};
