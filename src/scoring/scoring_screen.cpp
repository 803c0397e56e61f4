#include "scoring/scoring_screen.h"
#include "examinees/identity.h"
#include "kit/controls.h"
#include "kit/identity_texts.h"
#include "examinees/identity_panel.h"
#include "kit/texts.h"
#include "kit/twips.h"
#include "scoring/scoring_key.h"
#include "scoring/scoring_texts.h"
#include "scoring/unanswered_items.h"
#include "settings/apply_theme.h"
#include "store/schema.h"
#include "store/examinee_rows.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QPainter>
#include <QTextDocument>
#include <QTextOption>
#include <QVBoxLayout>

namespace {

constexpr int kItemsPerRow = 18;

QLineEdit* makeReadOnlyField(QWidget* parent, const QString& name)
{
    QLineEdit* field = MakeField(parent, name);
    field->setReadOnly(true);
    return field;
}

} // namespace

FrmkLID::FrmkLID(AppContext& ctx, QWidget* mainWindow, std::function<QString()> identifierLabel, QWidget* parent)
    : QWidget(parent)
    , ctx_(ctx)
    , mainWindow_(mainWindow)
    , identifierLabel_(std::move(identifierLabel))
    , answer_(ctx.path(store::kExamineeFile), QStringLiteral("Answer"))
    , ide_(ctx.path(store::kExamineeFile), QStringLiteral("IDE"))
{
    setObjectName(QStringLiteral("FrmkLID"));
    setWindowTitle(texts::kCaptionKeying);
    buildWindow();
}

FrmkLID::~FrmkLID() = default;

void FrmkLID::buildWindow()
{
    auto* root = new QHBoxLayout(this);
    root->setContentsMargins(10, 10, 10, 10);
    root->setSpacing(10);
    root->addWidget(buildCommandPanel(), 0, Qt::AlignTop);

    auto* content = new QVBoxLayout;
    content->setSpacing(10);
    buildIdentityPanel();
    buildResponsesPanel();
    content->addWidget(Frame5);
    content->addWidget(Frame3);
    content->addStretch(1);
    root->addLayout(content, 1);

    // Hidden panels keep their room, so the window does not jump as an examinee is chosen.
    for (QWidget* w : {static_cast<QWidget*>(Frame5), static_cast<QWidget*>(Frame3)}) {
        QSizePolicy policy = w->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        w->setSizePolicy(policy);
    }

    buildHelpPanel();
    setFixedSize(sizeHint());

    connect(Command1, &QPushButton::clicked, this, &FrmkLID::selectExaminee);
    connect(Command8, &QPushButton::clicked, this, &FrmkLID::viewProfile);
    connect(Command5, &QPushButton::clicked, this, [this] {
        placeHelpPanel();
        Frame2->show();
        Frame2->raise();
    });
    connect(Command7, &QPushButton::clicked, Frame2, &QWidget::hide);
    connect(Command4, &QPushButton::clicked, this, &QWidget::close);
    connect(CmdSave, &QPushButton::clicked, this, &FrmkLID::save);
}

QFrame* FrmkLID::buildCommandPanel()
{
    QFrame* panel = MakePanel(this, QStringLiteral("CommandPanel"));
    auto* column = new QVBoxLayout(panel);
    column->setSpacing(8);
    auto button = [panel, column](const QString& name, const QString& caption) {
        auto* b = new QPushButton(caption, panel);
        b->setObjectName(name);
        b->setMinimumSize(130, 34);
        column->addWidget(b);
        return b;
    };
    Command1 = button(QStringLiteral("Command1"), scoring::texts::kCaptionSelectExaminee);
    Command8 = button(QStringLiteral("Command8"), scoring::texts::kCaptionViewProfile);
    Command5 = button(QStringLiteral("Command5"), scoring::texts::kCaptionHelp);
    Command4 = button(QStringLiteral("Command4"), scoring::texts::kCaptionExitLeadingBlank);
    Text5 = makeReadOnlyField(panel, QStringLiteral("Text5"));
    Text5->hide();
    return panel;
}

