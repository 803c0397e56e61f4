#include "phone/wrong_token_brake.h"

#include <algorithm>
#include <cmath>

namespace phone {

void WrongTokenBrake::refill(Bucket& b, int burst, qint64 refillMs, qint64 nowMs) const
{
    if (nowMs > b.at) {
        b.tokens = std::min<double>(burst, b.tokens + double(nowMs - b.at) / double(refillMs));
        b.at = nowMs;
    }
}

void WrongTokenBrake::forgetIdle(qint64 nowMs)
{
    if (nowMs - lastSweep_ < 10'000 && peers_.size() < 4096)
        return;
    lastSweep_ = nowMs;
    for (auto it = peers_.begin(); it != peers_.end();) {
        refill(*it, limits_.peerBurst, limits_.peerRefillMs, nowMs);
        if (it->waiting == 0 && it->tokens >= limits_.peerBurst)
            it = peers_.erase(it);
        else
            ++it;
    }
}

WrongTokenBrake::Verdict WrongTokenBrake::refused(const QString& peer, qint64 nowMs)
{
    if (!started_) {
        all_ = {double(limits_.allBurst), nowMs, 0};
        started_ = true;
    }
    forgetIdle(nowMs);
    auto it = peers_.find(peer);
    if (it == peers_.end())
        it = peers_.insert(peer, Bucket{double(limits_.peerBurst), nowMs, 0});
    Bucket& mine = *it;
    refill(mine, limits_.peerBurst, limits_.peerRefillMs, nowMs);
    refill(all_, limits_.allBurst, limits_.allRefillMs, nowMs);
    if (mine.waiting >= limits_.peerWaiting || allWaiting_ >= limits_.allWaiting)
        return {Verdict::Kind::Drop, 0};
    // An allowance used up runs into debt: the refusal waits until it has grown back.
    mine.tokens -= 1;
    all_.tokens -= 1;
    const auto debtMs = [](double tokens, qint64 refillMs) {
        return tokens >= 0 ? qint64(0) : qint64(std::ceil(-tokens * double(refillMs)));
    };
    const qint64 wait = std::max(debtMs(mine.tokens, limits_.peerRefillMs), debtMs(all_.tokens, limits_.allRefillMs));
    if (wait == 0)
        return {Verdict::Kind::Now, 0};
    ++mine.waiting;
    ++allWaiting_;
    return {Verdict::Kind::Wait, wait};
}

void WrongTokenBrake::released(const QString& peer)
{
    auto it = peers_.find(peer);
    if (it != peers_.end() && it->waiting > 0)
        --it->waiting;
    if (allWaiting_ > 0)
        --allWaiting_;
}

} // namespace phone
