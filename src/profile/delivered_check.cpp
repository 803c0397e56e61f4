#include "profile/delivered_check.h"
#include "profile/interpretation_text.h"
#include "profile/norm_conversion.h"
#include "scoring/scoring_key.h"
#include "store/data_files.h"
#include "store/schema.h"
#include "store/view.h"

#include <QRegularExpression>

namespace profile {

namespace {

// The rows of a table as column -> text, keyed by the text of one column.
using Rows = QMap<QString, QMap<QString, QString>>;

QString readRows(const QString& file, const QString& table, const QString& key, Rows& rows)
{
    store::View v(file, table);
    store::Result r = v.refresh();
    for (; r && v.hasCurrent(); r = v.moveNext()) {
        QMap<QString, QString> row;
        for (const QString& column : v.columns())
            row.insert(column.toLower(), v.value(column));
        rows.insert(v.value(key).trimmed(), row);
    }
    return r ? QString() : QStringLiteral("جدول %1 خوانده نشد: %2").arg(table, r.error);
}

QString checkItems(const QString& file)
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

QString checkSettings(const QString& file)
{
    store::View v(file, QStringLiteral("Theme"));
    bool any = false;
    store::Result r = v.refresh();
    if (r)
        r = v.anyRow(any);
    if (!r)
        return QStringLiteral("جدول Theme خوانده نشد: %1").arg(r.error);
    return any ? QString() : QStringLiteral("جدول Theme: رديف تنظيمات کلينيک نيست.");
}

QString checkNormTable(const QString& file, const QString& table)
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

QString checkTaff(const QString& file)
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
    const QString examinees = store::DataFilePath(programFolder, store::kExamineeFile);
    const QString settings = store::DataFilePath(programFolder, store::kSettingsFile);
    const QString norms = store::DataFilePath(programFolder, store::kNormsFile);
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
