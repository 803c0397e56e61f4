#pragma once
// The item number of the item-edit panel.
#include <QString>

// The item a typed number shows: the number itself within 1 … 71, the nearest bound outside it,
// and item 1 for an empty or non-numeric text.
int EditedItemFor(const QString& numberText);

// The number after a step back (-1) or forward (+1), kept within 1 … 71.
int SteppedEditedItem(const QString& numberText, int step);
