#include "phone/page_server.h"

#include <QHttpServerRequest>
#include <QHttpServerResponder>
#include <QSslServer>
#include <QSslSocket>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

namespace phone {

namespace {

// The bytes a connection has sent of the request being read, and its idle timer.
class ConnectionWatch : public QObject {
public:
    explicit ConnectionWatch(QTcpSocket* socket)
        : QObject(socket)
    {
        idle.setSingleShot(true);
        idle.setInterval(PageServer::kIdleMs);
        connect(&idle, &QTimer::timeout, socket, &QTcpSocket::abort);
        idle.start();
    }
    qint64 bytes = 0;
    bool holding = false; // a refusal waits to be sent: nothing more is read from this peer
    QTimer idle;
};

ConnectionWatch* watchOf(QTcpSocket* socket)
{
    if (socket)
        for (QObject* child : socket->children())
            if (auto* watch = dynamic_cast<ConnectionWatch*>(child))
                return watch;
    return nullptr;
}

void abortLater(QTcpSocket* socket)
{
    // Not in the middle of the HTTP server's own reading of the socket.
    QTimer::singleShot(0, socket, [socket] { socket->abort(); });
}

template<class Base>
class WatchedServer : public Base {
public:
    explicit WatchedServer(PageServer* owner)
        : Base(owner) // owned by the page server, also when it goes without being stopped
        , owner_(owner)
    {
    }
    QTcpSocket* nextPendingConnection() override
    {
        while (QTcpSocket* socket = Base::nextPendingConnection()) {
            if (owner_->admitConnection(socket))
                return socket;
        }
        return nullptr;
    }

private:
    PageServer* owner_;
};

QByteArray header(const QHttpServerRequest& request, const QByteArray& name)
{
    for (const auto& [key, value] : request.headers())
        if (key.compare(name, Qt::CaseInsensitive) == 0)
            return value;
    return {};
}

} // namespace

PageServer::PageServer(PageRoutes& routes, std::function<QDateTime()> now, QObject* parent)
    : QAbstractHttpServer(parent)
    , routes_(routes)
    , now_(std::move(now))
{
    steady_.start();
}

PageServer::~PageServer() = default;

bool PageServer::start(const QHostAddress& address, quint16 port, const std::optional<QSslConfiguration>& tls,
                       QString& error)
{
    stop();
    QTcpServer* server = nullptr;
    if (tls) {
        auto* ssl = new WatchedServer<QSslServer>(this);
        ssl->setSslConfiguration(*tls);
        ssl->setHandshakeTimeout(10'000);
        server = ssl;
    } else {
        server = new WatchedServer<QTcpServer>(this);
    }
    server->setMaxPendingConnections(64);
    if (!server->listen(address, port) && (port == 0 || !server->listen(address, 0))) {
        error = server->errorString();
        delete server;
        return false;
    }
    https_ = tls.has_value();
    listener_ = server;
    bind(server);
    return true;
}

void PageServer::stop()
{
    if (!listener_)
        return;
    listener_->close();
    // Connections end once what was written to them is out (a reply to the request that ended
    // the last session among them); the HTTP server deletes each when it has disconnected.
    for (QTcpSocket* socket : listener_->findChildren<QTcpSocket*>(QString(), Qt::FindDirectChildrenOnly)) {
        socket->setParent(this);
        socket->disconnectFromHost();
    }
    listener_->deleteLater();
    listener_.clear();
}

bool PageServer::isListening() const
{
    return listener_ && listener_->isListening();
}

quint16 PageServer::port() const
{
    return listener_ ? listener_->serverPort() : 0;
}

bool PageServer::admitConnection(QTcpSocket* socket)
{
    if (connections_ >= kMaxConnections) {
        socket->abort();
        socket->deleteLater();
        return false;
    }
    ++connections_;
    connect(socket, &QObject::destroyed, this, [this] { --connections_; });
    socket->setReadBufferSize(kRequestLimit);
    auto* watch = new ConnectionWatch(socket);
    // Connected before the HTTP server's own reader, so this sees each piece first.
    connect(socket, &QTcpSocket::readyRead, watch, [socket, watch] {
        watch->idle.start();
        watch->bytes += socket->bytesAvailable();
        if (watch->bytes >= kRequestLimit || watch->holding)
            abortLater(socket);
    });
    return true;
}

bool PageServer::handleRequest(const QHttpServerRequest& request, QTcpSocket* socket)
{
    ConnectionWatch* watch = watchOf(socket);
    if (watch) {
        watch->bytes = 0;
        watch->idle.start();
    }
    PageRequest page;
    switch (request.method()) {
    case QHttpServerRequest::Method::Get:
        page.method = PageRequest::Method::Get;
        break;
    case QHttpServerRequest::Method::Post:
        page.method = PageRequest::Method::Post;
        break;
    default:
        page.method = PageRequest::Method::Other;
        break;
    }
    page.path = request.url().path();
    page.cookie = header(request, "cookie");
    page.contentType = header(request, "content-type");
    page.origin = header(request, "origin");
    page.host = header(request, "host");
    page.body = request.body();
    page.https = https_;

    PageEvent event;
    const PageReply reply = routes_.handle(page, now_(), event);
    auto responder = std::make_shared<QHttpServerResponder>(makeResponder(request, socket));
    if (!reply.tokenRefused) {
        send(*responder, reply);
    } else {
        const QString peer = request.remoteAddress().toString();
        const WrongTokenBrake::Verdict verdict = brake_.refused(peer, steady_.elapsed());
        switch (verdict.kind) {
        case WrongTokenBrake::Verdict::Kind::Now:
            send(*responder, reply);
            break;
        case WrongTokenBrake::Verdict::Kind::Drop:
            abortLater(socket);
            break;
        case WrongTokenBrake::Verdict::Kind::Wait: {
            if (watch)
                watch->holding = true;
            QPointer<QTcpSocket> alive(socket);
            QTimer::singleShot(int(verdict.waitMs), this, [this, responder, reply, alive, peer] {
                brake_.released(peer);
                if (!alive || alive->state() != QAbstractSocket::ConnectedState)
                    return;
                send(*responder, reply);
                alive->disconnectFromHost();
            });
            break;
        }
        }
    }
    if (event.kind != PageEvent::Kind::None)
        Q_EMIT pageEvent(event);
    return true;
}

void PageServer::missingHandler(const QHttpServerRequest& request, QTcpSocket* socket)
{
    PageReply notFound;
    QHttpServerResponder responder = makeResponder(request, socket);
    send(responder, notFound);
}

void PageServer::send(QHttpServerResponder& responder, const PageReply& reply)
{
    responder.writeStatusLine(QHttpServerResponder::StatusCode(reply.status));
    for (const auto& [name, value] : CommonHeaders())
        responder.writeHeader(name, value);
    if (!reply.contentType.isEmpty())
        responder.writeHeader(QByteArrayLiteral("Content-Type"), reply.contentType);
    for (const auto& [name, value] : reply.headers)
        responder.writeHeader(name, value);
    responder.writeHeader(QByteArrayLiteral("Content-Length"), QByteArray::number(reply.body.size()));
    responder.writeBody(reply.body);
}

} // namespace phone
