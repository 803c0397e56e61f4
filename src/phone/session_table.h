#pragma once
// The phone sessions of this program run: who may see and answer which examinee's items.
//
// A session belongs to one examinee code. Its link carries a token of 128 random bits; the first
// device that opens the page is given a device key of its own (kept in a cookie), and from then
// on the token admits only that device. A session ends when the examinee finishes, the operator
// closes it, or two hours pass; reopening gives it a new token (the old one is refused from then
// on), forgets the device and starts the two hours again.
#include <QByteArray>
#include <QDateTime>
#include <QHash>
#include <QList>
#include <QString>
#include <map>

namespace phone {

// 16 random bytes from the system's generator, as 22 characters of base64url.
QByteArray NewSecret();

enum class SessionState {
    Waiting,  // the link is not opened yet
    Begun,    // a device has opened it and answers
    Finished, // the examinee said he has finished
    Closed,   // the operator closed it
    Expired,  // two hours passed
};

struct Session {
    int id = 0;
    QString code;
    QByteArray token;
    QByteArray device; // empty until a device begins
    QDateTime validFrom;
    bool finished = false;
    bool closed = false;
};

// What a request with a token (and a device key, empty when it has none) may do.
enum class Admission {
    Unknown,     // no session has this token (or it was replaced by a reopening)
    Begins,      // a waiting session: this device may begin it
    Granted,     // the session's own device
    OtherDevice, // begun on another device
    Finished,
    Closed,
    Expired,
};

class SessionTable {
public:
    static constexpr qint64 kLifetimeSeconds = 2 * 60 * 60;

    // A new session for the code, valid from now; returns its id (never 0).
    int open(const QString& code, const QDateTime& now);
    // New token, no device, valid from now; also after finishing, closing or expiry.
    bool reopen(int id, const QDateTime& now);
    bool close(int id);
    bool finish(int id);
    // Binds a waiting session to a new device and returns its key (empty when not waiting).
    QByteArray begin(int id);
    // Forgets a session altogether (its window is gone).
    void remove(int id);

    Admission admit(const QByteArray& token, const QByteArray& device, const QDateTime& now) const;
    // The session of a token, whatever its state (nullptr for an unknown token).
    const Session* byToken(const QByteArray& token) const;
    const Session* byId(int id) const;
    QList<int> ids() const;
    SessionState state(int id, const QDateTime& now) const;
    // Sessions still waiting or begun: while there is one, the page is served.
    int liveCount(const QDateTime& now) const;
    // When the next live session expires (invalid when none is live).
    QDateTime nextExpiry(const QDateTime& now) const;

private:
    std::map<int, Session> sessions_;
    QHash<QByteArray, int> byToken_;
    int lastId_ = 0;
};

} // namespace phone
