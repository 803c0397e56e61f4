#include "phone/page_routes.h"
#include "store/schema.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

namespace phone {

namespace {

const QByteArray kJson = QByteArrayLiteral("application/json; charset=utf-8");
const QByteArray kDeviceCookie = QByteArrayLiteral("device");

QByteArray resource(const QString& name)
{
    QFile f(QStringLiteral(":/phone/page/") + name);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

PageReply json(int status, const QJsonObject& object)
{
    PageReply reply;
    reply.status = status;
    reply.contentType = kJson;
    reply.body = QJsonDocument(object).toJson(QJsonDocument::Compact);
    return reply;
}

PageReply notFound()
{
    return PageReply{};
}

// "/t/<token>" or "/t/<token>/<action>"; a token is 22 characters of base64url.
bool splitPagePath(const QString& path, QByteArray& token, QString& action)
{
    static const QRegularExpression shape(QStringLiteral(R"(^/t/([A-Za-z0-9_-]{22})(?:/(open|answer|finish))?$)"));
    const QRegularExpressionMatch m = shape.match(path);
    if (!m.hasMatch())
        return false;
    token = m.captured(1).toLatin1();
    action = m.captured(2);
    return true;
}

QJsonObject lookObject(const PageLook& look)
{
    return {{QStringLiteral("background"), look.background}, {QStringLiteral("text"), look.text},
            {QStringLiteral("accent"), look.accent},         {QStringLiteral("accentText"), look.accentText},
            {QStringLiteral("button"), look.button},         {QStringLiteral("buttonText"), look.buttonText},
            {QStringLiteral("border"), look.border}};
}

} // namespace

const HeaderList& CommonHeaders()
{
    static const HeaderList headers{
        {QByteArrayLiteral("Cache-Control"), QByteArrayLiteral("no-store")},
        {QByteArrayLiteral("X-Frame-Options"), QByteArrayLiteral("DENY")},
        {QByteArrayLiteral("Content-Security-Policy"),
         QByteArrayLiteral("default-src 'none'; script-src 'self'; style-src 'self'; font-src 'self'; "
                           "connect-src 'self'; img-src 'self'; frame-ancestors 'none'; base-uri 'none'; "
                           "form-action 'none'")},
        {QByteArrayLiteral("X-Content-Type-Options"), QByteArrayLiteral("nosniff")},
        {QByteArrayLiteral("Referrer-Policy"), QByteArrayLiteral("no-referrer")},
        {QByteArrayLiteral("Cross-Origin-Opener-Policy"), QByteArrayLiteral("same-origin")},
        {QByteArrayLiteral("Cross-Origin-Resource-Policy"), QByteArrayLiteral("same-origin")},
    };
    return headers;
}

bool ParseAnswer(const QByteArray& body, int& item, QString& response)
{
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(body, &error);
    if (error.error != QJsonParseError::NoError || !doc.isObject())
        return false;
    const QJsonObject o = doc.object();
    const QJsonValue n = o.value(QStringLiteral("item"));
    const QJsonValue a = o.value(QStringLiteral("answer"));
    if (!n.isDouble() || !a.isString() || o.size() != 2)
        return false;
    const double d = n.toDouble();
    if (d < 1 || d > store::kItemCount || d != double(int(d)))
        return false;
    response = ResponseOfPageAnswer(a.toString());
    item = int(d);
    return !response.isEmpty();
}

QByteArray CookieValue(const QByteArray& header, const QByteArray& name)
{
    for (const QByteArray& part : header.split(';')) {
        const QByteArray pair = part.trimmed();
        const qsizetype eq = pair.indexOf('=');
        if (eq > 0 && pair.left(eq).trimmed() == name)
            return pair.mid(eq + 1).trimmed();
    }
    return {};
}

PageRoutes::PageRoutes(SessionTable& sessions, AnswerBook& book)
    : sessions_(sessions)
    , book_(book)
    , pageHtml_(resource(QStringLiteral("phone.html")))
{
    const QByteArray font = QByteArrayLiteral("font/woff2");
    assets_.insert(QStringLiteral("phone.css"), {QByteArrayLiteral("text/css; charset=utf-8"), resource(QStringLiteral("phone.css"))});
    assets_.insert(QStringLiteral("phone.js"),
                   {QByteArrayLiteral("text/javascript; charset=utf-8"), resource(QStringLiteral("phone.js"))});
    for (const QString& name : {QStringLiteral("arabic.woff2"), QStringLiteral("arabic-bold.woff2"), QStringLiteral("latin.woff2")})
        assets_.insert(name, {font, resource(QStringLiteral("fonts/") + name)});
}

QHash<QString, PageRoutes::Asset> PageRoutes::files() const
{
    QHash<QString, Asset> all = assets_;
    all.insert(QStringLiteral("/t/"), {QByteArrayLiteral("text/html; charset=utf-8"), pageHtml_});
    return all;
}

PageReply PageRoutes::handle(const PageRequest& request, const QDateTime& now, PageEvent& event)
{
    event = PageEvent{};
    if (request.path.startsWith(QLatin1String("/a/"))) {
        const auto it = assets_.constFind(request.path.mid(3));
        if (request.method != PageRequest::Method::Get || it == assets_.constEnd())
            return notFound();
        PageReply reply;
        reply.status = 200;
        reply.contentType = it->contentType;
        reply.body = it->bytes;
        return reply;
    }
    QByteArray token;
    QString action;
    if (!splitPagePath(request.path, token, action))
        return notFound();
    if (action.isEmpty())
        return request.method == PageRequest::Method::Get ? page(token, now) : notFound();
    if (request.method != PageRequest::Method::Post)
        return notFound();
    // Only the page's own script may post: same origin, JSON (a form from elsewhere cannot).
    if (!sameOrigin(request) || !request.contentType.startsWith("application/json"))
        return json(403, {{QStringLiteral("refused"), QStringLiteral("origin")}});
    if (action == QLatin1String("open"))
        return open(request, token, now, event);
    if (action == QLatin1String("answer"))
        return answer(request, token, now, event);
    return finish(request, token, now, event);
}

bool PageRoutes::sameOrigin(const PageRequest& request) const
{
    if (request.origin.isEmpty())
        return true;
    return request.origin == (request.https ? QByteArrayLiteral("https://") : QByteArrayLiteral("http://")) + request.host;
}

PageReply PageRoutes::refusal(Admission admission) const
{
    QString why;
    switch (admission) {
    case Admission::Finished:
        why = QStringLiteral("finished");
        break;
    case Admission::Closed:
        why = QStringLiteral("closed");
        break;
    case Admission::Expired:
        why = QStringLiteral("expired");
        break;
    case Admission::OtherDevice:
        why = QStringLiteral("device");
        break;
    case Admission::Unknown:
    case Admission::Begins:
    case Admission::Granted:
        break;
    }
    PageReply reply = why.isEmpty() ? notFound() : json(403, {{QStringLiteral("refused"), why}});
    reply.tokenRefused = true;
    return reply;
}

PageReply PageRoutes::page(const QByteArray& token, const QDateTime& now)
{
    if (sessions_.admit(token, {}, now) == Admission::Unknown)
        return refusal(Admission::Unknown);
    PageReply reply;
    reply.status = 200;
    reply.contentType = QByteArrayLiteral("text/html; charset=utf-8");
    reply.body = pageHtml_;
    return reply;
}

PageReply PageRoutes::open(const PageRequest& request, const QByteArray& token, const QDateTime& now, PageEvent& event)
{
    const Admission admission = sessions_.admit(token, CookieValue(request.cookie, kDeviceCookie), now);
    if (admission != Admission::Begins && admission != Admission::Granted)
        return refusal(admission);
    const Session* s = sessions_.byToken(token);
    Sheet sheet;
    if (const store::Result r = book_.readSheet(s->code, sheet); !r) {
        event = {PageEvent::Kind::StoreFailed, s->id, 0, 0, r.error};
        return json(503, {{QStringLiteral("error"), QStringLiteral("store")}});
    }
    QJsonArray items, answers;
    for (int i = 0; i < store::kItemCount; ++i) {
        items.append(sheet.items.value(i));
        answers.append(PageAnswer(sheet.responses.value(i)));
    }
    PageReply reply = json(200, {{QStringLiteral("clinic"), sheet.clinic},
                                 {QStringLiteral("name"), sheet.firstName},
                                 {QStringLiteral("items"), items},
                                 {QStringLiteral("answers"), answers},
                                 {QStringLiteral("first"), FirstUnanswered(sheet.responses)},
                                 {QStringLiteral("look"), lookObject(look_)}});
    if (admission == Admission::Begins) {
        // The first device to open the page: from now on the token admits only it.
        const QByteArray key = sessions_.begin(s->id);
        QByteArray cookie = kDeviceCookie + '=' + key + "; Path=/t/" + token + "; Max-Age="
            + QByteArray::number(SessionTable::kLifetimeSeconds) + "; HttpOnly; SameSite=Strict";
        if (request.https)
            cookie += "; Secure";
        reply.headers.append({QByteArrayLiteral("Set-Cookie"), cookie});
        event = {PageEvent::Kind::Begun, s->id, AnsweredCount(sheet.responses), 0, {}};
    }
    return reply;
}

PageReply PageRoutes::answer(const PageRequest& request, const QByteArray& token, const QDateTime& now, PageEvent& event)
{
    const Admission admission = sessions_.admit(token, CookieValue(request.cookie, kDeviceCookie), now);
    if (admission != Admission::Granted)
        return refusal(admission == Admission::Begins ? Admission::OtherDevice : admission);
    int item = 0;
    QString response;
    if (!ParseAnswer(request.body, item, response))
        return json(400, {{QStringLiteral("error"), QStringLiteral("answer")}});
    const Session* s = sessions_.byToken(token);
    int answered = 0;
    if (const store::Result r = book_.storeAnswer(s->code, item, response, answered); !r) {
        event = {PageEvent::Kind::StoreFailed, s->id, 0, item, r.error};
        return json(503, {{QStringLiteral("error"), QStringLiteral("store")}});
    }
    event = {PageEvent::Kind::Answered, s->id, answered, item, {}};
    return json(200, {{QStringLiteral("item"), item},
                      {QStringLiteral("answer"), PageAnswer(response)},
                      {QStringLiteral("answered"), answered}});
}

PageReply PageRoutes::finish(const PageRequest& request, const QByteArray& token, const QDateTime& now, PageEvent& event)
{
    const Admission admission = sessions_.admit(token, CookieValue(request.cookie, kDeviceCookie), now);
    if (admission != Admission::Granted)
        return refusal(admission == Admission::Begins ? Admission::OtherDevice : admission);
    const Session* s = sessions_.byToken(token);
    sessions_.finish(s->id);
    event = {PageEvent::Kind::Finished, s->id, 0, 0, {}};
    return json(200, {{QStringLiteral("finished"), true}});
}

} // namespace phone
