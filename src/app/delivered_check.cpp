#include "app/delivered_check.h"
#include "profile/interpretation_text.h"
#include "profile/norm_conversion.h"
#include "scoring/scoring_key.h"
#include "store/data_files.h"
#include "store/schema.h"
#include "store/connection.h"
#include "store/row_models.h"

#include <QHash>
#include <QRegularExpression>

namespace startup {

namespace {

// The rows of a table keyed by the text of one column; a row's texts by lower-case column name.
// Built once per start for every delivered table: the names are looked up once, not per row.
struct Rows {
    QHash<QString, int> columns;
    QHash<QString, QStringList> byKey;

    bool isEmpty() const { return byKey.isEmpty(); }
    bool contains(const QString& key) const { return byKey.contains(key); }
    QString value(const QString& key, const QString& column) const
    {
        const auto row = byKey.constFind(key);
        const int i = columns.value(column.toLower(), -1);
        return row == byKey.constEnd() || i < 0 ? QString() : row->value(i);
    }
};

// One query a table on the file's one connection: this runs at every start.
QString readRows(store::Connection& file, const QString& table, const QString& key, Rows& rows)
{
    QStringList columns;
    QVector<QStringList> values;
    if (const store::Result r = store::ReadWholeTable(file, table, columns, values); !r)
        return QStringLiteral("جدول %1 خوانده نشد: %2").arg(table, r.error);
    int keyField = -1;
    for (int i = 0; i < columns.size(); ++i) {
        rows.columns.insert(columns.at(i).toLower(), i);
        if (keyField < 0 && columns.at(i).compare(key, Qt::CaseInsensitive) == 0)
            keyField = i;
    }
    for (QStringList& v : values) {
        const QString k = keyField >= 0 ? v.at(keyField).trimmed() : QString();
        rows.byKey.insert(k, std::move(v));
    }
    return {};
}

QString checkItems(store::Connection& file)
{
    Rows rows;
    if (QString e = readRows(file, QStringLiteral("QUS"), QStringLiteral("ID"), rows); !e.isEmpty())
        return e;
    for (int item = 1; item <= store::kItemCount; ++item) {
        if (rows.value(QString::number(item), QStringLiteral("qu")).trimmed().isEmpty())
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
        for (int s = 0; s < store::kScaleCount; ++s) {
            if (raw > key[std::size_t(s)].maximum())
                continue;
            const QString t = rows.value(QString::number(raw), columns.at(s));
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
    for (const auto& [id, column] : profile::TaffFieldsRead()) {
        if (!rows.contains(id))
            return QStringLiteral("جدول Taff، رديف %1: نيست.").arg(id);
        if (rows.value(id, column).trimmed().isEmpty())
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
    for (const QString& table : profile::NormTableNames())
        note(table, checkNormTable(norms, table));
    note(QStringLiteral("Taff"), checkTaff(norms));
    return problems;
}

} // namespace startup
