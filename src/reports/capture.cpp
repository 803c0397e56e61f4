#include "reports/capture.h"

#include <QPixmap>
#include <QWidget>

QImage CaptureFormImage(QWidget& form)
{
    form.ensurePolished();
    if (form.size().isEmpty())
        return {};
    return form.grab().toImage();
}
