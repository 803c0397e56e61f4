#include "capture/frmtest.h"
#include "store/schema.h"
#include "app/controls.h"
#include "app/app_context.h"
#include "app/digit_filter.h"
#include "app/texts.h"
#include "app/twips.h"
#include "capture/capture_texts.h"
#include "capture/item_counter.h"
#include "capture/test_texts.h"
#include "app/identity_texts.h"
#include "settings/apply_theme.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QSignalBlocker>

namespace {

const QString kIdentityNotStored = QStringLiteral("مشخصات آزمودني ذخيره نشد.");
const QString kQuestionColumns[] = {QStringLiteral("QU"), QStringLiteral("QU2"), QStringLiteral("QU3"),
                                    QStringLiteral("QU4"), QStringLiteral("QU5")};

// Identity columns and the panel fields attached to them (the code is shown, never written).
struct Attached {
    const char* column;
    QLineEdit* FrmTest::*field;
};
const Attached kIdentityFields[] = {
    {"FName", &FrmTest::Text3}, {"LName", &FrmTest::Text4}, {"Sen", &FrmTest::Text5},
    {"Taahol", &FrmTest::Text11}, {"Date", &FrmTest::Text8}, {"Time", &FrmTest::Text9},
    {"Jens", &FrmTest::Text10}, {"Tahsil", &FrmTest::Text7},
};

QLabel* makeLabel(QWidget* parent, const QString& name)
{
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    return label;
}

QLineEdit* makeField(QWidget* parent, const QString& name)
{
    auto* field = new QLineEdit(parent);
    field->setObjectName(name);
    return field;
}

QPushButton* makeButton(QWidget* parent, const QString& name, const QString& caption)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    return button;
}


} // namespace

FrmTest::FrmTest(AppContext& ctx, QWidget* parent)
    : QDialog(parent)
    , settingsFile_(std::make_shared<store::Connection>(ctx.path(store::kSettingsFile)))
    , examineeFile_(std::make_shared<store::Connection>(ctx.path(store::kExamineeFile)))
    , Adodc1(settingsFile_, QStringLiteral("Theme"))
    , Adodc2(examineeFile_, QStringLiteral("Answer"))
    , Adodc3(examineeFile_, QStringLiteral("IDE"))
    , Adodc4(examineeFile_, QStringLiteral("Answer"))
    , Adodc5(examineeFile_, QStringLiteral("IDE"))
    , Adodc6(examineeFile_, QStringLiteral("QUS"))
    , ctx_(ctx)
{
    setObjectName(QStringLiteral("FrmTest"));
    setWindowTitle(texts::kTestCaption);
    build();
    load();
}

FrmTest::~FrmTest() = default;

