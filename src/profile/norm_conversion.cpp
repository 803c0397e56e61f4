#include "profile/norm_conversion.h"
#include "examinees/identity.h"
#include "norms/norm_library.h"
#include "profile/profile_screen_texts.h"
#include "store/connection.h"
#include "store/row_models.h"
#include "store/schema.h"

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

namespace {

// n for a text that is exactly QString::number(n) with n below limit, else -1.
int plainNumber(const QString& text, qsizetype limit)
{
    if (text.isEmpty() || text.size() > 4 || (text.size() > 1 && text.front() == QLatin1Char('0')))
        return -1;
    int n = 0;
    for (const QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return -1;
        n = n * 10 + (c.unicode() - '0');
    }
    return n < limit ? n : -1;
}

} // namespace

const QStringList* NormTable::row(const QString& rawText) const
{
    if (const int n = plainNumber(rawText, byNumber_.size()); n >= 0)
        return byNumber_.at(n).isEmpty() ? nullptr : &byNumber_.at(n);
    const auto it = rows.constFind(rawText);
    return it == rows.constEnd() ? nullptr : &*it;
}

void NormTable::indexNumbers()
{
    byNumber_.clear();
    byNumber_.resize(norms::HighestRawScore() + 1);
    for (auto it = rows.cbegin(); it != rows.cend(); ++it)
        if (const int n = plainNumber(it.key(), byNumber_.size()); n >= 0)
            byNumber_[n] = *it;
}

store::Result ReadNormTable(store::Connection& normsFile, const QString& name, NormTable& table)
{
    table = {};
    NormTable read;
    read.name = name;
    const QStringList columns = QStringList{QStringLiteral("KHam")} + store::normColumns();
    const store::Result r = store::ReadAllRows(normsFile, name, columns, [&read](const QStringList& values) {
        // The first row of a raw score counts, as a lookup by it would find.
        if (!read.rows.contains(values.at(0)))
            read.rows.insert(values.at(0), values.mid(1));
    });
    if (!r)
        return r;
    read.indexNumbers();
    norms::NormValues values;
    for (int raw = 0; raw <= norms::HighestRawScore(); ++raw) {
        const QStringList* row = read.row(QString::number(raw));
        values << (row ? *row : QStringList(store::kScaleCount, QString()));
    }
    if (store::Result described = norms::DescribeNormTable(normsFile, name, values, read.description); !described)
        return described;
    table = std::move(read);
    return store::Result::success();
}

QStringList ConvertToTScores(const QStringList& rawRow, const NormTable& table)
{
    QStringList t;
    t.reserve(store::kScaleCount);
    for (int i = 0; i < store::kScaleCount; ++i) {
        const QStringList* row = table.row(i < rawRow.size() ? rawRow.at(i) : QString());
        t << (row && i < row->size() ? row->at(i) : QString());
    }
    return t;
}

QStringList ConvertToTScores(const QStringList& rawRow, const NormLookup& lookup)
{
    QStringList t;
    t.reserve(store::kScaleCount);
    for (int i = 0; i < store::kScaleCount; ++i) {
        const QString raw = i < rawRow.size() ? rawRow.at(i) : QString();
        const std::optional<QStringList> row = lookup ? lookup(raw) : std::nullopt;
        t << (row && i < row->size() ? row->at(i) : QString());
    }
    return t;
}

NormTableCache::NormTableCache(QString normsFilePath, std::function<QString(const QString&)> damaged)
    : path_(std::move(normsFilePath))
    , damaged_(std::move(damaged))
{
}

NormTableCache::~NormTableCache() = default;

void NormTableCache::clear()
{
    entries_.clear();
    readError_.clear();
}

NormChoice NormTableCache::choose(const QString& table)
{
    std::shared_ptr<Entry>& entry = entries_[table];
    if (!entry) {
        entry = std::make_shared<Entry>();
        if (const QString why = damaged_ ? damaged_(table) : QString(); !why.isEmpty()) {
            entry->problem = why;
        } else {
            if (!file_)
                file_ = std::make_unique<store::Connection>(path_);
            if (const store::Result r = ReadNormTable(*file_, table, entry->table); !r) {
                entry->problem = screen_texts::kNormTableUnreadable;
                if (readError_.isEmpty())
                    readError_ = table + QStringLiteral(": ") + r.error;
            }
        }
    }
    if (!entry->problem.isEmpty())
        return {nullptr, entry->problem};
    return {&entry->table, {}};
}

NormTables NormTableCache::tables()
{
    return [this](const QString& table) { return choose(table); };
}

} // namespace profile
