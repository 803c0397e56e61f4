#include "capture/answer_sheet_screen.h"
#include "kit/app_context.h"
#include "kit/controls.h"
#include "kit/texts.h"
#include "kit/twips.h"
#include "capture/capture_texts.h"
#include "capture/item_counter.h"
#include "capture/item_grid.h"
#include "settings/apply_theme.h"
#include "store/examinee_rows.h"
#include "store/schema.h"

#include <QEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QSignalBlocker>
#include <QTimer>
#include <QVBoxLayout>

namespace {

const QString kCloseUnsaved = QStringLiteral("پاسخ هايي که ذخيره نشد از دست مي روند. صفحه بسته شود؟");

QPushButton* makeButton(QWidget* parent, const QString& name, const QString& caption)
{
    QPushButton* button = MakeButton(parent, name, caption);
    button->setAutoDefault(false); // Enter belongs to the code field
    return button;
}

QLineEdit* makeHiddenField(QWidget* parent, const QString& name)
{
    QLineEdit* field = MakeField(parent, name);
    field->hide();
    return field;
}

} // namespace

Frmpas2::Frmpas2(AppContext& ctx, std::function<QString()> identifierLabel, QWidget* parent)
    : QDialog(parent)
    , examineeFile_(std::make_shared<store::Connection>(ctx.path(store::kExamineeFile)))
    , answers(examineeFile_, QStringLiteral("Answer"))
    , identities(examineeFile_, QStringLiteral("IDE"))
    , ctx_(ctx)
    , identifierLabel_(std::move(identifierLabel))
{
    setObjectName(QStringLiteral("Frmpas2"));
    setWindowTitle(texts::kCaptionAnswerSheet);
    build();
    load();
}

Frmpas2::~Frmpas2() = default;

void Frmpas2::build()
{
    setFixedSize(twipsSize(10500, 7500));
    auto* page = new QVBoxLayout(this);
    page->setContentsMargins(14, 12, 14, 12);
    page->setSpacing(10);

    auto* top = new QHBoxLayout;
    Text4 = new QLineEdit(this);
    Text4->setObjectName(QStringLiteral("Text4"));
    Text4->setFixedWidth(twips(1500));
    Command3 = makeButton(this, QStringLiteral("Command3"), texts::kCaptionSelectExaminee);
    SkinLbl2 = new QLabel(this);
    SkinLbl2->setObjectName(QStringLiteral("SkinLbl2"));
    SkinLbl2->setTextFormat(Qt::PlainText);
    QFont nameFont = SkinLbl2->font();
    nameFont.setBold(true);
    SkinLbl2->setFont(nameFont);
    top->addWidget(MakeFieldCaption(this, QStringLiteral(" :") + identifierLabel_()));
    top->addWidget(Text4);
    top->addWidget(Command3);
    top->addSpacing(20);
    top->addWidget(SkinLbl2, 1);
    page->addLayout(top);

    SkinLabel1 = new QLabel(texts::kSheetInstruction, this);
    SkinLabel1->setObjectName(QStringLiteral("SkinLabel1"));
    SkinLabel1->setTextFormat(Qt::PlainText);
    SkinLabel1->setAlignment(Qt::AlignCenter);
    SkinLabel1->setWordWrap(true);
    page->addWidget(SkinLabel1);

    Frame1 = MakePanel(this, QStringLiteral("Frame1"));
    QSizePolicy keepPlace = Frame1->sizePolicy();
    keepPlace.setRetainSizeWhenHidden(true); // the window keeps its look before a selection
    Frame1->setSizePolicy(keepPlace);
    const ItemGrid grid = BuildItemGrid(Frame1, QStringLiteral("SkinLbl1_%1"), QStringLiteral("Txt1_%1"));
    SkinLbl1 = grid.numbers;
    Txt1 = grid.fields;
    for (int item = 1; item <= kItemCount; ++item) {
        QLineEdit* field = entryField(item);
        // Only typed digits may reach the row: no paste from a menu, no drop, no input method.
        field->setContextMenuPolicy(Qt::NoContextMenu);
        field->setAcceptDrops(false);
        field->setAttribute(Qt::WA_InputMethodEnabled, false);
        field->installEventFilter(this);
        connect(field, &QLineEdit::textChanged, this, [this, item] { entryChanged(item); });
        auto* stored = makeHiddenField(Frame1, QStringLiteral("Txt2_%1").arg(item));
        stored->setMaxLength(1);
        // A stored response that changes (a new examinee, or a typed value written into it)
        // is not typing.
        connect(stored, &QLineEdit::textChanged, this, [this] { entry_.loading(); });
        Txt2 << stored;
    }
    page->addWidget(Frame1, 1);

    auto* bottom = new QHBoxLayout;
    Command1 = makeButton(this, QStringLiteral("Command1"), texts::kCaptionSave);
    Command2 = makeButton(this, QStringLiteral("Command2"), texts::kCaptionExit);
    bottom->addStretch();
    bottom->addWidget(Command1);
    bottom->addSpacing(20);
    bottom->addWidget(Command2);
    bottom->addStretch();
    page->addLayout(bottom);

    Text11 = makeHiddenField(this, QStringLiteral("Text11"));
    Text6 = makeHiddenField(this, QStringLiteral("Text6"));
    Text13 = makeHiddenField(this, QStringLiteral("Text13"));

    connect(Command3, &QPushButton::clicked, this, &Frmpas2::selectExaminee);
    connect(Text4, &QLineEdit::returnPressed, this, &Frmpas2::selectExaminee);
    connect(Command1, &QPushButton::clicked, this, &Frmpas2::save);
    connect(Command2, &QPushButton::clicked, this, &QDialog::close);
}

