#include "phone/stored_answers.h"
#include "store/examinee_rows.h"
#include "store/schema.h"

#include <QDir>

namespace phone {

namespace {

QStringList rowResponses(const store::View& answers)
{
    QStringList responses;
    for (int item = 1; item <= store::kItemCount; ++item)
        responses << answers.value(QString::number(item));
    return responses;
}

store::Result noRow(const QString& table, const QString& code)
{
    return store::Result::failure(QStringLiteral("%1: no row for code %2").arg(table, code));
}

} // namespace

StoredAnswers::StoredAnswers(const QString& programFolder)
    : examineeFile_(std::make_shared<store::Connection>(QDir(programFolder).filePath(store::kExamineeFile)))
    , settingsFile_(std::make_shared<store::Connection>(QDir(programFolder).filePath(store::kSettingsFile)))
    , answers_(examineeFile_, QStringLiteral("Answer"))
    , identities_(examineeFile_, QStringLiteral("IDE"))
    , items_(examineeFile_, QStringLiteral("QUS"), {QStringLiteral("ID"), QStringLiteral("QU")})
    , settings_(settingsFile_, QStringLiteral("Theme"))
{
}

store::Result StoredAnswers::readResponses(const QString& code, QStringList& responses)
{
    responses.clear();
    store::Result r = store::SelectByCode(answers_, code);
    if (r && !answers_.hasCurrent())
        r = noRow(answers_.table(), code);
    if (r)
        responses = rowResponses(answers_);
    return r;
}

store::Result StoredAnswers::readSheet(const QString& code, Sheet& sheet)
{
    sheet = Sheet{};
    store::Result r = readResponses(code, sheet.responses);
    if (r)
        r = store::SelectByCode(identities_, code);
    if (r && !identities_.hasCurrent())
        r = noRow(identities_.table(), code);
    if (r)
        sheet.firstName = identities_.value(QStringLiteral("FName"));
    if (r)
        r = settings_.refresh();
    if (r)
        sheet.clinic = settings_.value(QStringLiteral("Name"));
    QStringList ids, texts;
    if (r)
        r = items_.showAll();
    if (r)
        r = items_.valuesInView(QStringLiteral("ID"), ids);
    if (r)
        r = items_.valuesInView(QStringLiteral("QU"), texts);
    if (r) {
        sheet.items = QStringList(store::kItemCount, QString());
        // As the test screen finds an item: the row whose ID is the item's number (the first one).
        for (int i = int(ids.size()) - 1; i >= 0; --i) {
            const int item = ids.at(i).toInt();
            if (item >= 1 && item <= store::kItemCount && ids.at(i) == QString::number(item))
                sheet.items[item - 1] = texts.value(i);
        }
    }
    return r;
}

store::Result StoredAnswers::storeAnswer(const QString& code, int item, const QString& response, int& answered)
{
    answered = 0;
    // As the on-screen test: the examinee's Answer row, the item's column, then update. The
    // answer is his latest word on this one item, so a row another computer changed between the
    // read and the write is read again and the item set on it (its other answers stay).
    store::Result r;
    for (int attempt = 0; attempt < 3; ++attempt) {
        r = store::SelectByCode(answers_, code);
        if (r && !answers_.hasCurrent())
            r = noRow(answers_.table(), code);
        if (r)
            r = answers_.setValue(QString::number(item), response);
        if (r)
            r = answers_.update();
        if (r.kind != store::Failure::ChangedMeanwhile)
            break;
    }
    if (r)
        answered = AnsweredCount(rowResponses(answers_));
    return r;
}

} // namespace phone
