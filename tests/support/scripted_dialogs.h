#pragma once
// Dialogs for tests: records every box and answers from queues, never blocking.
#include "kit/dialogs.h"

#include <QList>
#include <QQueue>
#include <QString>
#include <optional>

class ScriptedDialogs final : public Dialogs {
public:
    enum class Kind { Message, Question, Input, Secret, OpenFile, SaveFile, Beep };

    struct Shown {
        Kind kind;
        QString title;
        QString text; // message text, question, input prompt, or a file dialog's folder or proposed path
        Icon icon = Icon::None;
        int autoCloseMs = 0;
        bool yesNo = false;
        QString filter; // file dialogs
    };

    void message(QWidget* owner, const QString& title, const QString& text, Icon icon, int autoCloseMs) override;
    bool question(QWidget* owner, const QString& title, const QString& text, Icon icon) override;
    std::optional<QString> inputText(QWidget* owner, const QString& title, const QString& prompt,
                                     const QString& defaultText) override;
    std::optional<QString> secretText(QWidget* owner, const QString& title, const QString& prompt) override;
    QString openFileName(QWidget* owner, const QString& title, const QString& folder, const QString& filter) override;
    QString saveFileName(QWidget* owner, const QString& title, const QString& suggestedPath,
                         const QString& filter) override;
    void beep() override;

    // Answers, used in order. A question with no queued answer answers No; an input box with
    // none is cancelled; a file dialog with none is cancelled.
    QQueue<bool> questionAnswers;
    QQueue<std::optional<QString>> inputAnswers;
    QQueue<std::optional<QString>> secretAnswers; // hidden input boxes (passphrases)
    QQueue<QString> fileAnswers;
    // Called while a message box is "open" (after it is recorded), e.g. to check the screen.
    std::function<void(const Shown&)> onMessage;

    QList<Shown> shown;
    int beeps = 0;

    void clear();
    QList<Shown> messages() const; // message boxes only
    std::optional<Shown> lastMessage() const;
    QStringList messageTexts() const;
};
