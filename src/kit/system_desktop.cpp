#include "kit/system_desktop.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QProcess>

bool SystemDesktop::openUrl(const QUrl& url)
{
    return QDesktopServices::openUrl(url);
}

bool SystemDesktop::openFile(const QString& path)
{
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

bool SystemDesktop::startProgram(const QString& program, const QStringList& arguments)
{
    return QProcess::startDetached(program, arguments);
}

void SystemDesktop::endProgram(int exitCode)
{
    QCoreApplication::exit(exitCode);
}