void FrmTest::build()
{
    setFixedSize(twipsSize(11100, 8250));

    SkinLabel3 = makeLabel(this, QStringLiteral("SkinLabel3"));
    SkinLabel3->setProperty("role", QStringLiteral("title"));
    SkinLabel3->setText(texts::kProgramCaption);
    SkinLabel3->setAlignment(Qt::AlignCenter);
    QFont titleFont = font();
    titleFont.setPointSize(30);
    titleFont.setBold(true);
    SkinLabel3->setFont(titleFont);

    SkinLabel4 = makeLabel(this, QStringLiteral("SkinLabel4"));
    SkinLabel4->setTextFormat(Qt::PlainText);
    SkinLabel4->setWordWrap(true);
    SkinLabel4->setAlignment(Qt::AlignLeading | Qt::AlignTop); // lines start at the right
    SkinLabel4->setMargin(6); // room for the first letter of a line, which may reach past its advance
    SkinLabel4->setText(texts::TestInstructions());

    // Rules that frame the instructions before the start.
    SkinLabel5 = makeLabel(this, QStringLiteral("SkinLabel5"));
    SkinLabel5->setFrameShape(QFrame::HLine);
    SkinLabel5->setGeometry(twipsRect(900, 2640, 9210, 30));
    SkinLabel6 = makeLabel(this, QStringLiteral("SkinLabel6"));
    SkinLabel6->setFrameShape(QFrame::HLine);
    SkinLabel6->setGeometry(twipsRect(900, 7170, 9210, 30));

    SkinLbl5 = makeLabel(this, QStringLiteral("SkinLbl5"));
    SkinLbl5->setProperty("role", QStringLiteral("item"));
    SkinLbl5->setTextFormat(Qt::PlainText);
    SkinLbl5->setWordWrap(true);
    SkinLbl5->setAlignment(Qt::AlignCenter);
    QFont itemFont = font();
    itemFont.setPointSize(14);
    SkinLbl5->setFont(itemFont);
    SkinLbl5->setGeometry(twipsRect(1530, 3360, 8535, 1455));

    for (int i = 0; i < 5; ++i) {
        QLabel* source = makeLabel(this, QStringLiteral("Lblqu_%1").arg(i));
        source->hide();
        Lblqu << source;
    }

    Frame2 = new QGroupBox(this);
    Frame2->setObjectName(QStringLiteral("Frame2"));
    Frame2->setAlignment(Qt::AlignHCenter);
    Frame2->setGeometry(twipsRect(3690, 4920, 3720, 1050));
    Option1 = new QRadioButton(texts::kYes, Frame2);
    Option1->setObjectName(QStringLiteral("Option1"));
    Option2 = new QRadioButton(texts::kNo, Frame2);
    Option2->setObjectName(QStringLiteral("Option2"));
    auto* options = new QHBoxLayout(Frame2);
    options->addStretch();
    options->addWidget(Option1);
    options->addSpacing(40);
    options->addWidget(Option2);
    options->addStretch();
    auto* group = new QButtonGroup(this);
    group->addButton(Option1);
    group->addButton(Option2);
    connect(Option1, &QRadioButton::clicked, this, [this] { answer(QStringLiteral("1")); });
    connect(Option2, &QRadioButton::clicked, this, [this] { answer(QStringLiteral("2")); });
    Frame2->hide();

    Text12 = makeField(this, QStringLiteral("Text12"));
    Text12->hide();

    // Previous on the right, next on the left: the items advance in the reading direction.
    CmdNext = makeButton(this, QStringLiteral("CmdNext"), texts::kCaptionNext);
    CmdNext->setGeometry(twipsRect(3090, 6150, 1500, 480));
    CmdNext->setDefault(true);
    Text6 = makeField(this, QStringLiteral("Text6"));
    Text6->setAlignment(Qt::AlignCenter);
    Text6->setGeometry(twipsRect(4860, 6150, 1290, 480));
    CmdBack = makeButton(this, QStringLiteral("CmdBack"), texts::kCaptionPrevious);
    CmdBack->setGeometry(twipsRect(6420, 6150, 1500, 480));
    {
        const QSignalBlocker quiet(Text6);
        Text6->setText(QStringLiteral("0"));
    }
    Text6->hide();
    DigitFilter::install(Text6, ctx_);
    connect(Text6, &QLineEdit::textChanged, this, &FrmTest::ShowItem);
    connect(CmdNext, &QPushButton::clicked, this, &FrmTest::next);
    connect(CmdBack, &QPushButton::clicked, this, &FrmTest::previous);

    Command1 = makeButton(this, QStringLiteral("Command1"), texts::kStart);
    Command1->setGeometry(twipsRect(4530, 7380, 1950, 540));
    connect(Command1, &QPushButton::clicked, this, &FrmTest::start);

    Command5 = makeButton(this, QStringLiteral("Command5"), texts::kCaptionSaveAndExit);
    Command5->setGeometry(twipsRect(4305, 7380, 2400, 540));
    Command5->hide();
    connect(Command5, &QPushButton::clicked, this, &FrmTest::reject);

    buildExamineePanel();
}

