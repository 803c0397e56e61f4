#include "maintenance/replace_file.h"
#include "store/private_files.h"

namespace maintenance {

QString PartFileName(const QString& target)
{
    return store::PartFileName(target);
}

QString ReplaceFile(const QString& from, const QString& to)
{
    return store::ReplaceFileDurably(from, to);
}

} // namespace maintenance
