#include "profile/interpretation_panel.h"

#include "store/schema.h"
#include "kit/controls.h"
#include "kit/texts.h"
#include "kit/twips.h"
#include "profile/interpretation_text.h"
#include "profile/taff_texts.h"
#include "profile/line_ends.h"
#include "profile/profile_screen_texts.h"
#include "profile/score_rows.h"
#include "store/connection.h"
#include "store/examinee_rows.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QTextDocument>
#include <QTextOption>
#include <QVBoxLayout>

namespace {


const QString kCaptionNumber = QStringLiteral("شماره مقياس");
const QString kCaptionName = QStringLiteral("نام مقياس");
const QString kCaptionValidity = QStringLiteral("مقياس هاي اعتباري");
const QString kCaptionLong = QStringLiteral("تفسير جديد طولاني");
const QString kCaptionShort = QStringLiteral("تفسير جديد خلاصه");
const QString kCaptionSaved = QStringLiteral("تفسير ذخيره شده");
const QString kCaptionSave = QStringLiteral("ذخيره تفسير");
const QString kSaveQuestion = QStringLiteral("آيا ميخواهيد تغييرات جديد را ذخيره كنيد؟");

const QString kCannotRank = QStringLiteral("رتبه بندي مقياسها در جدول رتبه بندي ذخيره نشد");
const QString kCannotReadTaff = QStringLiteral("متن هاي تفسير خوانده نشد؛ تفسير ساخته نشد");
const QString kCannotSave = QStringLiteral("تفسير ذخيره نشد");

constexpr int kCellHeight = 24;
constexpr int kCellWidth = 40;

QLabel* cell(QWidget* parent, const QString& name)
{
    QLabel* label = MakeLabel(parent, name);
    label->setAlignment(Qt::AlignCenter);
    label->setFrameShape(QFrame::Box);
    label->setMinimumSize(kCellWidth, kCellHeight);
    return label;
}

QLabel* caption(QWidget* parent, const QString& text, Qt::Alignment alignment)
{
    QLabel* label = MakeLabel(parent, QString(), text);
    label->setAlignment(alignment | Qt::AlignVCenter);
    return label;
}

// Persian paragraphs: the document takes no direction from the widget by itself.
void rightToLeft(QPlainTextEdit* box)
{
    box->setLayoutDirection(Qt::RightToLeft);
    QTextOption option = box->document()->defaultTextOption();
    option.setTextDirection(Qt::RightToLeft);
    option.setAlignment(Qt::AlignRight);
    box->document()->setDefaultTextOption(option);
}

// The box's text with LF line ends and every other character as typed (toPlainText would turn
// non-breaking spaces into plain ones).
QString rawText(const QPlainTextEdit* box)
{
    QString text = box->document()->toRawText();
    for (QChar& c : text) {
        if (c == QChar::ParagraphSeparator || c == QChar::LineSeparator)
            c = u'\n';
    }
    return text;
}

} // namespace

InterpretationPanel::InterpretationPanel(AppContext& ctx, QWidget* parent)
    : QFrame(parent)
    , ctx_(ctx)
    , normsFile_(std::make_shared<store::Connection>(ctx.path(store::kNormsFile)))
    , sortt2_(normsFile_, QStringLiteral("Sortt2"))
    , ide_(ctx.path(store::kExamineeFile), QStringLiteral("IDE"))
{
    setObjectName(QStringLiteral("FramTaf"));
    setProperty("role", QStringLiteral("panel"));
    setFrameShape(QFrame::StyledPanel);
    setFrameShadow(QFrame::Raised);
    setAutoFillBackground(true);
    setFixedSize(twipsSize(9825, 7620));

    Txttaf1 = new QPlainTextEdit(this);
    Txttaf1->setObjectName(QStringLiteral("Txttaf1"));
    Txttaf1->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    Txttaf1->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    rightToLeft(Txttaf1);

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(8, 8, 8, 8);
    column->setSpacing(8);
    column->addWidget(buildRankingTable());
    column->addWidget(Txttaf1, 1);
    column->addWidget(buildButtons());

    connect(CmdTafneuBoland, &QPushButton::clicked, this, &InterpretationPanel::BuildLongInterpretation);
    connect(CmdTafneuKotah, &QPushButton::clicked, this, &InterpretationPanel::BuildShortInterpretation);
    connect(CmdTafalt, &QPushButton::clicked, this, &InterpretationPanel::loadSavedInterpretation);
    connect(CmdSave, &QPushButton::clicked, this, &InterpretationPanel::SaveInterpretation);
    connect(Cmdexit2, &QPushButton::clicked, this, &QWidget::hide);

    // Open the views now. A failure cannot matter here: every use re-reads its view first and
    // reports what fails then.
    for (store::View* v : {&sortt2_, &ide_})
        (void)v->refresh();
}

