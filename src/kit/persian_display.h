#pragma once
class QApplication;

// Right-to-left layout, labels that show plain text only, a Persian interface font, the report's Persian faces substituted by
// installed ones, and Qt's own Persian translation for standard buttons and dialogs.
void ConfigurePersianDisplay(QApplication& app);
