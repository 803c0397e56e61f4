#pragma once
// The 71 items laid out as on the printed answer sheet: down columns of nine, each number
// beside a field of one character. The answer sheet keys into it; the workbook import shows in
// it what it will store.
#include <QVector>

class QFrame;
class QLabel;
class QLineEdit;

struct ItemGrid {
    QVector<QLabel*> numbers; // "1" … "71"
    QVector<QLineEdit*> fields;
};

// Fills frame (which gets the grid layout) with the items; numberName and fieldName are
// objectName patterns with %1 for the item ("SkinLbl1_%1", "Txt1_%1").
ItemGrid BuildItemGrid(QFrame* frame, const QString& numberName, const QString& fieldName);
