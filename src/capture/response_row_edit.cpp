#include "capture/response_row_edit.h"
#include "store/examinee_rows.h"
#include "store/schema.h"
#include "store/view.h"

namespace capture {

namespace {

QStringList rowResponses(const store::View& view)
{
    QStringList responses;
    for (int item = 1; item <= store::kItemCount; ++item)
        responses << view.value(QString::number(item));
    return responses;
}

QString shown(const QString& response)
{
    if (response == QLatin1String("1"))
        return QStringLiteral("بلي");
    if (response == QLatin1String("2"))
        return QStringLiteral("خير");
    if (response.isEmpty())
        return QStringLiteral("بي پاسخ");
    return response;
}

} // namespace

QVector<ChangedAnswer> ChangedMeanwhile(const QStringList& read, const QStringList& stored,
                                        const QMap<int, QString>& ours)
{
    QVector<ChangedAnswer> changed;
    for (auto it = ours.constBegin(); it != ours.constEnd(); ++it) {
        const QString before = read.value(it.key() - 1);
        const QString now = stored.value(it.key() - 1);
        if (now != before && now != it.value())
            changed.append({it.key(), now, it.value()});
    }
    return changed;
}

QString ChangedMeanwhileQuestion(const QVector<ChangedAnswer>& changed)
{
    QString text = QStringLiteral("از وقتي اين صفحه پاسخ ها را خواند، پاسخ اين سؤال ها جاي ديگري "
                                  "(مثلا با تلفن همراه آزمودني) ثبت شده است:\n");
    for (const ChangedAnswer& c : changed)
        text += QStringLiteral("سؤال %1: ثبت شده «%2»، اين صفحه «%3»\n").arg(c.item).arg(shown(c.stored), shown(c.ours));
    text += QStringLiteral("پاسخ هاي اين صفحه جاي آن ها را بگيرد؟ (خير: پاسخ هاي ثبت شده مي ماند)");
    return text;
}

ResponseRowEdit::ResponseRowEdit(store::View& answers)
    : view_(answers)
{
}

void ResponseRowEdit::markRead()
{
    ours_.clear();
    code_ = view_.hasCurrent() ? view_.value(store::kCodeColumn) : QString();
    read_ = view_.hasCurrent() ? rowResponses(view_) : QStringList();
}

void ResponseRowEdit::clear()
{
    ours_.clear();
    code_.clear();
    read_.clear();
}

store::Result ResponseRowEdit::set(int item, const QString& response)
{
    const store::Result r = view_.setValue(QString::number(item), response);
    if (r)
        ours_.insert(item, response);
    return r;
}

store::Result ResponseRowEdit::reread(QVector<ChangedAnswer>& changed)
{
    changed.clear();
    if (!view_.hasCurrent() || view_.isNew() || code_.isEmpty())
        return store::Result::success();
    store::Result r = store::SelectByCode(view_, code_);
    if (r && !view_.hasCurrent())
        r = store::Result::failure(QStringLiteral("%1: the row of code %2 is gone").arg(view_.table(), code_));
    if (!r)
        return r;
    changed = ChangedMeanwhile(read_, rowResponses(view_), ours_);
    for (auto it = ours_.constBegin(); r && it != ours_.constEnd(); ++it)
        r = view_.setValue(QString::number(it.key()), it.value());
    return r;
}

store::Result ResponseRowEdit::keepStored(const QVector<ChangedAnswer>& changed)
{
    store::Result r;
    for (const ChangedAnswer& c : changed) {
        ours_.remove(c.item);
        if (r)
            r = view_.setValue(QString::number(c.item), c.stored);
    }
    return r;
}

store::Result ResponseRowEdit::store()
{
    const store::Result r = view_.update();
    if (r)
        markRead();
    return r;
}

store::Result ResponseRowEdit::storeAsking(const std::function<bool(const QString& question)>& replace,
                                           QVector<ChangedAnswer>* kept)
{
    if (kept)
        kept->clear();
    QVector<ChangedAnswer> changed;
    store::Result r = reread(changed);
    if (r && !changed.isEmpty() && !replace(ChangedMeanwhileQuestion(changed))) {
        r = keepStored(changed);
        if (kept)
            *kept = changed;
    }
    if (r)
        r = store();
    return r;
}

} // namespace capture
