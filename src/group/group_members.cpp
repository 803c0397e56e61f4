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
                                                  if (identities.contains(v.at(0)))
                                                      return; // the code is unique; the first row counts
                                                  identities.insert(v.at(0), examinees::RecordOfValues(v));
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
                                    if (!responses.contains(v.at(0)))
                                        responses.insert(v.at(0), v.mid(1));
                                });
    if (!r)
        return r;

    members.reserve(codes.size());
    QSet<QString> listed;
    for (const QString& c : codes) {
        const auto it = identities.constFind(c);
        if (it == identities.constEnd() || listed.contains(c))
            continue;
        listed.insert(c);
        examinees::ExamineeRecord m = *it;
        if (const auto answers = responses.constFind(c.trimmed()); answers != responses.constEnd())
            m.responses = *answers;
        members << m;
    }
    return store::Result::success();
}

} // namespace group
