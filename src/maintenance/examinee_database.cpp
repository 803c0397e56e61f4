#include "maintenance/examinee_database.h"
#include "store/data_files.h"
#include "store/database_checks.h"
#include "store/schema.h"

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
    const store::Result r = store::ReleaseDataFile(path);
    return r ? QString() : r.error;
}

} // namespace maintenance
