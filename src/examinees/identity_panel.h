#pragma once
// An examinee's identity as caption/field pairs bound to the columns of his IDE row. The
// registration panel, the test screen's examinee panel and the scoring screen describe their
// fields in a table; this panel builds and lays them out, fills them from a row and writes them
// back.
#include "examinees/identity.h"
#include "store/result.h"

#include <QFrame>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

class AppContext;
class QComboBox;
class QGridLayout;
class QLabel;
class QLineEdit;

namespace store {
class View;
}

class IdentityPanel : public QFrame {
    Q_OBJECT
public:
    enum class Kind {
        Text,     // typed
        Digits,   // typed, digits only
        ReadOnly, // shown, never typed
        List,     // chosen from a list; the field behind it is hidden and holds the value
        Hidden,   // held, not shown
    };

    struct Field {
        examinees::IdentityField field;
        Kind kind;
        QString objectName; // of the field (for a list: of the hidden field behind it)
        QString caption = {};
        QString listName = {}; // a list's objectName
        QString prompt = {};   // what a list shows while nothing is chosen
        QStringList entries = {};
        int maxLength = 0;     // 0: no limit
    };

    enum class Order {
        RowByRow,       // pair i in row i / perLine, place i % perLine (the first place on the right)
        ColumnByColumn, // pair i in column i / perLine, row i % perLine (the first column on the right)
    };

    // Hidden fields take no place; the others are laid out in the order given. The panel draws no
    // frame of its own: a screen whose panel it is styles it (StylePanel).
    IdentityPanel(AppContext& ctx, const QString& objectName, const QList<Field>& fields, Order order,
                  int perLine, QWidget* parent);

    QLineEdit* field(examinees::IdentityField f) const { return fields_.value(f); }
    QComboBox* list(examinees::IdentityField f) const { return lists_.value(f); }
    QLabel* caption(examinees::IdentityField f) const { return captions_.value(f); }
    // Where the screen adds its own controls under the pairs (the grid's next free row).
    QGridLayout* grid() const { return grid_; }
    int nextRow() const;
    int columnCount() const;

    // Every field from the row's column (empty without a current row).
    void load(const store::View& row);
    // Empties the given fields; a list behind an emptied field shows its prompt again.
    void clear(const QList<examinees::IdentityField>& which);
    // Writes the given fields into the row's pending edit where they differ from it (a new row
    // takes all of them). Stored by the caller's update().
    store::Result writeTo(store::View& row, const QList<examinees::IdentityField>& which) const;

private:
    QMap<examinees::IdentityField, QLineEdit*> fields_;
    QMap<examinees::IdentityField, QComboBox*> lists_;
    QMap<examinees::IdentityField, QLabel*> captions_;
    QGridLayout* grid_ = nullptr;
    int pairs_ = 0;
    Order order_;
    int perLine_;
};