void FrmkLID::buildIdentityPanel()
{
    using F = examinees::IdentityField;
    using K = IdentityPanel::Kind;
    // Three pairs a row, the first on the right. Only sex and education can be changed here,
    // through their lists; the group is held, not shown.
    const QList<IdentityPanel::Field> fields = {
        {F::Code, K::ReadOnly, QStringLiteral("Text15")},
        {F::GivenName, K::ReadOnly, QStringLiteral("Text3_3"), ::texts::kCaptionGivenName},
        {F::FamilyName, K::ReadOnly, QStringLiteral("Text12"), ::texts::kCaptionFamilyName},
        {F::Sex, K::List, QStringLiteral("Text10"), ::texts::kCaptionSex, QStringLiteral("Combo2"),
         ::texts::kChooseSex, examinees::Sexes()},
        {F::Age, K::ReadOnly, QStringLiteral("Text6"), ::texts::kCaptionAge},
        {F::MaritalStatus, K::ReadOnly, QStringLiteral("Text11"), ::texts::kCaptionMaritalStatusField},
        {F::Education, K::List, QStringLiteral("Text7"), ::texts::kCaptionEducationField, QStringLiteral("Combo4"),
         ::texts::kChooseEducation, examinees::EducationLevels()},
        {F::Date, K::ReadOnly, QStringLiteral("Text8"), ::texts::kCaptionDate},
        {F::Time, K::ReadOnly, QStringLiteral("Text9"), ::texts::kCaptionTime},
        {F::Group, K::Hidden, QStringLiteral("Text17")},
    };
    identity_ = new IdentityPanel(ctx_, QStringLiteral("Frame5"), fields, IdentityPanel::Order::RowByRow, 3, this);
    Frame5 = identity_;
    StylePanel(Frame5);
    SkinLbl = identity_->caption(F::Code); // the identifier label, read when the screen loads
    SkinLbl->setObjectName(QStringLiteral("SkinLbl"));
    Text15 = identity_->field(F::Code);
    Text3_3 = identity_->field(F::GivenName);
    Text12 = identity_->field(F::FamilyName);
    Text10 = identity_->field(F::Sex);
    Text6 = identity_->field(F::Age);
    Text11 = identity_->field(F::MaritalStatus);
    Text7 = identity_->field(F::Education);
    Text8 = identity_->field(F::Date);
    Text9 = identity_->field(F::Time);
    Text17 = identity_->field(F::Group);
    Combo2 = identity_->list(F::Sex);
    Combo4 = identity_->list(F::Education);
    for (QWidget* w : std::initializer_list<QWidget*>{Text15, Text3_3, Text12, Combo2, Text6, Text11, Combo4, Text8,
                                                      Text9})
        w->setMinimumWidth(150);

    CmdSave = MakeButton(Frame5, QStringLiteral("CmdSave"), ::texts::kCaptionSaveIdentity);
    CmdSave->setMinimumWidth(90);
    identity_->grid()->addWidget(CmdSave, identity_->nextRow(), identity_->columnCount() - 1, Qt::AlignLeft);
}

void FrmkLID::buildResponsesPanel()
{
    Frame3 = MakePanel(this, QStringLiteral("Frame3"));
    auto* column = new QVBoxLayout(Frame3);
    column->setSpacing(10);

    // Items in reading order: item 1 first on the first row.
    auto* items = new QGridLayout;
    items->setHorizontalSpacing(4);
    items->setVerticalSpacing(2);
    QFont small = font();
    small.setPointSizeF(small.pointSizeF() * 0.8);
    for (int item = 1; item <= scoring::kItemCount; ++item) {
        auto* number = new QLabel(QString::number(item), Frame3);
        number->setAlignment(Qt::AlignCenter);
        number->setFont(small);
        QLineEdit* field = makeReadOnlyField(Frame3, QStringLiteral("Txt3_%1").arg(item));
        field->setAlignment(Qt::AlignCenter);
        field->setFixedWidth(30);
        Txt3 << field;
        const int row = (item - 1) / kItemsPerRow * 2;
        const int col = (item - 1) % kItemsPerRow;
        items->addWidget(number, row, col, Qt::AlignCenter);
        items->addWidget(field, row + 1, col, Qt::AlignCenter);
    }
    column->addLayout(items);

    auto* scores = new QGridLayout;
    scores->setHorizontalSpacing(6);
    scores->setVerticalSpacing(2);
    QLineEdit** fields[] = {&TxtL, &TxtF, &TxtK, &TxtHs, &TxtD, &TxtHy, &TxtPd, &TxtPa, &TxtPt, &TxtSc, &TxtMa};
    const QStringList names = store::scaleColumns();
    for (int s = 0; s < scoring::kScaleCount; ++s) {
        auto* name = new QLabel(names.at(s), Frame3);
        name->setAlignment(Qt::AlignCenter);
        QLineEdit* field = makeReadOnlyField(Frame3, QStringLiteral("Txt") + names.at(s));
        field->setAlignment(Qt::AlignCenter);
        field->setFixedWidth(44);
        *fields[s] = field;
        scores->addWidget(name, 0, s, Qt::AlignCenter);
        scores->addWidget(field, 1, s, Qt::AlignCenter);
    }
    column->addLayout(scores);

    auto* unanswered = new QHBoxLayout;
    unanswered->addWidget(MakeLabel(Frame3, QString(), scoring::texts::kCaptionUnanswered));
    LblKhali = new QLabel(Frame3);
    LblKhali->setObjectName(QStringLiteral("LblKhali"));
    LblKhali->setMinimumWidth(30);
    unanswered->addWidget(LblKhali);
    unanswered->addStretch(1);
    column->addLayout(unanswered);
}

