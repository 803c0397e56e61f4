#pragma once
// Serves the phone page over HTTP (or HTTPS, given a certificate and key) on one address,
// with Qt's HTTP server. Every request goes to PageRoutes; this class adds what only a server
// can: requests cut off past a size, idle connections closed, a bounded number of connections,
// and refusals held back by the WrongTokenBrake.
#include "phone/page_routes.h"
#include "phone/wrong_token_brake.h"

#include <QAbstractHttpServer>
#include <QElapsedTimer>
#include <QHostAddress>
#include <QPointer>
#include <QSslConfiguration>
#include <functional>
#include <optional>

class QTcpServer;

namespace phone {

class PageServer : public QAbstractHttpServer {
    Q_OBJECT
public:
    // A request, headers and body together, may hold this many bytes; a longer one is cut off.
    static constexpr qint64 kRequestLimit = 16 * 1024;
    static constexpr int kIdleMs = 30'000;
    static constexpr int kMaxConnections = 256;

    PageServer(PageRoutes& routes, std::function<QDateTime()> now, QObject* parent = nullptr);
    ~PageServer() override;

    // Listens on the address: on the port when it is free (0: any port), else on any free
    // port. With a TLS configuration, HTTPS. Returns false with the reason.
    bool start(const QHostAddress& address, quint16 port, const std::optional<QSslConfiguration>& tls, QString& error);
    // Stops listening and closes every connection.
    void stop();
    bool isListening() const;
    quint16 port() const;
    bool https() const { return https_; }
    int connectionCount() const { return connections_; }

    // Used by the listening sockets' servers.
    bool admitConnection(QTcpSocket* socket);

Q_SIGNALS:
    void pageEvent(const phone::PageEvent& event);

protected:
    bool handleRequest(const QHttpServerRequest& request, QTcpSocket* socket) override;
    void missingHandler(const QHttpServerRequest& request, QTcpSocket* socket) override;

private:
    void send(QHttpServerResponder& responder, const PageReply& reply);

    PageRoutes& routes_;
    std::function<QDateTime()> now_;
    WrongTokenBrake brake_;
    QElapsedTimer steady_;
    QPointer<QTcpServer> listener_;
    bool https_ = false;
    int connections_ = 0;
};

} // namespace phone
