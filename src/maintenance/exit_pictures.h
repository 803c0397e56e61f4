#pragma once
// The four pictures of the exit screen's buttons, drawn rather than loaded.
#include <QPixmap>
#include <QSize>

namespace maintenance {

enum class ExitPicture { Confirm, Cancel };

QPixmap DrawExitPicture(ExitPicture which, bool highlighted, const QSize& size);

} // namespace maintenance