void Frmpas2::load()
{
    move(StandardWindowPosition());
    ApplyTheme(ctx_.programFolder(), this);
    // Opening reads nothing a screen could act on: the grid stays hidden until a selection.
    for (store::View* v : {&answers, &identities})
        if (const store::Result r = v->refresh(); !r)
            ReportFailure(ctx_.dialogs(), this, texts::kExamineeNotRead, r.error);
    Text13->setText(QStringLiteral("0"));
    Frame1->hide();
}

void Frmpas2::selectExaminee()
{
    const QString code = Text4->text();
    if (code.isEmpty()) {
        ShowAutoClosingMessage(ctx_.dialogs(), this, texts::MustEnterCode(identifierLabel_()));
        return;
    }
    // What was typed for the examinee on the grid is kept before the next one replaces it.
    if (!commitEntries())
        return;
    selected_ = false;
    selectedCode_.clear();
    responses_.clear();
    if (const store::Result r = store::SelectByCode(identities, code); !r) {
        Frame1->hide();
        ReportFailure(ctx_.dialogs(), this, texts::kExamineeNotRead, r.error);
        return;
    }
    if (!identities.hasCurrent()) {
        Frame1->hide();
        SkinLbl2->clear();
        ShowAutoClosingMessage(ctx_.dialogs(), this, texts::kNoSuchPerson);
        return;
    }
    // A registered examinee without a response row gets one, so he can always be keyed.
    if (const store::Result r = store::SelectOrAddResponseRow(answers, code); !r) {
        Frame1->hide();
        ReportFailure(ctx_.dialogs(), this, texts::kResponseRowNotCreated, r.error);
        return;
    }
    responses_.markRead();
    selected_ = true;
    selectedCode_ = code;
    Frame1->show();
    Text11->setText(identities.value(QStringLiteral("FName")));
    Text6->setText(identities.value(QStringLiteral("LName")));
    SkinLbl2->setText(Text11->text() + QLatin1Char(' ') + Text6->text());
    entry_.restartCount();
    Text13->setText(QStringLiteral("0"));
    showStoredResponses();
    Txt1.first()->setFocus();
    Txt1.first()->selectAll();
}

void Frmpas2::showStoredResponses()
{
    entry_.loading(); // these copies are never entries
    for (int item = 1; item <= kItemCount; ++item) {
        responseField(item)->setText(answers.value(QString::number(item)));
        setEntryText(item, responseField(item)->text());
    }
}

void Frmpas2::setEntryText(int item, const QString& text)
{
    const QScopedValueRollback<bool> ours(ownEdit_, true);
    entryField(item)->setText(text);
}

bool Frmpas2::eventFilter(QObject* watched, QEvent* event)
{
    const qsizetype index = Txt1.indexOf(qobject_cast<QLineEdit*>(watched));
    if (index < 0)
        return QDialog::eventFilter(watched, event);
    const int item = int(index) + 1;
    switch (event->type()) {
    case QEvent::KeyPress: {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->matches(QKeySequence::Paste) || key->matches(QKeySequence::Cut)
            || key->matches(QKeySequence::Undo) || key->matches(QKeySequence::Redo)) {
            entry_.keystroke();
            refuse();
            return true;
        }
        const answer_sheet::KeyVerdict verdict = answer_sheet::ClassifyKey(key->key(), key->text());
        switch (verdict.rule) {
        case answer_sheet::KeyVerdict::Rule::Pass:
            return false;
        case answer_sheet::KeyVerdict::Rule::Answer:
            entry_.keystroke();
            typeInto(item, verdict.code);
            return true;
        case answer_sheet::KeyVerdict::Rule::Erase:
            entry_.keystroke();
            typeInto(item, QString());
            return true;
        case answer_sheet::KeyVerdict::Rule::Refuse:
            entry_.keystroke();
            refuse();
            return true;
        }
        return true;
    }
    case QEvent::InputMethod:
        if (!static_cast<QInputMethodEvent*>(event)->commitString().isEmpty()) {
            refuse();
            return true;
        }
        break;
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
        event->ignore();
        return true;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
        // The middle button pastes the primary selection on X11.
        if (static_cast<QMouseEvent*>(event)->button() == Qt::MiddleButton)
            return true;
        break;
    default:
        break;
    }
    return QDialog::eventFilter(watched, event);
}

