#include "examinees/answers_check.h"
#include "store/connection.h"
#include "store/row_models.h"
#include "store/schema.h"

#include <QCryptographicHash>
#include <QRegularExpression>

namespace examinees {

namespace {

QString checkOf(const QByteArray& joined)
{
    return QString::fromLatin1(QCryptographicHash::hash(joined, QCryptographicHash::Sha256).toHex().left(kCheckCodeLength));
}

} // namespace

QString AnswersCheckCode(const QStringList& responses)
{
    QStringList items;
    for (int i = 0; i < store::kItemCount; ++i)
        items << responses.value(i);
    return checkOf(items.join(QLatin1Char(',')).toUtf8());
}

QString NormalisedCheckCode(const QString& typed)
{
    static const QRegularExpression hex(QStringLiteral("^[0-9a-f]{%1}$").arg(kCheckCodeLength));
    QString code = typed.toLower();
    code.remove(QLatin1Char(' '));
    return hex.match(code).hasMatch() ? code : QString();
}

store::Result FindByAnswersCheck(store::Connection& examineeFile, const QString& checkCode, QStringList& codes)
{
    codes.clear();
    if (store::Result r = examineeFile.open(); !r)
        return r;
    return store::FindRowsByJoinedDigest(examineeFile, QStringLiteral("Answer"), QStringLiteral("Code"),
                                         store::itemColumns(), QLatin1Char(','), checkCode, codes);
}

} // namespace examinees
