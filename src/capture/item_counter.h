#pragma once
// What the test screen does when the text of its item counter changes.
#include "store/schema.h"

#include <QString>
#include <optional>

using store::kItemCount;

struct ItemCounterOutcome {
    enum class Notice { None, Start, End };

    // The counter was emptied: the item text is cleared before item 1 is shown.
    bool clearItemText = false;
    // The counter went past the last item: the response row is stored before the notice.
    bool storeResponses = false;
    Notice notice = Notice::None;
    // The text the counter holds afterwards ("1" or "71" when brought back into range).
    QString counterText;
    // The item to show; nothing while the counter rests at 0 (the screen keeps its item).
    std::optional<int> item;
};

// The numeric value of a counter text: an optional sign and the leading digits; anything
// else counts as 0. Values beyond the int range are held at its ends.
int CounterValue(const QString& text);

ItemCounterOutcome ShowItemFor(const QString& counterText);

// The counter text after a step forward (+1) or back (-1) from the current counter text.
QString SteppedCounter(const QString& counterText, int step);
