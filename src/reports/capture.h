#pragma once
class QWidget;
#include <QImage>

// A picture of the form as it looks now, rendered from the widget itself: never screen pixels,
// so a window lying on top of it can never end up in a report. Null when it cannot be made.
QImage CaptureFormImage(QWidget& form);
