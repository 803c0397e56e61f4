#include "profile/group_members.h"
#include "store/connection.h"
#include "store/row_models.h"
#include "store/schema.h"

#include <QHash>

namespace profile {

store::Result ReadGroupMembers(const QString& examineeFilePath, const QStringList& codes, QList<GroupMember>& members)
{
    members.clear();
    store::Connection file(examineeFilePath);
    const QString code = QStringLiteral("Code");

    QHash<QString, GroupMember> identities;
    identities.reserve(codes.size());
    const QStringList identityColumns{code,
                                      QStringLiteral("FName"),
                                      QStringLiteral("LName"),
                                      QStringLiteral("Group"),
                                      QStringLiteral("Jens"),
                                      QStringLiteral("Sen"),
                                      QStringLiteral("Taahol"),
                                      QStringLiteral("Tahsil"),
                                      QStringLiteral("Date"),
                                      QStringLiteral("Time"),
                                      QStringLiteral("TT1")};
    store::Result r = store::ReadRowsWithKeys(file, QStringLiteral("IDE"), identityColumns, code, codes,
                                              [&](const QStringList& v) {
                                                  if (identities.contains(v.at(0)))
                                                      return; // the code is unique; the first row counts
                                                  identities.insert(v.at(0), {v.at(0), v.at(1), v.at(2), v.at(3),
                                                                              v.at(4), v.at(5), v.at(6), v.at(7),
                                                                              v.at(8), v.at(9), v.at(10), {}});
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
        GroupMember m = *it;
        if (const auto answers = responses.constFind(c.trimmed()); answers != responses.constEnd())
            m.responses = *answers;
        members << m;
    }
    return store::Result::success();
}

} // namespace profile
