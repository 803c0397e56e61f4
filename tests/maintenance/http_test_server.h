#pragma once
// A small HTTP server on 127.0.0.1 for the update tests: each request gets the scripted answer
// of its path, written raw (status line, headers, body), possibly cut short or left hanging.
#include <QByteArray>
#include <QHash>
#include <QList>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <QUrl>

struct ScriptedAnswer {
    enum class End {
        Complete, // the whole body, then the connection closes
        Cut,      // the first cutAfter bytes of the body, then the connection closes
        Hang,     // the first cutAfter bytes, then nothing more while the connection stays open
        Silent,   // no answer at all; the connection stays open
        Endless,  // after the body, filler for as long as the client reads
        Drip,     // after the body, dripBytes of filler every dripMs, for ever
    };
    QByteArray statusLine = "HTTP/1.1 200 OK";
    QByteArray body;
    bool withLength = true;
    QList<QByteArray> headers;
    End end = End::Complete;
    qsizetype cutAfter = 0;
    int dripBytes = 1;
    int dripMs = 100;

    static ScriptedAnswer status(const QByteArray& line, const QByteArray& body = {})
    {
        ScriptedAnswer a;
        a.statusLine = line;
        a.body = body;
        return a;
    }
};

class HttpTestServer : public QObject {
public:
    HttpTestServer()
    {
        server_.listen(QHostAddress::LocalHost, 0);
        QObject::connect(&server_, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* socket = server_.nextPendingConnection())
                serve(socket);
        });
    }

    bool isListening() const { return server_.isListening(); }
    QUrl base() const { return QUrl(QStringLiteral("http://127.0.0.1:%1").arg(server_.serverPort())); }
    QUrl url(const QString& path) const
    {
        QUrl u = base();
        u.setPath(path);
        return u;
    }

    QHash<QByteArray, ScriptedAnswer> answers; // by path
    QList<QByteArray> requests;                // raw request heads, in order

private:
    void serve(QTcpSocket* socket)
    {
        auto* head = new QByteArray;
        QObject::connect(socket, &QTcpSocket::disconnected, socket, [socket, head] {
            delete head;
            socket->deleteLater();
        });
        QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket, head] {
            head->append(socket->readAll());
            if (!head->contains("\r\n\r\n"))
                return;
            requests << *head;
            const QByteArray path = head->split(' ').value(1);
            head->clear();
            answer(socket, answers.value(path, ScriptedAnswer::status("HTTP/1.1 404 Not Found", "no such file")));
        });
    }

    static void answer(QTcpSocket* socket, const ScriptedAnswer& a)
    {
        if (a.end == ScriptedAnswer::End::Silent)
            return;
        QByteArray out = a.statusLine + "\r\n";
        if (a.withLength)
            out += "Content-Length: " + QByteArray::number(a.body.size()) + "\r\n";
        for (const QByteArray& h : a.headers)
            out += h + "\r\n";
        out += "Connection: close\r\n\r\n";
        const bool cut = a.end == ScriptedAnswer::End::Cut || a.end == ScriptedAnswer::End::Hang;
        out += cut ? a.body.left(a.cutAfter) : a.body;
        socket->write(out);
        socket->flush();
        if (a.end == ScriptedAnswer::End::Endless) {
            // More whenever the client has taken the last: the server itself holds little.
            const QByteArray filler(64 * 1024, 'x');
            QObject::connect(socket, &QTcpSocket::bytesWritten, socket, [socket, filler] {
                if (socket->state() == QAbstractSocket::ConnectedState && socket->bytesToWrite() < 4 * filler.size())
                    socket->write(filler);
            });
            socket->write(filler);
        } else if (a.end == ScriptedAnswer::End::Drip) {
            auto* drip = new QTimer(socket);
            const QByteArray piece(a.dripBytes, 'x');
            QObject::connect(drip, &QTimer::timeout, socket, [socket, piece] {
                if (socket->state() == QAbstractSocket::ConnectedState)
                    socket->write(piece);
            });
            drip->start(a.dripMs);
        } else if (a.end != ScriptedAnswer::End::Hang) {
            socket->disconnectFromHost();
        }
    }

    QTcpServer server_;
};
