#include "kit/dialogs.h"

void ShowAutoClosingMessage(Dialogs& dialogs, QWidget* owner, const QString& text, int delayMs)
{
    dialogs.message(owner, titles::kMessage, text, Dialogs::Icon::None, delayMs);
}