void FrmTest::buildExamineePanel()
{
    Frame1 = new QFrame(this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame1->setProperty("role", QStringLiteral("panel"));
    Frame1->setFrameShape(QFrame::StyledPanel);
    Frame1->setGeometry(twipsRect(600, 150, 9900, 2880));

    Text1 = makeField(Frame1, QStringLiteral("Text1"));
    // The response row is found by this code; changing it here would cut the two rows apart.
    Text1->setReadOnly(true);
    Text3 = makeField(Frame1, QStringLiteral("Text3"));
    Text4 = makeField(Frame1, QStringLiteral("Text4"));
    Text5 = makeField(Frame1, QStringLiteral("Text5"));
    Text5->setMaxLength(3);
    DigitFilter::install(Text5, ctx_);
    Text11 = makeField(Frame1, QStringLiteral("Text11"));
    Text8 = makeField(Frame1, QStringLiteral("Text8"));
    Text9 = makeField(Frame1, QStringLiteral("Text9"));
    Text10 = makeField(Frame1, QStringLiteral("Text10"));
    Text10->hide();
    Text7 = makeField(Frame1, QStringLiteral("Text7"));
    Text7->hide();
    Combo2 = MakeChoiceList(Frame1, QStringLiteral("Combo2"), texts::kChooseSex, texts::Sexes());
    Combo4 = MakeChoiceList(Frame1, QStringLiteral("Combo4"), texts::kChooseEducation, texts::EducationLevels());
    CoupleListToField(Combo2, Text10);
    CoupleListToField(Combo4, Text7);
    CmdSave = makeButton(Frame1, QStringLiteral("CmdSave"), texts::kCaptionSaveIdentity);
    connect(CmdSave, &QPushButton::clicked, this, &FrmTest::saveIdentity);

    // Three pairs of caption and field a row; the first pair is the right one.
    const std::pair<QString, QWidget*> pairs[] = {
        {texts::kCaptionTestCode, Text1},   {texts::kCaptionGivenName, Text3},
        {texts::kCaptionFamilyName, Text4}, {texts::kCaptionAge, Text5},
        {texts::kCaptionSex, Combo2},       {texts::kCaptionMaritalStatusField, Text11},
        {texts::kCaptionEducationField, Combo4}, {texts::kCaptionDate, Text8},
        {texts::kCaptionTime, Text9},
    };
    auto* grid = new QGridLayout(Frame1);
    grid->setContentsMargins(8, 6, 8, 6);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(5);
    for (int i = 0; i < 9; ++i) {
        const int row = i / 3;
        const int column = (i % 3) * 2;
        grid->addWidget(MakeFieldCaption(Frame1, pairs[i].first), row, column);
        grid->addWidget(pairs[i].second, row, column + 1);
        grid->setColumnStretch(column + 1, 1);
        pairs[i].second->setMinimumWidth(60);
    }
    auto* save = new QHBoxLayout;
    save->addStretch();
    save->addWidget(CmdSave);
    save->addStretch();
    grid->addLayout(save, 3, 0, 1, 6);
}

void FrmTest::load()
{
    move(twipsPoint(2340, 765));
    ApplyTheme(ctx_.programFolder(), this);
    for (store::View* v : {&Adodc1, &Adodc2, &Adodc3, &Adodc4, &Adodc5, &Adodc6})
        v->refresh();
    SkinLabel4->setGeometry(twipsRect(1000, 3000, 9075, 4095));
    SkinLabel3->setGeometry(twipsRect(900, 600, 9210, 1515));
    CmdBack->hide();
    CmdNext->hide();
}

void FrmTest::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    Frame1->hide();
    SkinLabel3->show();
    loadIdentity();
}

void FrmTest::loadIdentity()
{
    Text1->setText(Adodc3.value(QStringLiteral("Code")));
    for (const Attached& a : kIdentityFields)
        (this->*a.field)->setText(Adodc3.value(QString::fromLatin1(a.column)));
}

void FrmTest::start()
{
    SkinLbl5->setGeometry(twipsRect(1530, 3360, 8535, 1455));
    for (QWidget* w : std::initializer_list<QWidget*>{SkinLabel3, SkinLabel4, SkinLabel5, SkinLabel6})
        w->hide();
    for (QWidget* w : std::initializer_list<QWidget*>{Frame1, Frame2, Text6, SkinLbl5, CmdNext, CmdBack, Command5})
        w->show();
    Command1->hide();
    Text1->setFocus();
    Text6->setText(QStringLiteral("0"));
    Text6->setText(QStringLiteral("1"));
}

