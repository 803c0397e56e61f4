#pragma once
// Slows down guessing: requests refused for their token (unknown, or not this device's) are
// answered at once only a few at a time. Past that, each refusal waits until the allowance it
// used has grown back (one every refill period), and what would make too many wait is dropped
// unanswered. The brake never
// sees the requests of a session's own device, which are answered at once whatever goes on.
#include <QHash>
#include <QString>

namespace phone {

class WrongTokenBrake {
public:
    struct Verdict {
        enum class Kind { Now, Wait, Drop } kind = Kind::Now;
        qint64 waitMs = 0;
        bool operator==(const Verdict&) const = default;
    };

    struct Limits {
        int peerBurst = 10;         // refusals a peer may have answered at once
        qint64 peerRefillMs = 500;  // one more every this long
        int peerWaiting = 20;       // refusals of one peer that may wait; more are dropped
        int allBurst = 100;         // the same over all peers together
        qint64 allRefillMs = 50;
        int allWaiting = 200;
    };

    WrongTokenBrake() = default;
    explicit WrongTokenBrake(const Limits& limits) : limits_(limits) {}

    // A request from the peer was refused for its token at nowMs (a steady clock).
    Verdict refused(const QString& peer, qint64 nowMs);
    // A refusal that waited has been answered (or its connection went away).
    void released(const QString& peer);
    int waiting() const { return allWaiting_; }
    // Peers remembered (those with a full allowance and nothing waiting are forgotten).
    int peerCount() const { return int(peers_.size()); }

private:
    struct Bucket {
        double tokens = 0;
        qint64 at = 0;
        int waiting = 0;
    };
    void refill(Bucket& b, int burst, qint64 refillMs, qint64 nowMs) const;
    void forgetIdle(qint64 nowMs);

    Limits limits_;
    QHash<QString, Bucket> peers_;
    Bucket all_;
    int allWaiting_ = 0;
    bool started_ = false;
    qint64 lastSweep_ = 0;
};

} // namespace phone
