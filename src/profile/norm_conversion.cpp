#include "profile/norm_conversion.h"
#include "examinees/identity.h"
#include "store/schema.h"
#include "store/view.h"

namespace profile {

bool SameNormGroupText(const QString& a, const QString& b)
{
    // Texts typed elsewhere often carry the Persian yeh and kaf where the program's own carry
    // the Arabic ones (or the other way round): they name the same group.
    auto folded = [](QString t) {
        t.replace(QChar(0x06CC), QChar(0x064A)).replace(QChar(0x06A9), QChar(0x0643));
        return t;
    };
    return folded(a) == folded(b);
}

QString SelectNormTable(const QString& sex, const QString& education)
{
    const bool male = SameNormGroupText(sex, examinees::kMale);
    const bool female = SameNormGroupText(sex, examinees::kFemale);
    const bool university = SameNormGroupText(education, examinees::kUniversity);
    const bool diploma = SameNormGroupText(education, examinees::kDiplomaOrLess);
    const QStringList& tables = NormTableNames();
    if (male && university)
        return tables.at(0);
    if (male && diploma)
        return tables.at(1);
    if (female && university)
        return tables.at(2);
    if (female && diploma)
        return tables.at(3);
    return {};
}

const QStringList& NormTableNames()
{
    static const QStringList names{QStringLiteral("EvabaliniDJMIR"), QStringLiteral("EvabaliniDAMIR"),
                                   QStringLiteral("EvabaliniDJFMIR"), QStringLiteral("EvabaliniDAFMIR")};
    return names;
}

QStringList ConvertToTScores(const QStringList& rawRow, const NormLookup& lookup)
{
    const int scales = store::kScaleCount;
    QStringList t;
    t.reserve(scales);
    for (int i = 0; i < scales; ++i) {
        const QString raw = i < rawRow.size() ? rawRow.at(i) : QString();
        const std::optional<QStringList> row = lookup ? lookup(raw) : std::nullopt;
        t << (row && i < row->size() ? row->at(i) : QString());
    }
    return t;
}

NormSource::NormSource(QString normsFilePath)
    : path_(std::move(normsFilePath))
{
}

NormSource::~NormSource() = default;

void NormSource::clear()
{
    view_.reset();
}

store::Result NormSource::select(const QString& tableName)
{
    if (tableName.isEmpty())
        return store::Result::success();
    auto view = std::make_unique<store::View>(path_, tableName);
    store::Result r = view->refresh();
    if (r) {
        // A table without every scale field is not a norm table.
        const QStringList columns = view->columns();
        for (const QString& field : QStringList{QStringLiteral("KHam")} + store::normColumns()) {
            if (!columns.contains(field, Qt::CaseInsensitive)) {
                r = store::Result::failure(QStringLiteral("%1 has no column %2").arg(tableName, field));
                break;
            }
        }
    }
    if (!r) {
        view_.reset();
        lastError_ = r.error;
        return r;
    }
    view_ = std::move(view);
    return r;
}

bool NormSource::isSelected() const
{
    return view_ != nullptr;
}

QString NormSource::tableName() const
{
    return view_ ? view_->table() : QString();
}

std::optional<QStringList> NormSource::row(const QString& rawText)
{
    if (!view_)
        return std::nullopt;
    if (store::Result r = view_->setFilter(QStringLiteral("KHam"), rawText); !r) {
        lastError_ = r.error;
        return std::nullopt;
    }
    if (!view_->hasCurrent())
        return std::nullopt;
    QStringList values;
    for (const QString& field : store::normColumns())
        values << view_->value(field);
    return values;
}

NormLookup NormSource::lookup()
{
    return [this](const QString& rawText) { return row(rawText); };
}

} // namespace profile