void FrmkLID::buildHelpPanel()
{
    Frame2 = MakePanel(this, QStringLiteral("Frame2"));
    Frame2->setFrameShadow(QFrame::Raised);
    Frame2->setLineWidth(2);
    auto* row = new QHBoxLayout(Frame2);
    Text4 = new QPlainTextEdit(Frame2);
    Text4->setObjectName(QStringLiteral("Text4"));
    Text4->setReadOnly(true);
    Text4->setLineWrapMode(QPlainTextEdit::NoWrap);
    Text4->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Text4->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // Persian paragraphs: the document does not take the direction from the widget by itself.
    QTextOption option = Text4->document()->defaultTextOption();
    option.setTextDirection(Qt::RightToLeft);
    option.setAlignment(Qt::AlignRight);
    Text4->document()->setDefaultTextOption(option);
    QString help;
    for (const QString& line : scoring::texts::kHelpLines)
        help += line + QLatin1Char('\n');
    Text4->setPlainText(help);
    Command7 = new QPushButton(::texts::kCaptionExit, Frame2);
    Command7->setObjectName(QStringLiteral("Command7"));
    Command7->setMinimumWidth(90);
    row->addWidget(Text4, 1);
    row->addWidget(Command7, 0, Qt::AlignBottom);
    Frame2->hide();
}

void FrmkLID::placeHelpPanel()
{
    // Over the identity panel, where the user looks first.
    const QRect area = Frame5->geometry();
    const int lines = int(scoring::texts::kHelpLines.size());
    const int textHeight = lines * Text4->fontMetrics().lineSpacing()
        + 2 * int(Text4->document()->documentMargin()) + 2 * Text4->frameWidth() + 4;
    const QMargins m = Frame2->layout()->contentsMargins();
    Frame2->setGeometry(area.x(), area.y(), area.width(), qMax(area.height(), textHeight + m.top() + m.bottom()));
}

void FrmkLID::load()
{
    if (store::Result r = answer_.refresh(); !r)
        reportReadFailure(r.error);
    else if (store::Result r2 = ide_.refresh(); !r2)
        reportReadFailure(r2.error);
    ApplyTheme(ctx_.programFolder(), this, &themeName_);
    SkinLbl->setText(identifierLabel_ ? identifierLabel_() : QString());
    move(StandardWindowPosition());
    Frame2->hide();
    showNoExaminee();
}

void FrmkLID::showNoExaminee()
{
    Frame5->hide();
    Frame3->hide();
    Text5->clear();
    examinee_ = {};
    clearShownExaminee();
}

void FrmkLID::clearShownExaminee()
{
    for (QLineEdit* f : {Text15, Text3_3, Text12, Text10, Text6, Text11, Text7, Text8, Text9, Text17})
        f->clear();
    for (QLineEdit* f : std::as_const(Txt3))
        f->clear();
    for (QLineEdit* f : scoreFields())
        f->clear();
    LblKhali->clear();
}

