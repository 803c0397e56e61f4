#pragma once
// The code the registration proposes for a new examinee.
#include <QString>
#include <functional>
#include <optional>
#include <utility>

// The number written by the leading digits of a code, plus one, as decimal text. Leading
// blanks are skipped; a code without leading digits counts as 0. Works on the digits
// themselves, so no code is too long to be followed.
QString NextCode(const QString& code);


// How many codes from lo to hi are taken: lo and hi are decimal texts of one length without a
// leading zero, lo <= hi. std::nullopt when that cannot be found out.
using CountTakenCodes = std::function<std::optional<qint64>(const QString& lo, const QString& hi)>;

// The search for the first code after lastCode (the code of the last registered examinee) that
// is not taken, one question at a time. It asks how many codes of a range are taken: ranges
// that double (up to kLargestRange codes) while all their codes are taken, then halving to the
// first free one. Each code is counted about once, by a few dozen questions.
class CodeSearch {
public:
    static constexpr qint64 kLargestRange = 4096;

    explicit CodeSearch(const QString& lastCode);
    // The range to count next; std::nullopt once the proposal is known.
    std::optional<std::pair<QString, QString>> question() const;
    // How many codes of the range last asked are taken.
    void answer(qint64 taken);
    bool done() const { return phase_ == Phase::Done; }
    QString proposal() const { return proposal_; }

private:
    enum class Phase { Growing, Halving, OneByOne, Done };
    void grow();
    void finish(const QString& code);

    Phase phase_ = Phase::Growing;
    int digits_ = 0;
    qint64 lo_ = 0;   // every code of this length from the first asked up to lo_ - 1 is taken
    qint64 hi_ = 0;   // the range asked: lo_ .. hi_ (while halving: lo_ .. mid)
    qint64 size_ = 1; // while growing: the next range's length
    qint64 free_ = 0; // while halving: a free code lies in lo_ .. free_
    QString code_;    // one by one: the code asked
    QString proposal_;
};

// The whole search at once. std::nullopt when a count could not be found out.
std::optional<QString> ProposeCode(const QString& lastCode, const CountTakenCodes& countTaken);
