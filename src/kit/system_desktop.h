#pragma once
#include "kit/desktop.h"

// The desktop's own services (QDesktopServices, QProcess).
class SystemDesktop final : public Desktop {
public:
    bool openUrl(const QUrl& url) override;
    bool openFile(const QString& path) override;
    bool startProgram(const QString& program, const QStringList& arguments) override;
    void endProgram(int exitCode) override;
};
