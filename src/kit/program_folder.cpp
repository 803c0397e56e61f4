#include "kit/program_folder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

// The folder stands on a line of its own: a Latin path inside a right-to-left sentence is hard to read.
const QString kIsAFile = QStringLiteral("پوشه برنامه يك فايل است، نه پوشه:\n%1\nبرنامه بسته مي شود.");
const QString kNotCreated = QStringLiteral("پوشه برنامه ساخته نشد:\n%1\nبرنامه بسته مي شود.");
const QString kNotWritable = QStringLiteral("در پوشه برنامه نمي توان نوشت:\n%1\nبرنامه بسته مي شود.");

QString expandHome(const QString& path)
{
    if (path == QLatin1String("~"))
        return QDir::homePath();
    if (path.startsWith(QLatin1String("~/")))
        return QDir::homePath() + path.mid(1);
    return path;
}

} // namespace

ProgramFolderChoice ChooseProgramFolder(const QString& variableValue, const QString& executableFolder)
{
    const QString named = variableValue.isEmpty() ? executableFolder : expandHome(variableValue);
    ProgramFolderChoice choice;
    choice.folder = QDir::cleanPath(QDir(named).absolutePath());

    const QFileInfo info(choice.folder);
    if (info.exists() && !info.isDir()) {
        choice.refusal = kIsAFile.arg(QDir::toNativeSeparators(choice.folder));
        return choice;
    }
    if (!info.exists()) {
        if (!QDir().mkpath(choice.folder)) {
            choice.refusal = kNotCreated.arg(QDir::toNativeSeparators(choice.folder));
            return choice;
        }
        // It will hold the clinic's records: the user's alone.
        QFile::setPermissions(choice.folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    // Checked now rather than at the first save: every file and the single-copy lock live here.
    if (!QFileInfo(choice.folder).isWritable())
        choice.refusal = kNotWritable.arg(QDir::toNativeSeparators(choice.folder));
    return choice;
}
