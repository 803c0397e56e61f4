#pragma once
// A client of the phone page for tests: requests as the page's script makes them, waited for in
// the event loop (the program's server runs in the same one).
#include <QElapsedTimer>
#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkCookieJar>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSslConfiguration>
#include <QTimer>
#include <QUrl>

struct PageAnswer {
    int status = 0; // 0: no HTTP answer (refused, cut off, timed out)
    QByteArray body;
    QList<QNetworkReply::RawHeaderPair> headers;
    qint64 ms = 0;
    QByteArray header(const QByteArray& name) const
    {
        for (const auto& [key, value] : headers)
            if (key.compare(name, Qt::CaseInsensitive) == 0)
                return value;
        return {};
    }
};

class PageClient {
public:
    // Each client is a device of its own: its own cookies and connections.
    std::optional<QSslConfiguration> tls;

    PageAnswer get(const QUrl& url) { return run(url, {}, false); }
    // Several at once, as a browser fetches what a page names.
    QList<PageAnswer> getAll(const QStringList& urls)
    {
        QList<QNetworkReply*> replies;
        for (const QString& u : urls)
            replies << nam_.get(QNetworkRequest(QUrl(u)));
        QEventLoop loop;
        int left = int(replies.size());
        for (QNetworkReply* r : replies)
            QObject::connect(r, &QNetworkReply::finished, &loop, [&] {
                if (--left == 0)
                    loop.quit();
            });
        QTimer::singleShot(8000, &loop, &QEventLoop::quit);
        if (left)
            loop.exec();
        QList<PageAnswer> answers;
        for (QNetworkReply* r : replies) {
            PageAnswer a;
            a.status = r->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
            a.body = r->readAll();
            answers << a;
            r->abort();
            r->deleteLater();
        }
        return answers;
    }
    PageAnswer post(const QUrl& url, const QByteArray& body = "{}") { return run(url, body, true); }
    // The session's own paths, from its link.
    static QUrl action(const QUrl& link, const QString& name)
    {
        QUrl u = link;
        u.setPath(link.path() + QLatin1Char('/') + name);
        return u;
    }
    PageAnswer answer(const QUrl& link, int item, const char* answer)
    {
        return post(action(link, QStringLiteral("answer")),
                    QStringLiteral(R"({"item":%1,"answer":"%2"})").arg(item).arg(QLatin1String(answer)).toUtf8());
    }

private:
    PageAnswer run(const QUrl& url, const QByteArray& body, bool post)
    {
        QNetworkRequest request(url);
        request.setTransferTimeout(5000);
        if (tls)
            request.setSslConfiguration(*tls);
        PageAnswer a;
        QElapsedTimer clock;
        clock.start();
        QNetworkReply* reply;
        if (post) {
            request.setHeader(QNetworkRequest::ContentTypeHeader, QByteArrayLiteral("application/json"));
            request.setRawHeader("Origin", (url.scheme() + QStringLiteral("://") + url.authority()).toLatin1());
            reply = nam_.post(request, body);
        } else {
            reply = nam_.get(request);
        }
        QEventLoop loop;
        QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
        QTimer::singleShot(8000, &loop, &QEventLoop::quit);
        loop.exec();
        a.ms = clock.elapsed();
        a.status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        a.body = reply->readAll();
        a.headers = reply->rawHeaderPairs();
        reply->abort();
        reply->deleteLater();
        return a;
    }
    QNetworkAccessManager nam_;
};
