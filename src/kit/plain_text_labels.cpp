#include "kit/plain_text_labels.h"

#include <QEvent>
#include <QLabel>

bool PlainTextLabels::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Polish) {
        if (auto* label = qobject_cast<QLabel*>(watched); label && label->textFormat() != Qt::PlainText)
            label->setTextFormat(Qt::PlainText);
    }
    return QObject::eventFilter(watched, event);
}
