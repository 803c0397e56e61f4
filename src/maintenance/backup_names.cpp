#include "maintenance/backup_names.h"
#include "calendar/solar_hijri.h"
#include "maintenance/maintenance_texts.h"

#include <QDir>
#include <QFileInfo>

namespace maintenance {

namespace {
const QString kBackupExtension = QStringLiteral(".mdbB");
}

QString BackupTimeText(const QTime& time)
{
    return QString::number(time.hour()) + QLatin1Char('.') + QStringLiteral("%1").arg(time.minute(), 2, 10, QLatin1Char('0'));
}

QString ProposedBackupName(const QDate& date, const QTime& time)
{
    return texts::kBackupNameStart + texts::kBackupNameOnDate + ToSolarHijri(date, 4) + texts::kBackupNameHour
           + BackupTimeText(time) + QLatin1Char(')') + kBackupExtension;
}

QString FreeBackupPath(const QString& folder, const QString& name)
{
    const QDir dir(folder);
    QString path = dir.filePath(name);
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    const QString stem = dot > 0 ? name.left(dot) : name;
    const QString extension = dot > 0 ? name.mid(dot) : QString();
    for (int n = 2; QFileInfo::exists(path); ++n)
        path = dir.filePath(QStringLiteral("%1 (%2)%3").arg(stem, QString::number(n), extension));
    return path;
}

} // namespace maintenance
