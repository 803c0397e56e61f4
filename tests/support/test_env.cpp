#include "support/test_env.h"
#include "store/data_files.h"
#include "store/schema.h"
#include "store/view.h"

#include <QFontDatabase>
#include <QSqlDatabase>
#include <QSqlQuery>

TestEnv::TestEnv(bool seeded)
    : ctx(dir_.path(), dialogs, clock, desktop)
{
    if (seeded) {
        const store::PrepareOutcome r = store::PrepareProgramFolder(dir_.path());
        if (!r.ok)
            seedError_ = r.fileName + QStringLiteral(": ") + r.error;
    }
}

namespace testing_support {

bool addExaminee(const QString& folder, const QString& code, const QStringList& responses,
                 const QHash<QString, QString>& identity)
{
    const QString file = store::DataFilePath(folder, QStringLiteral("Tavora71.mdb"));
    store::View ide(file, QStringLiteral("IDE"));
    store::View answer(file, QStringLiteral("Answer"));
    if (!ide.refresh() || !answer.refresh())
        return false;
    ide.addNew();
    (void)ide.setValue(QStringLiteral("Code"), code);
    for (auto it = identity.begin(); it != identity.end(); ++it)
        (void)ide.setValue(it.key(), it.value());
    answer.addNew();
    (void)answer.setValue(QStringLiteral("Code"), code.trimmed());
    for (int i = 0; i < responses.size() && i < store::kItemCount; ++i)
        (void)answer.setValue(QString::number(i + 1), responses.at(i));
    return ide.update().ok && answer.update().ok;
}

bool execSql(const QString& file, const QStringList& statements)
{
    bool ok = true;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("outside"));
        db.setDatabaseName(file);
        ok = db.open();
        for (const QString& sql : statements)
            ok = ok && QSqlQuery(db).exec(sql);
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("outside"));
    return ok;
}

} // namespace testing_support

namespace testing_support {

bool persianFontsInstalled()
{
    const QStringList families = QFontDatabase::families();
    for (const char* face : {"Noto Sans Arabic", "Noto Naskh Arabic", "Nazli", "Titr"}) {
        if (!families.contains(QString::fromLatin1(face)))
            return false;
    }
    return true;
}

} // namespace testing_support
