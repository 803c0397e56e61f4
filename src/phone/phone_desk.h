#pragma once
// The phone sessions of the program and the server of their page: a session is opened for an
// examinee, the page is served while at least one session is live, and what happens on the
// page is told to the operator's windows.
#include "phone/page_routes.h"
#include "phone/session_table.h"
#include "phone/stored_answers.h"

#include <QHostAddress>
#include <QObject>
#include <QTimer>
#include <QUrl>
#include <memory>

class Clock;

namespace phone {

class PageServer;

class PhoneDesk : public QObject {
    Q_OBJECT
public:
    static constexpr quint16 kDefaultPort = 7171;
    // A clinic that puts both of these (PEM) into the program folder gets the page over HTTPS.
    static inline const QString kCertificateFile = QStringLiteral("phone-certificate.pem");
    static inline const QString kKeyFile = QStringLiteral("phone-key.pem");

    PhoneDesk(const QString& programFolder, Clock& clock, QObject* parent = nullptr);
    ~PhoneDesk() override;

    // The computer's addresses on its networks (IPv4, interfaces up), loopback last.
    static QList<QHostAddress> LocalAddresses();
    QHostAddress address() const { return address_; }
    // Where the page is served; a running server moves there (every link changes).
    bool setAddress(const QHostAddress& address, QString& error);
    // The port tried first (0: any free port).
    void setPort(quint16 port) { port_ = port; }

    // A new session for the examinee (the page starts being served with the first one).
    bool open(const QString& code, int& id, QString& error);
    // A new link for the session: the old one and its device are refused from now on.
    bool reopen(int id, QString& error);
    void close(int id);
    // The session is closed and forgotten (its window is gone).
    void remove(int id);

    SessionState state(int id) const;
    int answered(int id) const { return answered_.value(id); }
    QString code(int id) const;
    QUrl link(int id) const;
    bool isServing() const;
    quint16 servingPort() const;
    // The sessions' page and its files, for their size.
    const PageRoutes& routes() const { return routes_; }
    // Tells the windows of sessions whose state changed (expiry among them) and stops serving
    // when none is live; runs by itself when a session expires.
    void checkSessions();

Q_SIGNALS:
    void progress(int id, int answered);
    void stateChanged(int id);
    // An answer that came from the page could not be stored (the page is told and tries again).
    void storeFailed(int id, int item, const QString& error);
    void linksChanged();

private:
    bool serve(QString& error);
    void onPageEvent(const PageEvent& event);
    QDateTime now() const;

    QString programFolder_;
    Clock& clock_;
    SessionTable sessions_;
    StoredAnswers book_;
    PageRoutes routes_;
    std::unique_ptr<PageServer> server_;
    QHostAddress address_;
    quint16 port_ = kDefaultPort;
    QHash<int, int> answered_;
    QHash<int, SessionState> known_;
    QTimer expiry_;
};

} // namespace phone
