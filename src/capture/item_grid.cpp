#include "capture/item_grid.h"
#include "capture/item_counter.h"
#include "kit/twips.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>

namespace {

constexpr int kGridRows = 9; // the items run down columns of nine, as on the printed sheet

} // namespace

ItemGrid BuildItemGrid(QFrame* frame, const QString& numberName, const QString& fieldName)
{
    ItemGrid made;
    auto* grid = new QGridLayout(frame);
    grid->setContentsMargins(14, 8, 14, 8);
    grid->setHorizontalSpacing(22); // the columns stand apart; a number stays with its field
    grid->setVerticalSpacing(4);
    QFont entryFont = frame->font();
    entryFont.setPointSize(entryFont.pointSize() + 2);
    for (int item = 1; item <= kItemCount; ++item) {
        auto* cell = new QWidget(frame);
        auto* pair = new QHBoxLayout(cell);
        pair->setContentsMargins(0, 0, 0, 0);
        pair->setSpacing(5);
        auto* number = new QLabel(QString::number(item), cell);
        number->setObjectName(numberName.arg(item));
        number->setAlignment(Qt::AlignVCenter | Qt::AlignLeading);
        number->setMinimumWidth(number->fontMetrics().horizontalAdvance(QStringLiteral("00")));
        auto* field = new QLineEdit(cell);
        field->setObjectName(fieldName.arg(item));
        field->setMaxLength(1);
        field->setAlignment(Qt::AlignCenter);
        field->setFont(entryFont);
        field->setFixedWidth(twips(510));
        pair->addWidget(number);
        pair->addWidget(field);
        grid->addWidget(cell, (item - 1) % kGridRows, (item - 1) / kGridRows);
        made.numbers << number;
        made.fields << field;
    }
    return made;
}
