#pragma once
#include <QString>
#include <QStringList>
#include <QUrl>

// Services of the desktop: web addresses, files, programs, and ending this program.
class Desktop {
public:
    virtual ~Desktop() = default;
    virtual bool openUrl(const QUrl& url) = 0;
    virtual bool openFile(const QString& path) = 0;
    virtual bool startProgram(const QString& program, const QStringList& arguments = {}) = 0;
    // Ends the program in order: the event loop returns with this code.
    virtual void endProgram(int exitCode = 0) = 0;
};
