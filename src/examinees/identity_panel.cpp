#include "examinees/identity_panel.h"
#include "kit/app_context.h"
#include "kit/controls.h"
#include "kit/digit_filter.h"
#include "store/view.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

using examinees::IdentityField;

IdentityPanel::IdentityPanel(AppContext& ctx, const QString& objectName, const QList<Field>& fields, Order order,
                             int perLine, QWidget* parent)
    : QFrame(parent)
    , order_(order)
    , perLine_(perLine)
{
    setObjectName(objectName);
    grid_ = new QGridLayout(this);
    grid_->setContentsMargins(8, 6, 8, 6);
    grid_->setHorizontalSpacing(6);
    grid_->setVerticalSpacing(5);

    for (const Field& f : fields) {
        QLineEdit* edit = MakeField(this, f.objectName);
        fields_.insert(f.field, edit);
        if (f.maxLength > 0)
            edit->setMaxLength(f.maxLength);
        if (f.kind == Kind::Digits)
            DigitFilter::install(edit, ctx);
        edit->setReadOnly(f.kind == Kind::ReadOnly);
        if (f.kind == Kind::Hidden || f.kind == Kind::List)
            edit->hide();
        if (f.kind == Kind::Hidden)
            continue;

        QWidget* shown = edit;
        if (f.kind == Kind::List) {
            QComboBox* choice = MakeChoiceList(this, f.listName, f.prompt, f.entries);
            CoupleListToField(choice, edit);
            lists_.insert(f.field, choice);
            shown = choice;
        }
        QLabel* label = MakeFieldCaption(this, f.caption);
        captions_.insert(f.field, label);

        const int row = order_ == Order::RowByRow ? pairs_ / perLine_ : pairs_ % perLine_;
        const int place = order_ == Order::RowByRow ? pairs_ % perLine_ : pairs_ / perLine_;
        // Each place is a caption, its field and a narrow gap to the next place.
        grid_->addWidget(label, row, place * 3);
        grid_->addWidget(shown, row, place * 3 + 1);
        grid_->setColumnStretch(place * 3 + 1, 1);
        if (place > 0)
            grid_->setColumnMinimumWidth(place * 3 - 1, 12);
        shown->setMinimumWidth(60);
        ++pairs_;
    }
}

int IdentityPanel::nextRow() const
{
    if (pairs_ == 0)
        return 0;
    return order_ == Order::RowByRow ? (pairs_ - 1) / perLine_ + 1 : std::min(pairs_, perLine_);
}

int IdentityPanel::columnCount() const
{
    return grid_->columnCount();
}

void IdentityPanel::load(const store::View& row)
{
    for (auto it = fields_.cbegin(); it != fields_.cend(); ++it)
        it.value()->setText(row.value(examinees::columnOf(it.key())));
}

void IdentityPanel::clear(const QList<IdentityField>& which)
{
    for (IdentityField f : which) {
        if (QLineEdit* edit = fields_.value(f))
            edit->clear();
    }
}

store::Result IdentityPanel::writeTo(store::View& row, const QList<IdentityField>& which) const
{
    for (IdentityField f : which) {
        const QLineEdit* edit = fields_.value(f);
        if (!edit)
            continue;
        const QString column = examinees::columnOf(f);
        if (!row.isNew() && edit->text() == row.value(column))
            continue;
        if (store::Result r = row.setValue(column, edit->text()); !r)
            return r;
    }
    return store::Result::success();
}
