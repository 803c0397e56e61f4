#pragma once
#include <QString>

namespace store {

// Outcome of a store operation: failures carry a readable reason instead of throwing.
struct [[nodiscard]] Result {
    bool ok = true;
    QString error;

    static Result success() { return {}; }
    static Result failure(const QString& why) { return {false, why}; }
    explicit operator bool() const { return ok; }
};

} // namespace store
