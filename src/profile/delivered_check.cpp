#include "profile/delivered_check.h"
#include "profile/interpretation_text.h"
#include "profile/norm_conversion.h"
#include "scoring/scoring_key.h"
#include "store/data_files.h"
#include "store/schema.h"
#include "store/connection.h"

#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

namespace profile {

namespace {

// The rows of a table as column -> text, keyed by the text of one column.
using Rows = QMap<QString, QMap<QString, QString>>;

// One query a table on the file's one connection: this runs at every start.
QString readRows(store::Connection& file, const QString& table, const QString& key, Rows& rows)
{
    QString error;
    if (const store::Result r = file.open(); !r) {
        error = r.error;
    } else {
        QSqlQuery q(file.database());
        q.setForwardOnly(true);
        if (!q.exec(QStringLiteral("SELECT * FROM %1").arg(store::quoteIdentifier(table)))) {
            error = q.lastError().text();
        } else {
            const QSqlRecord columns = q.record();
            const int keyField = columns.indexOf(key);
            while (q.next()) {
                QMap<QString, QString> row;
                for (int i = 0; i < columns.count(); ++i)
                    row.insert(columns.fieldName(i).toLower(), q.value(i).toString());
                rows.insert(keyField >= 0 ? q.value(keyField).toString().trimmed() : QString(), row);
            }
        }
    }
    return error.isEmpty() ? QString() : QStringLiteral("جدول %1 خوانده نشد: %2").arg(table, error);
}

QString checkItems(store::Connection& file)
{
    Rows rows;
    if (QString e = readRows(file, QStringLiteral("QUS"), QStringLiteral("ID"), rows); !e.isEmpty())
        return e;
    for (int item = 1; item <= store::kItemCount; ++item) {
        if (rows.value(QString::number(item)).value(QStringLiteral("qu")).trimmed().isEmpty())
            return QStringLiteral("جدول QUS، سؤال %1: نيست يا متن ندارد.").arg(item);
    }
    return {};
}

QString checkSettings(store::Connection& file)
{
    Rows rows;
    if (QString e = readRows(file, QStringLiteral("Theme"), QStringLiteral("T11"), rows); !e.isEmpty())
        return e;
    return rows.isEmpty() ? QStringLiteral("جدول Theme: رديف تنظيمات کلينيک نيست.") : QString();
}

QString checkNormTable(store::Connection& file, const QString& table)
{
    Rows rows;
    if (QString e = readRows(file, table, QStringLiteral("KHam"), rows); !e.isEmpty())
        return e;
    static const QRegularExpression whole(QStringLiteral("^[0-9]{1,3}$"));
    const auto& key = scoring::ScoringKey();
    const QStringList columns = store::normColumns();
    int highest = 0;
    for (const scoring::KeyedScale& s : key)
        highest = std::max(highest, s.maximum());
    for (int raw = 0; raw <= highest; ++raw) {
        if (!rows.contains(QString::number(raw)))
            return QStringLiteral("جدول هنجار %1: رديف نمره خام %2 نيست.").arg(table).arg(raw);
        const QMap<QString, QString>& row = rows[QString::number(raw)];
        for (int s = 0; s < store::kScaleCount; ++s) {
            if (raw > key[std::size_t(s)].maximum())
                continue;
            const QString t = row.value(columns.at(s).toLower());
            if (!whole.match(t).hasMatch() || t.toInt() < kLowestT || t.toInt() > kHighestT)
                return QStringLiteral("جدول هنجار %1، نمره خام %2، مقياس %3: نمره T «%4» عدد صحيحي از %5 تا %6 نيست.")
                    .arg(table)
                    .arg(raw)
                    .arg(QString::fromLatin1(store::kScaleNames[std::size_t(s)]), t)
                    .arg(kLowestT)
                    .arg(kHighestT);
        }
    }
    return {};
}

QString checkTaff(store::Connection& file)
{
    Rows rows;
    if (QString e = readRows(file, QStringLiteral("Taff"), QStringLiteral("id"), rows); !e.isEmpty())
        return e;
    for (const auto& [id, column] : TaffFieldsRead()) {
        if (!rows.contains(id))
            return QStringLiteral("جدول Taff، رديف %1: نيست.").arg(id);
        if (rows[id].value(column.toLower()).trimmed().isEmpty())
            return QStringLiteral("جدول Taff، رديف %1: ستون %2 خالي است.").arg(id, column);
    }
    return {};
}

} // namespace

QMap<QString, QString> CheckDeliveredData(const QString& programFolder)
{
    store::Connection examinees(store::DataFilePath(programFolder, store::kExamineeFile));
    store::Connection settings(store::DataFilePath(programFolder, store::kSettingsFile));
    store::Connection norms(store::DataFilePath(programFolder, store::kNormsFile));
    QMap<QString, QString> problems;
    auto note = [&problems](const QString& table, const QString& problem) {
        if (!problem.isEmpty())
            problems.insert(table, problem);
    };
    note(QStringLiteral("QUS"), checkItems(examinees));
    note(QStringLiteral("Theme"), checkSettings(settings));
    for (const QString& table : NormTableNames())
        note(table, checkNormTable(norms, table));
    note(QStringLiteral("Taff"), checkTaff(norms));
    return problems;
}

} // namespace profile