void Frmpas2::typeInto(int item, const QString& code)
{
    const QScopedValueRollback<bool> ours(ownEdit_, true);
    if (entryField(item)->text() != code)
        entryField(item)->setText(code); // its change is processed as an entry
    else
        entryChanged(item); // the same answer typed again still moves on
}

void Frmpas2::entryChanged(int item)
{
    if (!ownEdit_) {
        // Text that came by any other way than an accepted key (a paste, the primary selection,
        // a drop, an input method) is taken back: the field shows what the row holds, and the
        // taking back is no entry either.
        const QSignalBlocker quiet(entryField(item));
        entryField(item)->setText(responseField(item)->text());
        refuse();
        return;
    }
    const std::optional<answer_sheet::Entry::Step> step = entry_.fieldChanged(item, entryField(item)->text());
    if (!step || !selected_)
        return;
    responseField(item)->setText(step->stored);
    if (step->stored.isEmpty())
        entry_.loading();
    else
        entry_.keystroke();
    if (const store::Result r = responses_.set(item, step->stored); !r) {
        ReportFailure(ctx_.dialogs(), this, texts::kResponsesNotStored, r.error);
        return;
    }
    {
        const QSignalBlocker quiet(Text13);
        Text13->setText(QString::number(entry_.counter()));
    }
    if (step->focusItem) {
        QLineEdit* next = entryField(*step->focusItem);
        next->setFocus(Qt::OtherFocusReason);
        next->selectAll(); // the next keystroke replaces that item's previous answer
    }
    // The commit writes to disk; it follows the keystroke at once, so the keystroke itself
    // (stored, cursor moved on) never waits for the disk.
    if (step->commit)
        QTimer::singleShot(0, this, [this] { commitEntries(); });
}

bool Frmpas2::commitEntries()
{
    if (!selected_ || !answers.hasPendingEdit())
        return true;
    // Keys never replace, unasked, an answer the examinee gave meanwhile on his phone.
    QVector<capture::ChangedAnswer> kept;
    const store::Result r = responses_.storeAsking(
        [this](const QString& question) {
            return ctx_.dialogs().question(this, titles::kAttention, question, Dialogs::Icon::Question);
        },
        &kept);
    for (const capture::ChangedAnswer& c : kept) {
        responseField(c.item)->setText(c.stored);
        setEntryText(c.item, c.stored);
    }
    if (!r) {
        ReportFailure(ctx_.dialogs(), this, texts::kResponsesNotStored, r.error);
        return false;
    }
    return true;
}

void Frmpas2::save()
{
    const QString code = Text4->text();
    if (code.isEmpty()) {
        ShowAutoClosingMessage(ctx_.dialogs(), this, texts::MustEnterCode(identifierLabel_()));
        return;
    }
    // Saved is said only of the sheet on the grid, and only for the code that chose it.
    if (!selected_) {
        ctx_.dialogs().message(this, titles::kAttention, texts::kSheetNotSelected,
                               Dialogs::Icon::Warning);
        return;
    }
    if (code != selectedCode_) {
        ctx_.dialogs().message(this, titles::kAttention,
                               texts::SheetOfAnotherCode(identifierLabel_(), selectedCode_, code),
                               Dialogs::Icon::Warning);
        return;
    }
    // The identity row is only read here: it has nothing to store.
    if (commitEntries())
        ShowAutoClosingMessage(ctx_.dialogs(), this, texts::kSheetSaved);
}

void Frmpas2::done(int result)
{
    // Entries that could not be stored stay on screen until the user lets them go: closing again
    // after the store works (the server is back), or leaving them.
    if (!commitEntries() && !ctx_.dialogs().question(this, titles::kError, kCloseUnsaved, Dialogs::Icon::Warning))
        return;
    QDialog::done(result);
}

void Frmpas2::refuse()
{
    ctx_.dialogs().beep();
}

