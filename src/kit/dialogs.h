#pragma once
// Every message box, question, input box, file dialog and beep goes through this seam.
// The product shows real Qt dialogs; tests script the answers and record what was shown.
#include <QString>
#include <optional>

class QWidget;

class Dialogs {
public:
    enum class Icon { None, Information, Warning, Critical, Question };

    virtual ~Dialogs() = default;

    // A box with an OK button. Only a box titled "پيام" with a delay closes by itself after it,
    // as if OK had been pressed; every other box stays until the user closes it.
    virtual void message(QWidget* owner, const QString& title, const QString& text,
                         Icon icon = Icon::None, int autoCloseMs = 0) = 0;
    // Yes/No; true for Yes.
    virtual bool question(QWidget* owner, const QString& title, const QString& text,
                          Icon icon = Icon::None) = 0;
    // std::nullopt when cancelled.
    virtual std::optional<QString> inputText(QWidget* owner, const QString& title, const QString& prompt,
                                             const QString& defaultText = {}) = 0;
    // An input box whose text is hidden as it is typed (a passphrase); std::nullopt when cancelled.
    virtual std::optional<QString> secretText(QWidget* owner, const QString& title, const QString& prompt) = 0;
    // Empty when cancelled.
    virtual QString openFileName(QWidget* owner, const QString& title, const QString& folder,
                                 const QString& filter) = 0;
    virtual QString saveFileName(QWidget* owner, const QString& title, const QString& suggestedPath,
                                 const QString& filter) = 0;
    virtual void beep() = 0;
};

// Titles of the system's message boxes.
namespace titles {
inline const QString kMessage = QStringLiteral("پيام");
inline const QString kAttention = QStringLiteral("توجه");
inline const QString kError = QStringLiteral("خطا");
inline const QString kWarning = QStringLiteral("هشدار");
inline const QString kWarnnig = QStringLiteral("Warnnig");
} // namespace titles

// How long the auto-closing messages stay: the usual second, a longer one for a message that
// asks for an action first, a shorter one for a passing notice.
constexpr int kMessageDelayMs = 1000;
constexpr int kLongMessageDelayMs = 2000;
constexpr int kShortMessageDelayMs = 600;

// A failure told in a box (titled "خطا" unless a screen has its own title): first what failed, in the user's words, then on a line
// of its own the detail (often the data store's own English error), so that the detail never
// stands alone or runs into the Persian sentence. An empty detail leaves the sentence alone.
void ReportFailure(Dialogs& dialogs, QWidget* owner, const QString& what, const QString& detail = {},
                   Dialogs::Icon icon = Dialogs::Icon::Critical, const QString& title = titles::kError);

// The auto-closing message every screen uses: titled "پيام", OK only, no icon,
// closed by itself after the delay.
void ShowAutoClosingMessage(Dialogs& dialogs, QWidget* owner, const QString& text, int delayMs = kMessageDelayMs);