void FrmkLID::selectExaminee()
{
    const QString label = identifierLabel_ ? identifierLabel_() : QString();
    const std::optional<QString> answer =
        ctx_.dialogs().inputText(this, texts::EnterCodeTitle(label), texts::kEnterCodePrompt);
    if (!answer || answer->isEmpty()) {
        ShowAutoClosingMessage(ctx_.dialogs(), this, texts::MustEnterCode(label));
        return;
    }
    const QString code = *answer;

    // Re-read both tables: other screens may have stored rows since this one opened.
    // The code is bound as a value, so any character in it is just a character.
    for (store::View* view : {&answer_, &ide_}) {
        if (const store::Result r = store::SelectByCode(*view, code); !r) {
            showNoExaminee();
            reportReadFailure(r.error);
            return;
        }
    }
    bool found = false;
    if (const store::Result r = answer_.anyRow(found); !r) {
        showNoExaminee();
        reportReadFailure(r.error); // a failed read is not "no such person"
        return;
    }
    if (!found) {
        showNoExaminee();
        ShowAutoClosingMessage(ctx_.dialogs(), this, texts::kNoSuchPerson);
        return;
    }

    Frame5->show();
    Frame3->show();
    Text5->setText(code);
    examinee_ = examinees::RecordOfRows(ide_, answer_);
    loadIdentity();
    loadResponses();
    reportUnanswered();
    ComputeRawScores();
}

void FrmkLID::loadIdentity()
{
    // An examinee with responses but no identity row is scored all the same; the fields stay empty.
    identity_->load(ide_);
}

void FrmkLID::loadResponses()
{
    const QStringList responses = examinee_.responses.value_or(QStringList());
    for (int item = 1; item <= scoring::kItemCount; ++item)
        responseField(item)->setText(responses.value(item - 1));
}

void FrmkLID::reportUnanswered()
{
    const QVector<int> items = scoring::UnansweredItems(examinee_.responses.value_or(QStringList()));
    LblKhali->setText(QString::number(items.size()));
    if (!items.isEmpty())
        ctx_.dialogs().message(this, titles::kError, scoring::UnansweredWarning(items), Dialogs::Icon::Warning);
}

void FrmkLID::ComputeRawScores()
{
    const QStringList scores = scoring::RawScoreTexts(examinee_.responses.value_or(QStringList()));
    const QVector<QLineEdit*> fields = scoreFields();
    for (int s = 0; s < scoring::kScaleCount; ++s)
        fields[s]->setText(scores.at(s));
}

QStringList FrmkLID::responseTexts() const
{
    QStringList responses;
    for (const QLineEdit* f : Txt3)
        responses << f->text();
    return responses;
}

QVector<QLineEdit*> FrmkLID::scoreFields() const
{
    return {TxtL, TxtF, TxtK, TxtHs, TxtD, TxtHy, TxtPd, TxtPa, TxtPt, TxtSc, TxtMa};
}

examinees::ExamineeRecord FrmkLID::examinee() const
{
    examinees::ExamineeRecord e = examinee_;
    if (e.responses) {
        const examinees::NormGroup corrected = normGroup();
        e.sex = corrected.sex;
        e.education = corrected.education;
    }
    return e;
}

examinees::NormGroup FrmkLID::normGroup() const
{
    // The lists write their choice into these fields: what the user picked, saved or not.
    return {Text10->text(), Text7->text()};
}

void FrmkLID::viewProfile()
{
    if (!examinee_.responses) { // nobody selected: only a found Answer row makes a selection
        ShowAutoClosingMessage(ctx_.dialogs(), this, scoring::texts::kSelectFirst, kLongMessageDelayMs);
        return;
    }
    // Scores are stored under the identity row's code: responses without one have no examinee
    // to keep them for (and an empty code would find another examinee's score rows).
    if (examinee_.code.trimmed().isEmpty()) {
        ctx_.dialogs().message(this, titles::kError, scoring::texts::kNoIdentityRow, Dialogs::Icon::Warning);
        return;
    }
    Q_EMIT profileRequested(examinee());
    hide();
}

void FrmkLID::save()
{
    // Only sex and education can be changed here; write them where they differ from the row.
    store::Result r = identity_->writeTo(ide_, {examinees::IdentityField::Sex, examinees::IdentityField::Education});
    if (r)
        r = ide_.update();
    if (!r) {
        ReportFailure(ctx_.dialogs(), this, scoring::texts::kCannotSaveIdentity, r.error);
        return;
    }
    ShowAutoClosingMessage(ctx_.dialogs(), this, texts::kSaved);
}

void FrmkLID::reportReadFailure(const QString& error)
{
    ReportFailure(ctx_.dialogs(), this, scoring::texts::kCannotReadExaminee, error);
}

void FrmkLID::closeEvent(QCloseEvent* event)
{
    event->accept();
    if (mainWindow_)
        mainWindow_->show();
}
