#include "capture/item_edit_panel.h"
#include "kit/app_context.h"
#include "kit/controls.h"
#include "kit/identity_texts.h"
#include "kit/texts.h"
#include "kit/twips.h"
#include "capture/capture_texts.h"
#include "capture/item_number.h"
#include "store/view.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTextOption>
#include <QVBoxLayout>

namespace {

const QString kTextColumn = QStringLiteral("QU");

} // namespace

ItemEditPanel::ItemEditPanel(AppContext& ctx, store::View& items, QWidget* parent)
    : QFrame(parent)
    , ctx_(ctx)
    , items_(items)
{
    setObjectName(QStringLiteral("Frame1"));
    setProperty("role", QStringLiteral("panel"));
    setFrameShape(QFrame::StyledPanel);
    setAutoFillBackground(true);
    build();
}

void ItemEditPanel::build()
{
    auto* page = new QVBoxLayout(this);
    page->setContentsMargins(12, 10, 12, 10);
    page->setSpacing(8);

    auto* number = new QHBoxLayout;
    Text21 = new QLineEdit(this);
    Text21->setObjectName(QStringLiteral("Text21"));
    Text21->setAlignment(Qt::AlignCenter);
    Text21->setFixedWidth(twips(900));
    // A left-to-right mark keeps the leading colon on the left, next to the field.
    number->addWidget(MakeFieldCaption(this, QChar(0x200E) + texts::kCaptionItemNumber));
    number->addWidget(Text21);
    number->addStretch();
    page->addLayout(number);

    Text18 = new QPlainTextEdit(this);
    Text18->setObjectName(QStringLiteral("Text18"));
    Text18->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Text18->setLayoutDirection(Qt::RightToLeft);
    QTextOption option = Text18->document()->defaultTextOption();
    option.setAlignment(Qt::AlignRight);
    option.setTextDirection(Qt::RightToLeft);
    Text18->document()->setDefaultTextOption(option);
    QFont itemFont = Text18->font();
    itemFont.setPointSize(itemFont.pointSize() + 2);
    Text18->setFont(itemFont);
    page->addWidget(Text18, 1);

    auto* buttons = new QHBoxLayout;
    Command18 = MakeButton(this, QStringLiteral("Command18"), texts::kCaptionPreviousItem);
    Command14 = MakeButton(this, QStringLiteral("Command14"), texts::kCaptionNextItem);
    Command16 = MakeButton(this, QStringLiteral("Command16"), texts::kCaptionSaveIdentity); // "ذخيره ", trailing blank
    Command15 = MakeButton(this, QStringLiteral("Command15"), texts::kCaptionClose);
    // Next on the right and previous on the left, so that their arrows point outwards.
    buttons->addWidget(Command14);
    buttons->addWidget(Command18);
    buttons->addStretch();
    buttons->addWidget(Command16);
    buttons->addWidget(Command15);
    page->addLayout(buttons);

    connect(Text21, &QLineEdit::textChanged, this, &ItemEditPanel::ShowItemForEdit);
    connect(Command18, &QPushButton::clicked, this, &ItemEditPanel::previous);
    connect(Command14, &QPushButton::clicked, this, &ItemEditPanel::next);
    connect(Command16, &QPushButton::clicked, this, &ItemEditPanel::save);
    connect(Command15, &QPushButton::clicked, this, &ItemEditPanel::closePanel);
}

void ItemEditPanel::open()
{
    item_ = 0; // a stale edit from an earlier opening was settled when the panel was hidden
    if (Text21->text() == QLatin1String("1"))
        ShowItemForEdit();
    else
        Text21->setText(QStringLiteral("1"));
}

void ItemEditPanel::setNumber(int item)
{
    if (Text21->text() == QString::number(item))
        ShowItemForEdit();
    else
        Text21->setText(QString::number(item)); // runs ShowItemForEdit
}

void ItemEditPanel::ShowItemForEdit()
{
    const int item = EditedItemFor(Text21->text());
    if (Text21->text() != QString::number(item)) {
        // Empty, not a number, or outside 1 … 71: the number is set right, which shows the item.
        Text21->setText(QString::number(item));
        return;
    }
    if (item == item_)
        return; // the item already shown (previous on item 1): its edit stays as it is
    leaveItem();
    item_ = item;
    const store::Result r = items_.setFilter(QStringLiteral("ID"), QString::number(item));
    storedText_ = r ? items_.value(kTextColumn) : QString();
    Text18->setPlainText(storedText_);
    if (!r)
        ReportFailure(ctx_.dialogs(), window(), texts::kItemNotRead, r.error);
}

bool ItemEditPanel::hasUnsavedEdit() const
{
    return item_ > 0 && Text18->toPlainText() != storedText_;
}

void ItemEditPanel::leaveItem()
{
    if (!hasUnsavedEdit())
        return;
    const int item = item_;
    item_ = 0; // asked once, whatever follows
    if (ctx_.dialogs().question(window(), titles::kAttention, texts::KeepItemEdit(item), Dialogs::Icon::Question)) {
        item_ = item;
        storeText();
        item_ = 0;
    }
}

void ItemEditPanel::previous()
{
    setNumber(SteppedEditedItem(Text21->text(), -1));
}

void ItemEditPanel::next()
{
    setNumber(SteppedEditedItem(Text21->text(), +1));
}

bool ItemEditPanel::storeText()
{
    store::Result r = items_.hasCurrent() ? store::Result::success()
                                          : store::Result::failure(QStringLiteral("QUS: item %1 is missing").arg(item_));
    if (r)
        r = items_.setValue(kTextColumn, Text18->toPlainText());
    if (r)
        r = items_.update();
    if (!r) {
        ReportFailure(ctx_.dialogs(), window(), texts::kItemNotStored, r.error);
        return false;
    }
    storedText_ = items_.value(kTextColumn);
    return true;
}

void ItemEditPanel::save()
{
    if (item_ < 1)
        return;
    if (storeText())
        ShowAutoClosingMessage(ctx_.dialogs(), window(), texts::kChangesSaved);
}

void ItemEditPanel::closePanel()
{
    hide(); // settles an unsaved edit; the settings panel stays
    Q_EMIT closed();
}

void ItemEditPanel::setVisible(bool visible)
{
    // Hidden itself (closed, or by the main window's other panels), not along with its window.
    if (!visible && !isHidden())
        leaveItem();
    QFrame::setVisible(visible);
}