void FrmTest::ShowItem()
{
    const ItemCounterOutcome out = ShowItemFor(Text6->text());
    if (out.clearItemText)
        SkinLbl5->clear();
    if (out.storeResponses)
        storeResponses();
    if (out.notice == ItemCounterOutcome::Notice::Start)
        ShowAutoClosingMessage(ctx_.dialogs(), this, texts::kStart, 1000);
    else if (out.notice == ItemCounterOutcome::Notice::End)
        ShowAutoClosingMessage(ctx_.dialogs(), this, texts::kNoticeEnd, 600);
    if (out.counterText != Text6->text()) {
        const QSignalBlocker quiet(Text6); // this handler is already showing the item
        Text6->setText(out.counterText);
    }
    if (out.item)
        showItemNumber(*out.item);
}

void FrmTest::showItemNumber(int n)
{
    const QString number = QString::number(n);
    Adodc6.setFilter(QStringLiteral("id"), number);
    for (int i = 0; i < Lblqu.size(); ++i)
        Lblqu[i]->setText(Adodc6.value(kQuestionColumns[i]));
    SkinLbl5->setText(Lblqu[0]->text());
    item_ = n;
    Text12->setText(Adodc2.value(number));
    Frame2->setTitle(number);
    showResponse(Text12->text());
}

void FrmTest::showResponse(const QString& code)
{
    if (code == QLatin1String("1")) {
        Option1->setChecked(true);
    } else if (code == QLatin1String("2")) {
        Option2->setChecked(true);
    } else {
        // Not answered, or marked unanswered on paper ("0"): neither option.
        QButtonGroup* group = Option1->group();
        group->setExclusive(false);
        Option1->setChecked(false);
        Option2->setChecked(false);
        group->setExclusive(true);
    }
}

void FrmTest::answer(const QString& code)
{
    if (item_ < 1)
        return;
    Text12->setText(code);
    Adodc2.setValue(QString::number(item_), code);
}

void FrmTest::next()
{
    storeResponses();
    Text6->setText(SteppedCounter(Text6->text(), +1));
}

void FrmTest::previous()
{
    storeResponses();
    Text6->setText(SteppedCounter(Text6->text(), -1));
}

bool FrmTest::storeResponses()
{
    if (!Adodc2.hasCurrent())
        return true; // no examinee selected: nothing to store
    if (store::Result r = Adodc2.update(); !r) {
        reportFailure(texts::kResponsesNotStored, r.error);
        return false;
    }
    return true;
}

bool FrmTest::storeIdentity()
{
    if (Adodc3.hasCurrent()) {
        for (const Attached& a : kIdentityFields)
            Adodc3.setValue(QString::fromLatin1(a.column), (this->*a.field)->text());
    }
    if (store::Result r = Adodc3.update(); !r) {
        reportFailure(kIdentityNotStored, r.error);
        return false;
    }
    return true;
}

void FrmTest::saveIdentity()
{
    if (storeIdentity())
        ShowAutoClosingMessage(ctx_.dialogs(), this, texts::kSaved);
}

void FrmTest::reject()
{
    if (!isVisible()) {
        QDialog::reject();
        return;
    }
    storeResponses();
    if (Adodc3.hasCurrent())
        storeIdentity();
    Adodc2.refresh();
    Adodc3.refresh();
    Adodc5.refresh();
    QDialog::reject();
    Q_EMIT closed();
}

void FrmTest::PrepareForNextRun()
{
    // Back to the look of a freshly loaded screen...
    CmdBack->hide();
    CmdNext->hide();
    Frame2->hide();
    Text6->hide();
    Command5->hide();
    SkinLabel5->show();
    SkinLabel6->show();
    SkinLbl5->clear();
    showResponse(QString());
    item_ = 0;
    // ...in the state the main window leaves it in.
    SkinLabel4->show();
    Command1->show();
    SkinLabel3->hide();
    Frame1->show();
    SkinLbl5->show();
    Text6->setText(QStringLiteral("0"));
}

void FrmTest::reportFailure(const QString& what, const QString& error)
{
    ctx_.dialogs().message(this, titles::kError, what + QLatin1Char('\n') + error, Dialogs::Icon::Critical);
}
