#include "phone/session_table.h"

#include <sodium.h>

namespace phone {

namespace {

bool sameSecret(const QByteArray& a, const QByteArray& b)
{
    return a.size() == b.size() && !a.isEmpty() && sodium_memcmp(a.constData(), b.constData(), size_t(a.size())) == 0;
}

} // namespace

QByteArray NewSecret()
{
    if (sodium_init() < 0)
        qFatal("libsodium could not be initialised");
    unsigned char bytes[16];
    randombytes_buf(bytes, sizeof bytes);
    return QByteArray(reinterpret_cast<const char*>(bytes), sizeof bytes)
        .toBase64(QByteArray::Base64UrlEncoding | QByteArray::OmitTrailingEquals);
}

int SessionTable::open(const QString& code, const QDateTime& now)
{
    Session s;
    s.id = ++lastId_;
    s.code = code;
    s.token = NewSecret();
    s.validFrom = now;
    byToken_.insert(s.token, s.id);
    sessions_.emplace(s.id, s);
    return s.id;
}

bool SessionTable::reopen(int id, const QDateTime& now)
{
    auto it = sessions_.find(id);
    if (it == sessions_.end())
        return false;
    Session& s = it->second;
    byToken_.remove(s.token);
    s.token = NewSecret();
    s.device.clear();
    s.validFrom = now;
    s.finished = false;
    s.closed = false;
    byToken_.insert(s.token, s.id);
    return true;
}

bool SessionTable::close(int id)
{
    auto it = sessions_.find(id);
    if (it == sessions_.end())
        return false;
    it->second.closed = true;
    return true;
}

bool SessionTable::finish(int id)
{
    auto it = sessions_.find(id);
    if (it == sessions_.end() || it->second.closed)
        return false;
    it->second.finished = true;
    return true;
}

QByteArray SessionTable::begin(int id)
{
    auto it = sessions_.find(id);
    if (it == sessions_.end() || !it->second.device.isEmpty() || it->second.finished || it->second.closed)
        return {};
    it->second.device = NewSecret();
    return it->second.device;
}

void SessionTable::remove(int id)
{
    auto it = sessions_.find(id);
    if (it == sessions_.end())
        return;
    byToken_.remove(it->second.token);
    sessions_.erase(it);
}

const Session* SessionTable::byToken(const QByteArray& token) const
{
    const auto found = byToken_.constFind(token);
    if (found == byToken_.constEnd())
        return nullptr;
    const Session* s = byId(*found);
    // The table's own lookup found it; the token is still compared in constant time.
    return s && sameSecret(s->token, token) ? s : nullptr;
}

const Session* SessionTable::byId(int id) const
{
    const auto it = sessions_.find(id);
    return it == sessions_.end() ? nullptr : &it->second;
}

QList<int> SessionTable::ids() const
{
    QList<int> all;
    for (const auto& entry : sessions_)
        all << entry.first;
    return all;
}

SessionState SessionTable::state(int id, const QDateTime& now) const
{
    const Session* s = byId(id);
    if (!s || s->closed)
        return SessionState::Closed;
    if (s->finished)
        return SessionState::Finished;
    // A clock set back does not make a session live longer than its two hours either.
    const qint64 age = s->validFrom.secsTo(now);
    if (age >= kLifetimeSeconds || age < -kLifetimeSeconds)
        return SessionState::Expired;
    return s->device.isEmpty() ? SessionState::Waiting : SessionState::Begun;
}

Admission SessionTable::admit(const QByteArray& token, const QByteArray& device, const QDateTime& now) const
{
    const Session* s = byToken(token);
    if (!s)
        return Admission::Unknown;
    switch (state(s->id, now)) {
    case SessionState::Closed:
        return Admission::Closed;
    case SessionState::Finished:
        return Admission::Finished;
    case SessionState::Expired:
        return Admission::Expired;
    case SessionState::Waiting:
        return Admission::Begins;
    case SessionState::Begun:
        return sameSecret(s->device, device) ? Admission::Granted : Admission::OtherDevice;
    }
    return Admission::Unknown;
}

int SessionTable::liveCount(const QDateTime& now) const
{
    int n = 0;
    for (const auto& [id, s] : sessions_) {
        const SessionState st = state(id, now);
        n += st == SessionState::Waiting || st == SessionState::Begun;
    }
    return n;
}

QDateTime SessionTable::nextExpiry(const QDateTime& now) const
{
    QDateTime next;
    for (const auto& [id, s] : sessions_) {
        const SessionState st = state(id, now);
        if (st != SessionState::Waiting && st != SessionState::Begun)
            continue;
        const QDateTime end = s.validFrom.addSecs(kLifetimeSeconds);
        if (!next.isValid() || end < next)
            next = end;
    }
    return next;
}

} // namespace phone
