#include "profile/taff_texts.h"
#include "store/row_models.h"

namespace profile {

store::Result TaffTexts::read(store::Connection& normsFile, const QStringList& ids)
{
    rows_.clear();
    return store::ReadRowsWithKeys(normsFile, QStringLiteral("Taff"),
                                   {QStringLiteral("id"), QStringLiteral("Topp"), QStringLiteral("Mediumm"),
                                    QStringLiteral("Downn")},
                                   QStringLiteral("id"), ids, [this](const QStringList& row) {
                                       if (!rows_.contains(row.at(0)))
                                           rows_.insert(row.at(0), TaffRow{row.at(1), row.at(2), row.at(3)});
                                   });
}

TaffLookup TaffTexts::lookup() const
{
    return [this](const QString& id) -> std::optional<TaffRow> {
        const auto it = rows_.constFind(id);
        return it == rows_.constEnd() ? std::nullopt : std::optional<TaffRow>(*it);
    };
}

} // namespace profile
