#include "group/group_members.h"
#include "store/connection.h"
#include "store/row_models.h"
#include "store/schema.h"

#include <QHash>

namespace group {

store::Result ReadGroupMembers(const QString& examineeFilePath, const QStringList& codes,
                               QList<examinees::ExamineeRecord>& members)
{
    members.clear();
    store::Connection file(examineeFilePath);
    const QString code = QStringLiteral("Code");

    QHash<QString, examinees::ExamineeRecord> identities;
    identities.reserve(codes.size());
    store::Result r = store::ReadRowsWithKeys(file, QStringLiteral("IDE"), examinees::RecordColumns(), code, codes,
                                              [&](const QStringList& v) {
                                                  // The code is unique; the first row counts. One
                                                  // lookup each: a clinic's workbook reads 100,000.
                                                  examinees::ExamineeRecord& slot = identities[v.at(0)];
                                                  if (slot.code.isNull())
                                                      slot = examinees::RecordOfValues(v);
                                              });
    if (!r)
        return r;

    QStringList answerCodes;
    answerCodes.reserve(codes.size());
    for (const QString& c : codes)
        answerCodes << c.trimmed();
    QHash<QString, QStringList> responses;
    responses.reserve(codes.size());
    r = store::ReadRowsWithKeys(file, QStringLiteral("Answer"), QStringList{code} + store::itemColumns(), code,
                                answerCodes, [&](const QStringList& v) {
                                    QStringList& slot = responses[v.at(0)]; // 71 items once filled
                                    if (slot.isEmpty())
                                        slot = v.mid(1);
                                });
    if (!r)
        return r;

    members.reserve(codes.size());
    for (const QString& c : codes) {
        // Taken out when listed, so a code given twice is listed once.
        const auto it = identities.find(c);
        if (it == identities.end())
            continue;
        examinees::ExamineeRecord m = std::move(*it);
        identities.erase(it);
        if (const auto answers = responses.constFind(c.trimmed()); answers != responses.constEnd())
            m.responses = *answers;
        members << std::move(m);
    }
    return store::Result::success();
}

} // namespace group
