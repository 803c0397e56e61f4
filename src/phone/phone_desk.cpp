#include "phone/phone_desk.h"
#include "phone/page_server.h"
#include "phone/phone_texts.h"
#include "kit/clock.h"

#include <QDir>
#include <QFile>
#include <QNetworkInterface>
#include <QSslCertificate>
#include <QSslKey>

#include <algorithm>

namespace phone {

namespace {

// The clinic's certificate and key in the program folder: none (HTTP), both (HTTPS), or an error.
bool readTls(const QString& folder, std::optional<QSslConfiguration>& tls, QString& error)
{
    tls.reset();
    QFile certificate(QDir(folder).filePath(PhoneDesk::kCertificateFile));
    QFile key(QDir(folder).filePath(PhoneDesk::kKeyFile));
    if (!certificate.exists() && !key.exists())
        return true;
    const auto fail = [&](const QString& why) {
        error = texts::kCertificateUnusable + QLatin1Char('\n') + why;
        return false;
    };
    if (!certificate.exists() || !key.exists())
        return fail(texts::kCertificateHalf);
    if (!certificate.open(QIODevice::ReadOnly) || !key.open(QIODevice::ReadOnly))
        return fail(certificate.isOpen() ? key.errorString() : certificate.errorString());
    const QList<QSslCertificate> chain = QSslCertificate::fromData(certificate.read(1024 * 1024), QSsl::Pem);
    const QByteArray keyBytes = key.read(1024 * 1024);
    QSslKey privateKey(keyBytes, QSsl::Rsa, QSsl::Pem);
    if (privateKey.isNull())
        privateKey = QSslKey(keyBytes, QSsl::Ec, QSsl::Pem);
    if (chain.isEmpty() || privateKey.isNull())
        return fail(chain.isEmpty() ? certificate.fileName() : key.fileName());
    QSslConfiguration conf = QSslConfiguration::defaultConfiguration();
    conf.setLocalCertificateChain(chain);
    conf.setPrivateKey(privateKey);
    conf.setPeerVerifyMode(QSslSocket::VerifyNone);
    conf.setProtocol(QSsl::TlsV1_2OrLater);
    tls = conf;
    return true;
}

} // namespace

PhoneDesk::PhoneDesk(const QString& programFolder, Clock& clock, QObject* parent)
    : QObject(parent)
    , programFolder_(programFolder)
    , clock_(clock)
    , book_(programFolder)
    , routes_(sessions_, book_)
{
    const QList<QHostAddress> addresses = LocalAddresses();
    address_ = addresses.value(0, QHostAddress(QHostAddress::LocalHost));
    expiry_.setSingleShot(true);
    connect(&expiry_, &QTimer::timeout, this, &PhoneDesk::checkSessions);
}

PhoneDesk::~PhoneDesk() = default;

QDateTime PhoneDesk::now() const
{
    return clock_.now();
}

QList<QHostAddress> PhoneDesk::LocalAddresses()
{
    QList<QHostAddress> found;
    for (const QNetworkInterface& nic : QNetworkInterface::allInterfaces()) {
        const auto flags = nic.flags();
        if (!(flags & QNetworkInterface::IsUp) || !(flags & QNetworkInterface::IsRunning)
            || (flags & QNetworkInterface::IsLoopBack))
            continue;
        for (const QNetworkAddressEntry& entry : nic.addressEntries()) {
            const QHostAddress a = entry.ip();
            if (a.protocol() == QAbstractSocket::IPv4Protocol && !a.isLoopback() && !found.contains(a))
                found << a;
        }
    }
    found << QHostAddress(QHostAddress::LocalHost);
    return found;
}

bool PhoneDesk::setAddress(const QHostAddress& address, QString& error)
{
    if (address == address_)
        return true;
    const QHostAddress before = address_;
    address_ = address;
    if (server_ && server_->isListening()) {
        if (!serve(error)) {
            address_ = before;
            QString again;
            (void)serve(again); // back where the links pointed
            Q_EMIT linksChanged();
            return false;
        }
    }
    Q_EMIT linksChanged();
    return true;
}

bool PhoneDesk::serve(QString& error)
{
    std::optional<QSslConfiguration> tls;
    if (!readTls(programFolder_, tls, error))
        return false;
    routes_.setLook(CurrentPageLook(programFolder_));
    if (!server_) {
        server_ = std::make_unique<PageServer>(routes_, [this] { return now(); });
        connect(server_.get(), &PageServer::pageEvent, this, &PhoneDesk::onPageEvent);
    }
    if (!server_->start(address_, port_, tls, error)) {
        error = texts::kServerNotStarted + QLatin1Char('\n') + error;
        return false;
    }
    // The port that worked is tried first next time: links already given keep their port.
    port_ = server_->port();
    return true;
}

bool PhoneDesk::open(const QString& code, int& id, QString& error)
{
    id = 0;
    QStringList responses;
    if (const store::Result r = book_.readResponses(code, responses); !r) {
        error = texts::kResponsesNotRead + QLatin1Char('\n') + r.error;
        return false;
    }
    if (!isServing() && !serve(error))
        return false;
    id = sessions_.open(code, now());
    answered_.insert(id, AnsweredCount(responses));
    checkSessions();
    return true;
}

bool PhoneDesk::reopen(int id, QString& error)
{
    if (!sessions_.byId(id))
        return false;
    if (!isServing() && !serve(error))
        return false;
    sessions_.reopen(id, now());
    QStringList responses;
    if (book_.readResponses(code(id), responses))
        answered_.insert(id, AnsweredCount(responses));
    checkSessions();
    Q_EMIT progress(id, answered(id));
    return true;
}

void PhoneDesk::close(int id)
{
    sessions_.close(id);
    checkSessions();
}

void PhoneDesk::remove(int id)
{
    sessions_.close(id);
    checkSessions();
    sessions_.remove(id);
    answered_.remove(id);
    known_.remove(id);
}

SessionState PhoneDesk::state(int id) const
{
    return sessions_.state(id, now());
}

QString PhoneDesk::code(int id) const
{
    const Session* s = sessions_.byId(id);
    return s ? s->code : QString();
}

QUrl PhoneDesk::link(int id) const
{
    const Session* s = sessions_.byId(id);
    if (!s || !server_)
        return {};
    QUrl url;
    url.setScheme(server_->https() ? QStringLiteral("https") : QStringLiteral("http"));
    url.setHost(address_.toString());
    url.setPort(server_->port());
    url.setPath(QStringLiteral("/t/") + QString::fromLatin1(s->token));
    return url;
}

bool PhoneDesk::isServing() const
{
    return server_ && server_->isListening();
}

quint16 PhoneDesk::servingPort() const
{
    return isServing() ? server_->port() : 0;
}

void PhoneDesk::onPageEvent(const PageEvent& event)
{
    switch (event.kind) {
    case PageEvent::Kind::None:
        return;
    case PageEvent::Kind::Answered:
        answered_.insert(event.session, event.answered);
        Q_EMIT progress(event.session, event.answered);
        return;
    case PageEvent::Kind::StoreFailed:
        Q_EMIT storeFailed(event.session, event.item, event.error);
        return;
    case PageEvent::Kind::Begun:
    case PageEvent::Kind::Finished:
        checkSessions();
        return;
    }
}

// Tells the windows of every session whose state changed, stops serving when none is live,
// and wakes up again when the next one expires.
void PhoneDesk::checkSessions()
{
    const QDateTime at = now();
    QList<int> changed;
    for (int id : sessions_.ids()) {
        const SessionState s = sessions_.state(id, at);
        const auto it = known_.constFind(id);
        if (it == known_.constEnd() || *it != s) {
            known_.insert(id, s);
            changed << id;
        }
    }
    if (sessions_.liveCount(at) == 0 && server_)
        server_->stop();
    const QDateTime next = sessions_.nextExpiry(at);
    if (next.isValid())
        expiry_.start(int(std::clamp<qint64>(at.msecsTo(next) + 1000, 1000, 60 * 60 * 1000)));
    else
        expiry_.stop();
    for (int id : changed)
        Q_EMIT stateChanged(id);
}

} // namespace phone
