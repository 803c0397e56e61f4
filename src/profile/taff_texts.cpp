#include "profile/taff_texts.h"
#include "store/row_models.h"

namespace profile {

store::Result TaffTexts::read(store::Connection& normsFile)
{
    rows_.clear();
    QStringList columns;
    QVector<QStringList> values;
    if (store::Result r = store::ReadWholeTable(normsFile, QStringLiteral("Taff"), columns, values); !r)
        return r;
    const auto field = [&columns](const char* name) {
        for (int i = 0; i < columns.size(); ++i)
            if (columns.at(i).compare(QLatin1String(name), Qt::CaseInsensitive) == 0)
                return i;
        return -1;
    };
    const int id = field("id"), topp = field("Topp"), medium = field("Mediumm"), down = field("Downn");
    if (id < 0 || topp < 0 || medium < 0 || down < 0)
        return store::Result::failure(QStringLiteral("Taff: a column of the texts is missing"));
    for (const QStringList& row : values)
        if (!rows_.contains(row.at(id)))
            rows_.insert(row.at(id), TaffRow{row.at(topp), row.at(medium), row.at(down)});
    return store::Result::success();
}

TaffLookup TaffTexts::lookup() const
{
    return [this](const QString& id) -> std::optional<TaffRow> {
        const auto it = rows_.constFind(id);
        return it == rows_.constEnd() ? std::nullopt : std::optional<TaffRow>(*it);
    };
}

} // namespace profile
