#pragma once
#include <QString>

namespace store {

// What kind of failure a caller may answer in its own way; most are just Other.
enum class Failure {
    None,
    Other,
    DuplicateKey,     // a unique key refused the row (another computer took the code first)
    ChangedMeanwhile, // the row was changed or removed since it was read; the view read it anew
    Unreachable,      // the database server cannot be reached; the next use tries again
};

// Outcome of a store operation: failures carry a readable reason instead of throwing.
struct [[nodiscard]] Result {
    bool ok = true;
    QString error;
    Failure kind = Failure::None;

    static Result success() { return {}; }
    static Result failure(const QString& why) { return {false, why, Failure::Other}; }
    static Result failure(Failure kind, const QString& why) { return {false, why, kind}; }
    explicit operator bool() const { return ok; }
};

} // namespace store
