#include "kit/digit_filter.h"
#include "kit/app_context.h"
#include "kit/texts.h"

#include <QClipboard>
#include <QDropEvent>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QRegularExpressionValidator>

namespace {

// A typed character the field may not take: anything printable that is not a Latin digit.
// Keys without text (arrows, Delete, Home) and control characters (Backspace, Enter, the
// clipboard chords) are left to the field; the validator guards what they insert.
bool isRefusedText(const QString& text)
{
    for (const QChar c : text) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            continue;
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return true;
    }
    return false;
}

} // namespace

DigitFilter::DigitFilter(QLineEdit* field, AppContext& ctx)
    : QObject(field)
    , field_(field)
    , ctx_(ctx)
{
    field->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), field));
    // The validator is the last guard (a paste from the context menu is refused silently);
    // the event filter gives the notice for what arrives by keyboard, input method or drop.
    field->installEventFilter(this);
}

DigitFilter* DigitFilter::install(QLineEdit* field, AppContext& ctx)
{
    return new DigitFilter(field, ctx);
}

bool DigitFilter::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != field_)
        return QObject::eventFilter(watched, event);
    bool refused = false;
    switch (event->type()) {
    case QEvent::KeyPress: {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->matches(QKeySequence::Paste))
            refused = isRefusedText(QGuiApplication::clipboard()->text());
        else if (!(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)))
            refused = isRefusedText(key->text()); // a chord is a command, not a typed character
        break;
    }
    case QEvent::InputMethod:
        refused = isRefusedText(static_cast<QInputMethodEvent*>(event)->commitString());
        break;
    case QEvent::Drop: {
        const QMimeData* data = static_cast<QDropEvent*>(event)->mimeData();
        refused = data && isRefusedText(data->text());
        break;
    }
    default:
        break;
    }
    if (refused) {
        refuse();
        return true;
    }
    return QObject::eventFilter(watched, event);
}

void DigitFilter::refuse()
{
    ctx_.dialogs().beep();
    ShowAutoClosingMessage(ctx_.dialogs(), field_->window(), texts::kMustEnterNumber);
}
