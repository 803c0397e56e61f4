#include "maintenance/update_version.h"
#include "scoring/leading_number.h"

namespace maintenance {

int OwnVersionNumber(int major, int minor)
{
    return QString(QString::number(major) + QString::number(minor)).toInt();
}

double PublishedVersionNumber(const QString& text)
{
    return LeadingNumber(text).value_or(0.0);
}

bool IsNewerVersion(double published, int own)
{
    return published > own;
}

QUrl UpdateAddress(const QUrl& server, const QString& path)
{
    QUrl u = server;
    QString folder = server.path();
    while (folder.endsWith(QLatin1Char('/')))
        folder.chop(1);
    u.setPath(folder + path);
    u.setQuery(QString());
    u.setFragment(QString());
    return u;
}

QUrl PackageAddress(const QUrl& server, const QString& name)
{
    return UpdateAddress(server, kUpdateFolderPath + name);
}

std::optional<QUrl> UpdateServerOverride(const QString& value)
{
    const QString text = value.trimmed();
    if (text.isEmpty())
        return std::nullopt;
    const QUrl u(text, QUrl::StrictMode);
    const QString scheme = u.scheme().toLower();
    if (!u.isValid() || (scheme != QLatin1String("http") && scheme != QLatin1String("https")) || u.host().isEmpty())
        return std::nullopt;
    return u;
}

QString GetFileName(const QString& url)
{
    const QString scheme = url.startsWith(QLatin1String("http://"), Qt::CaseInsensitive)    ? QStringLiteral("http://")
                           : url.startsWith(QLatin1String("https://"), Qt::CaseInsensitive) ? QStringLiteral("https://")
                                                                                           : QString();
    if (scheme.isEmpty() || url.size() <= scheme.size())
        return QString();
    // From the next-to-last character backwards: a trailing "/" is not the separator looked for.
    const qsizetype slash = url.lastIndexOf(QLatin1Char('/'), url.size() - 2);
    const QString name = url.mid(slash + 1);
    if (name.indexOf(QLatin1Char('.'), 1) < 0)
        return QString();
    return name;
}

} // namespace maintenance
