#include "capture/item_number.h"
#include "capture/item_counter.h"

#include <algorithm>

int EditedItemFor(const QString& numberText)
{
    return std::clamp(CounterValue(numberText), 1, kItemCount);
}

int SteppedEditedItem(const QString& numberText, int step)
{
    return std::clamp(qint64(CounterValue(numberText)) + step, qint64(1), qint64(kItemCount));
}