InterpretationPanel::~InterpretationPanel() = default;

QWidget* InterpretationPanel::buildRankingTable()
{
    // A table with a left and a right: highest ranks leftmost, row captions at the right end,
    // whatever the direction of the screen around it.
    auto* table = new QWidget(this);
    table->setObjectName(QStringLiteral("RankingTable"));
    table->setLayoutDirection(Qt::LeftToRight);
    auto* grid = new QGridLayout(table);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setHorizontalSpacing(3);
    grid->setVerticalSpacing(3);

    Lblnm = QVector<QLabel*>(profile::kScaleCount, nullptr);
    Lblnm2 = QVector<QLabel*>(profile::kScaleCount, nullptr);
    Lblnm3 = QVector<QLabel*>(profile::kScaleCount, nullptr);

    // Validity block: columns 0..2 under its caption; names on the row of the clinical names,
    // T scores on the row of the clinical T scores.
    grid->addWidget(caption(table, kCaptionValidity, Qt::AlignHCenter), 0, 0, 1, profile::kValidityCount);
    for (int i = 0; i < profile::kValidityCount; ++i) {
        Lblnm3[i] = cell(table, QStringLiteral("Lblnm3_%1").arg(i));
        Lblnm2[i] = cell(table, QStringLiteral("Lblnm2_%1").arg(i));
        grid->addWidget(Lblnm3[i], 1, i);
        grid->addWidget(Lblnm2[i], 2, i);
    }
    constexpr int kGapColumn = profile::kValidityCount;
    grid->setColumnMinimumWidth(kGapColumn, 10);

    // Clinical block: rank r in column gap + r, captions in the last column.
    for (int r = 1; r <= profile::kClinicalCount; ++r) {
        const int i = r + 2;
        Lblnm2[i] = cell(table, QStringLiteral("Lblnm2_%1").arg(i));
        Lblnm[i] = cell(table, QStringLiteral("Lblnm_%1").arg(i));
        Lblnm3[i] = cell(table, QStringLiteral("Lblnm3_%1").arg(i));
        grid->addWidget(Lblnm2[i], 0, kGapColumn + r);
        grid->addWidget(Lblnm[i], 1, kGapColumn + r);
        grid->addWidget(Lblnm3[i], 2, kGapColumn + r);
    }
    const int captionColumn = kGapColumn + profile::kClinicalCount + 1;
    grid->addWidget(caption(table, kCaptionNumber, Qt::AlignRight), 0, captionColumn);
    grid->addWidget(caption(table, kCaptionName, Qt::AlignRight), 1, captionColumn);
    grid->addWidget(caption(table, profile::screen_texts::kCaptionTRow, Qt::AlignRight), 2, captionColumn);
    for (int c = 0; c < captionColumn; ++c) {
        if (c != kGapColumn)
            grid->setColumnStretch(c, 1);
    }
    return table;
}

QWidget* InterpretationPanel::buildButtons()
{
    auto* row = new QWidget(this);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(6);
    auto button = [row, layout](const QString& name, const QString& text) {
        auto* b = new QPushButton(text, row);
        b->setObjectName(name);
        b->setMinimumHeight(30);
        layout->addWidget(b);
        return b;
    };
    CmdTafneuBoland = button(QStringLiteral("CmdTafneuBoland"), kCaptionLong);
    CmdTafneuKotah = button(QStringLiteral("CmdTafneuKotah"), kCaptionShort);
    CmdTafalt = button(QStringLiteral("CmdTafalt"), kCaptionSaved);
    CmdSave = button(QStringLiteral("CmdSave"), kCaptionSave);
    Cmdexit2 = button(QStringLiteral("Cmdexit2"), texts::kCaptionExit);
    return row;
}

