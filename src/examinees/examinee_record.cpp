#include "examinees/examinee_record.h"
#include "store/schema.h"
#include "store/view.h"

namespace examinees {

const QStringList& RecordColumns()
{
    static const QStringList columns{QStringLiteral("Code"),   QStringLiteral("FName"), QStringLiteral("LName"),
                                     QStringLiteral("Jens"),   QStringLiteral("Sen"),   QStringLiteral("Taahol"),
                                     QStringLiteral("Tahsil"), QStringLiteral("Group"), QStringLiteral("Date"),
                                     QStringLiteral("Time"),   QStringLiteral("TT1")};
    return columns;
}

ExamineeRecord RecordOfValues(const QStringList& v)
{
    ExamineeRecord r;
    QString* fields[] = {&r.code, &r.givenName, &r.familyName, &r.sex,  &r.age,           &r.maritalStatus,
                         &r.education, &r.group, &r.date,      &r.time, &r.interpretation};
    for (int i = 0; i < int(std::size(fields)) && i < v.size(); ++i)
        *fields[i] = v.at(i);
    return r;
}

ExamineeRecord RecordOfRows(const store::View& ide, const store::View& answer)
{
    QStringList values;
    if (ide.hasCurrent()) {
        for (const QString& column : RecordColumns())
            values << ide.value(column);
    }
    ExamineeRecord r = RecordOfValues(values);
    if (answer.hasCurrent()) {
        QStringList responses;
        responses.reserve(store::kItemCount);
        for (int item = 1; item <= store::kItemCount; ++item)
            responses << answer.value(QString::number(item));
        r.responses = responses;
    }
    return r;
}

} // namespace examinees
