#include "kit/dialogs.h"

void ShowAutoClosingMessage(Dialogs& dialogs, QWidget* owner, const QString& text, int delayMs)
{
    dialogs.message(owner, titles::kMessage, text, Dialogs::Icon::None, delayMs);
}

void ReportFailure(Dialogs& dialogs, QWidget* owner, const QString& what, const QString& detail, Dialogs::Icon icon,
                   const QString& title)
{
    // A left-to-right mark opens the detail: an English message starting with a table name or a
    // quote keeps its own order inside the right-to-left box.
    const QString text = detail.isEmpty() ? what : what + QLatin1Char('\n') + QChar(0x200E) + detail;
    dialogs.message(owner, title, text, icon);
}
