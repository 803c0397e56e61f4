#include "maintenance/examinee_database.h"
#include "store/connection.h"
#include "store/data_files.h"
#include "store/database_checks.h"
#include "store/schema.h"

#include <QFileInfo>
#include <QSqlQuery>

namespace maintenance {

QString CheckExamineeDatabase(const QString& path)
{
    const store::FileDef* file = store::findFile(store::kExamineeFile);
    if (!file)
        return QStringLiteral("the examinee database is not defined");
    const store::Result r = store::CheckForeignDatabase(path, *file);
    return r ? QString() : r.error;
}

QString RebuildExamineeDatabase(const QString& backup, const QString& fresh)
{
    const store::FileDef* file = store::findFile(store::kExamineeFile);
    if (!file)
        return QStringLiteral("the examinee database is not defined");
    const store::Result r = store::CopyIntoFreshDatabase(backup, fresh, *file);
    return r ? QString() : r.error;
}

QString ReleaseDatabaseFile(const QString& path)
{
    store::CloseConnectionsTo(path);
    // An empty journal is not an unfinished write.
    const QString journal = path + QStringLiteral("-journal");
    auto pending = [&journal] { return QFileInfo(journal).size() > 0; };
    if (!pending())
        return QString();
    {
        // Reading through a fresh connection rolls a hot journal back into the file.
        store::Connection settle(path);
        if (store::Result r = settle.open(); !r)
            return r.error;
        QSqlQuery q(settle.database());
        if (!q.exec(QStringLiteral("SELECT count(*) FROM sqlite_master")))
            return QStringLiteral("%1: the database cannot be read").arg(path);
    }
    if (pending())
        return QStringLiteral("%1: an unfinished write is still pending").arg(path);
    return QString();
}

} // namespace maintenance
