#pragma once
// Names and texts of the backup screen.
#include <QDateTime>
#include <QString>

namespace maintenance {

inline const QString kBackupFolder = QStringLiteral("Back");

// The time as the screen shows it: hour of the 24-hour clock without a leading zero, ".",
// two-digit minutes ("9.05", "14.30").
QString BackupTimeText(const QTime& time);
// The proposed backup file name, for example "Tavora71در تاريخ1401.5.30 ساعت)10.30).mdbB".
QString ProposedBackupName(const QDate& date, const QTime& time);
// A path in folder for that name that names no existing file: the name itself, or the name
// with " (2)", " (3)", … before its extension.
QString FreeBackupPath(const QString& folder, const QString& name);

} // namespace maintenance