void InterpretationPanel::showResult(const profile::ProfileResult& result)
{
    result_ = result;
    readSavedText();
    // Once ranked, the table and the texts follow the profile handed over now: the same value.
    if (refusal_ != kNotRanked)
        showRanking();
}

void InterpretationPanel::readSavedText()
{
    store::Result r = store::SelectByCode(ide_, result_.examinee.code);
    saved_ = r ? ide_.value(QStringLiteral("TT1")) : QString();
}

void InterpretationPanel::showRanking()
{
    // No ranking and no text from T scores that are not there.
    refusal_ = result_.problem;
    for (const QVector<QLabel*>* row : {&Lblnm, &Lblnm2, &Lblnm3}) {
        for (QLabel* cell : *row) {
            if (cell)
                cell->clear();
        }
    }
    if (!result_.interpretable())
        return;
    const profile::RankingTable& ranking = result_.reading.ranking;
    for (int r = 1; r <= profile::kClinicalCount; ++r) {
        const profile::RankEntry& entry = ranking.clinical[std::size_t(r - 1)];
        Lblnm2[r + 2]->setText(entry.number);
        Lblnm[r + 2]->setText(entry.name);
        Lblnm3[r + 2]->setText(entry.t);
    }
    for (int i = 0; i < profile::kValidityCount; ++i) {
        const profile::RankEntry& entry = ranking.validity[std::size_t(i)];
        Lblnm3[i]->setText(entry.name);
        Lblnm2[i]->setText(entry.t);
    }
}

void InterpretationPanel::RankScales()
{
    showRanking();
    if (!result_.interpretable())
        return;
    // The rows are kept in the data file as they always were; the texts are built from the
    // profile in hand, so a failed write is told and changes no text.
    if (const store::Result r = profile::StoreRanking(sortt2_, result_.rankingRows); !r)
        ReportFailure(ctx_.dialogs(), this, kCannotRank, r.error);
}

void InterpretationPanel::BuildLongInterpretation()
{
    build(true);
}

void InterpretationPanel::BuildShortInterpretation()
{
    build(false);
}

void InterpretationPanel::build(bool longRun)
{
    if (!refusal_.isEmpty()) {
        ReportFailure(ctx_.dialogs(), this, refusal_);
        return;
    }
    if (const QString damaged = ctx_.dataProblem(QStringLiteral("Taff")); !damaged.isEmpty()) {
        ReportFailure(ctx_.dialogs(), this, damaged); // a text missing its parts would read as a whole one
        return;
    }
    // The texts as they are now.
    profile::TaffTexts taffTexts;
    if (store::Result r = taffTexts.read(*normsFile_, profile::TaffIdsRead(result_.reading, longRun)); !r) {
        ReportFailure(ctx_.dialogs(), this, kCannotReadTaff, r.error);
        return;
    }
    const profile::TaffLookup taff = taffTexts.lookup();
    showText(Txttaf1, longRun ? profile::BuildLongInterpretation(result_.reading, taff)
                              : profile::BuildShortInterpretation(result_.reading, taff));
}

void InterpretationPanel::SaveInterpretation()
{
    if (!ctx_.dialogs().question(this, titles::kWarning, kSaveQuestion, Dialogs::Icon::Information))
        return;

    store::Result r = store::SelectByCode(ide_, result_.examinee.code);
    if (r && !ide_.hasCurrent())
        r = store::Result::failure(texts::kNoSuchPerson);
    if (r)
        r = ide_.setValue(QStringLiteral("TT1"), profile::toCrLf(interpretationText()));
    if (r)
        r = ide_.update();

    // The saved text is what is stored, whether or not the write went through.
    readSavedText();
    if (!r) {
        ReportFailure(ctx_.dialogs(), this, kCannotSave, r.error);
        return;
    }
    ShowAutoClosingMessage(ctx_.dialogs(), this, texts::kSaved);
}

void InterpretationPanel::loadSavedInterpretation()
{
    showText(Txttaf1, saved_);
}

QString InterpretationPanel::savedInterpretation() const
{
    return profile::toCrLf(saved_);
}

QString InterpretationPanel::interpretationText() const
{
    return rawText(Txttaf1);
}

void InterpretationPanel::showText(QPlainTextEdit* box, const QString& text)
{
    box->setPlainText(profile::toLf(text));
}
