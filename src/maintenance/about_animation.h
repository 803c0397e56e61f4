#pragma once
// The about screen's moving parts, apart from its widgets: the credit list and its scrolling,
// the colour cycle and the credit line that closes up letter by letter.
#include "kit/publisher.h"

#include <QColor>
#include <QString>
#include <QStringList>
#include <QVector>
#include <optional>

namespace maintenance {

// The nine entries: software name, product, author, the five contact lines, and an empty one.
QStringList CreditList(const PublisherAddresses& publisher);
// The credit line before it closes up: every letter followed by blanks, a "." between words.
QString SpacedCreditLine(const QString& credit, int blanksPerLetter = 3);
// The credit line as it stands when closed up.
QString CreditLineText();

// One replacement per tick: the blanks vanish first, then the word marks turn into blanks.
struct CreditLineCloser {
    QString search = QStringLiteral(" ");
    QString replacement;
    // Changes text by one step; false once nothing changes any more.
    bool step(QString& text);
};

// The four scrolling labels. Positions in twips.
struct CreditScroll {
    static constexpr int kTopLimit = 1000;
    static constexpr int kStep = 15;
    static constexpr int kBottomMargin = 1500;

    QVector<int> tops; // Label1..Label4
    int formHeight = 0;
    int index = 4;     // the last entry shown

    struct Recycled {
        int label; // 0..3
        int entry; // 1..9
    };
    // Moves the first label that reached the top to the bottom with the next entry (at most
    // one per tick), then moves all up one step.
    std::optional<Recycled> tick();
};

// The colour of Label1 for the colour counter (0, 2, … 14) from the classic 16-colour palette.
QColor PaletteColour(int counter);

} // namespace maintenance
