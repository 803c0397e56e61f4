#pragma once
#include "kit/dialogs.h"

// The product's dialogs: right-to-left Qt message boxes, input box, file dialogs, beep.
class QtDialogs final : public Dialogs {
public:
    void message(QWidget* owner, const QString& title, const QString& text, Icon icon,
                 int autoCloseMs) override;
    bool question(QWidget* owner, const QString& title, const QString& text, Icon icon) override;
    std::optional<QString> inputText(QWidget* owner, const QString& title, const QString& prompt,
                                     const QString& defaultText) override;
    std::optional<QString> secretText(QWidget* owner, const QString& title, const QString& prompt) override;
    QString openFileName(QWidget* owner, const QString& title, const QString& folder,
                         const QString& filter) override;
    QString saveFileName(QWidget* owner, const QString& title, const QString& suggestedPath,
                         const QString& filter) override;
    void beep() override;
};

// Closes the top-level message box titled "پيام", if one is open, as if OK had been pressed.
// A box shown with a delay holds its timer as a child named "autoClose".
// Boxes with any other title are left alone. Returns whether one was closed.
bool CloseMessageBoxTitledMessage();
