#include "capture/test_screen.h"
#include "examinees/identity.h"
#include "store/schema.h"
#include "kit/controls.h"
#include "kit/app_context.h"
#include "kit/digit_filter.h"
#include "kit/texts.h"
#include "kit/twips.h"
#include "capture/capture_texts.h"
#include "capture/item_counter.h"
#include "capture/test_texts.h"
#include "kit/identity_texts.h"
#include "examinees/identity_panel.h"
#include "settings/apply_theme.h"
#include "store/examinee_rows.h"
#include "phone/phone_desk.h"
#include "phone/phone_texts.h"
#include "phone/phone_window.h"

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
const QString kItemNotRead = QStringLiteral("متن سؤال خوانده نشد.");
const QString kExamineeFileNotRead = QStringLiteral("داده هاي آزمون از فايل آزمودني ها خوانده نشد.");
const QString kCloseUnsaved = QStringLiteral("آنچه ذخيره نشد از دست مي رود. صفحه بسته شود؟");
const QString kQuestionColumns[] = {QStringLiteral("QU"), QStringLiteral("QU2"), QStringLiteral("QU3"),
                                    QStringLiteral("QU4"), QStringLiteral("QU5")};

// What the examinee panel writes back (the code is shown, never written).
const QList<examinees::IdentityField> kEditableFields = {
    examinees::IdentityField::GivenName, examinees::IdentityField::FamilyName, examinees::IdentityField::Age,
    examinees::IdentityField::MaritalStatus, examinees::IdentityField::Date, examinees::IdentityField::Time,
    examinees::IdentityField::Sex, examinees::IdentityField::Education,
};

} // namespace

FrmTest::FrmTest(AppContext& ctx, QWidget* parent)
    : QDialog(parent)
    , examineeFile_(std::make_shared<store::Connection>(ctx.path(store::kExamineeFile)))
    , Adodc2(examineeFile_, QStringLiteral("Answer"))
    , Adodc3(examineeFile_, QStringLiteral("IDE"))
    , Adodc6(examineeFile_, QStringLiteral("QUS"))
    , ctx_(ctx)
{
    setObjectName(QStringLiteral("FrmTest"));
    setWindowTitle(texts::kTestCaption);
    build();
    load();
}

FrmTest::~FrmTest()
{
    // The windows end their sessions on the desk, which goes after them.
    for (const QPointer<FrmPhone>& w : phoneWindows_)
        delete w.data();
}

void FrmTest::build()
{
    setFixedSize(twipsSize(11100, 8250));

    SkinLabel3 = MakeLabel(this, QStringLiteral("SkinLabel3"));
    SkinLabel3->setProperty("role", QStringLiteral("title"));
    SkinLabel3->setText(texts::kProgramCaption);
    SkinLabel3->setAlignment(Qt::AlignCenter);
    QFont titleFont = font();
    titleFont.setPointSize(30);
    titleFont.setBold(true);
    SkinLabel3->setFont(titleFont);

    SkinLabel4 = MakeLabel(this, QStringLiteral("SkinLabel4"));
    SkinLabel4->setTextFormat(Qt::PlainText);
    SkinLabel4->setWordWrap(true);
    SkinLabel4->setAlignment(Qt::AlignLeading | Qt::AlignTop); // lines start at the right
    SkinLabel4->setMargin(6); // room for the first letter of a line, which may reach past its advance
    SkinLabel4->setText(texts::TestInstructions());

    // Rules that frame the instructions before the start.
    SkinLabel5 = MakeLabel(this, QStringLiteral("SkinLabel5"));
    SkinLabel5->setFrameShape(QFrame::HLine);
    SkinLabel5->setGeometry(twipsRect(900, 2640, 9210, 30));
    SkinLabel6 = MakeLabel(this, QStringLiteral("SkinLabel6"));
    SkinLabel6->setFrameShape(QFrame::HLine);
    SkinLabel6->setGeometry(twipsRect(900, 7170, 9210, 30));

    SkinLbl5 = MakeLabel(this, QStringLiteral("SkinLbl5"));
    SkinLbl5->setProperty("role", QStringLiteral("item"));
    SkinLbl5->setTextFormat(Qt::PlainText);
    SkinLbl5->setWordWrap(true);
    SkinLbl5->setAlignment(Qt::AlignCenter);
    QFont itemFont = font();
    itemFont.setPointSize(14);
    SkinLbl5->setFont(itemFont);
    SkinLbl5->setGeometry(twipsRect(1530, 3360, 8535, 1455));

    for (int i = 0; i < 5; ++i) {
        QLabel* source = MakeLabel(this, QStringLiteral("Lblqu_%1").arg(i));
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

    Text12 = MakeField(this, QStringLiteral("Text12"));
    Text12->hide();

    // Previous on the right, next on the left: the items advance in the reading direction.
    CmdNext = MakeButton(this, QStringLiteral("CmdNext"), texts::kCaptionNext);
    CmdNext->setGeometry(twipsRect(3090, 6150, 1500, 480));
    CmdNext->setDefault(true);
    Text6 = MakeField(this, QStringLiteral("Text6"));
    Text6->setAlignment(Qt::AlignCenter);
    Text6->setGeometry(twipsRect(4860, 6150, 1290, 480));
    CmdBack = MakeButton(this, QStringLiteral("CmdBack"), texts::kCaptionPrevious);
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

    Command1 = MakeButton(this, QStringLiteral("Command1"), texts::kStart);
    Command1->setGeometry(twipsRect(4530, 7380, 1950, 540));
    connect(Command1, &QPushButton::clicked, this, &FrmTest::start);

    Command5 = MakeButton(this, QStringLiteral("Command5"), texts::kCaptionSaveAndExit);
    Command5->setGeometry(twipsRect(4305, 7380, 2400, 540));
    Command5->hide();
    connect(Command5, &QPushButton::clicked, this, &FrmTest::reject);

    CmdPhone = MakeButton(this, QStringLiteral("CmdPhone"), phone::texts::kPhoneButton);
    CmdPhone->setGeometry(twipsRect(600, 7380, 2700, 540));
    connect(CmdPhone, &QPushButton::clicked, this, &FrmTest::openPhone);

    buildExamineePanel();
}

void FrmTest::buildExamineePanel()
{
    using F = examinees::IdentityField;
    using K = IdentityPanel::Kind;
    // Three pairs a row; the first pair is the right one. The response row is found by the code,
    // so the code is shown, never changed here.
    const QList<IdentityPanel::Field> fields = {
        {F::Code, K::ReadOnly, QStringLiteral("Text1"), texts::kCaptionTestCode},
        {F::GivenName, K::Text, QStringLiteral("Text3"), texts::kCaptionGivenName},
        {F::FamilyName, K::Text, QStringLiteral("Text4"), texts::kCaptionFamilyName},
        {F::Age, K::Digits, QStringLiteral("Text5"), texts::kCaptionAge, {}, {}, {}, 3},
        {F::Sex, K::List, QStringLiteral("Text10"), texts::kCaptionSex, QStringLiteral("Combo2"), texts::kChooseSex,
         examinees::Sexes()},
        {F::MaritalStatus, K::Text, QStringLiteral("Text11"), texts::kCaptionMaritalStatusField},
        {F::Education, K::List, QStringLiteral("Text7"), texts::kCaptionEducationField, QStringLiteral("Combo4"),
         texts::kChooseEducation, examinees::EducationLevels()},
        {F::Date, K::Text, QStringLiteral("Text8"), texts::kCaptionDate},
        {F::Time, K::Text, QStringLiteral("Text9"), texts::kCaptionTime},
    };
    identity_ = new IdentityPanel(ctx_, QStringLiteral("Frame1"), fields, IdentityPanel::Order::RowByRow, 3, this);
    Frame1 = identity_;
    StylePanel(Frame1);
    Frame1->setGeometry(twipsRect(600, 150, 9900, 2880));
    Text1 = identity_->field(F::Code);
    Text3 = identity_->field(F::GivenName);
    Text4 = identity_->field(F::FamilyName);
    Text5 = identity_->field(F::Age);
    Text10 = identity_->field(F::Sex);
    Text11 = identity_->field(F::MaritalStatus);
    Text7 = identity_->field(F::Education);
    Text8 = identity_->field(F::Date);
    Text9 = identity_->field(F::Time);
    Combo2 = identity_->list(F::Sex);
    Combo4 = identity_->list(F::Education);

    CmdSave = MakeButton(Frame1, QStringLiteral("CmdSave"), texts::kCaptionSaveIdentity);
    connect(CmdSave, &QPushButton::clicked, this, &FrmTest::saveIdentity);
    auto* save = new QHBoxLayout;
    save->addStretch();
    save->addWidget(CmdSave);
    save->addStretch();
    identity_->grid()->addLayout(save, identity_->nextRow(), 0, 1, identity_->columnCount());
}

void FrmTest::load()
{
    move(StandardWindowPosition());
    ApplyTheme(ctx_.programFolder(), this);
    for (store::View* v : {&Adodc2, &Adodc3, &Adodc6}) {
        if (const store::Result r = v->refresh(); !r) {
            ReportFailure(ctx_.dialogs(), this, kExamineeFileNotRead, r.error);
            break;
        }
    }
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
    identity_->load(Adodc3);
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
        ShowAutoClosingMessage(ctx_.dialogs(), this, texts::kStart);
    else if (out.notice == ItemCounterOutcome::Notice::End)
        ShowAutoClosingMessage(ctx_.dialogs(), this, texts::kNoticeEnd, kShortMessageDelayMs);
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
    if (const store::Result r = Adodc6.setFilter(QStringLiteral("id"), number); !r)
        ReportFailure(ctx_.dialogs(), this, kItemNotRead, r.error); // the item is shown without its text
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
    if (const store::Result r = responses_.set(item_, code); !r)
        ReportFailure(ctx_.dialogs(), this, texts::kResponsesNotStored, r.error);
}

void FrmTest::next()
{
    // An answer that was not stored keeps the examinee on its item: it is never passed by unseen.
    if (storeResponses())
        Text6->setText(SteppedCounter(Text6->text(), +1));
}

void FrmTest::previous()
{
    if (storeResponses())
        Text6->setText(SteppedCounter(Text6->text(), -1));
}

store::Result FrmTest::selectExaminee(const QString& code, bool& found)
{
    found = false;
    store::Result r = store::SelectByCode(Adodc2, code);
    if (r)
        r = store::SelectByCode(Adodc3, code);
    found = r && Adodc2.hasCurrent(); // no row is current: the filtered view is empty
    if (found)
        responses_.markRead();
    else
        responses_.clear();
    return r;
}

bool FrmTest::storeResponses()
{
    if (!Adodc2.hasCurrent())
        return true; // no examinee selected: nothing to store
    // Answers stored meanwhile elsewhere (the examinee's phone) are replaced only when the user says so.
    const store::Result r = responses_.storeAsking([this](const QString& question) {
        return ctx_.dialogs().question(this, titles::kAttention, question, Dialogs::Icon::Question);
    });
    if (!r) {
        ReportFailure(ctx_.dialogs(), this, texts::kResponsesNotStored, r.error);
        return false;
    }
    if (item_ > 0) {
        Text12->setText(Adodc2.value(QString::number(item_)));
        showResponse(Text12->text());
    }
    return true;
}

bool FrmTest::storeIdentity()
{
    store::Result r;
    if (Adodc3.hasCurrent())
        r = identity_->writeTo(Adodc3, kEditableFields);
    if (r)
        r = Adodc3.update();
    if (!r) {
        ReportFailure(ctx_.dialogs(), this, kIdentityNotStored, r.error);
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
    bool stored = storeResponses();
    if (Adodc3.hasCurrent())
        stored = storeIdentity() && stored;
    // What could not be stored is only dropped when the user says so.
    if (!stored && !ctx_.dialogs().question(this, titles::kError, kCloseUnsaved, Dialogs::Icon::Warning))
        return;
    // Dropping what is left; the next run selects its examinee afresh (selectExaminee re-reads).
    for (store::View* v : {&Adodc2, &Adodc3})
        (void)v->refresh();
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

void FrmTest::openPhone()
{
    if (!Adodc2.hasCurrent())
        return;
    // What this screen holds goes into the row before the phone writes to it.
    if (!storeResponses())
        return;
    const QString code = Adodc2.value(store::kCodeColumn);
    for (const QPointer<FrmPhone>& w : phoneWindows_) {
        if (w && phoneDesk().code(w->session()) == code) {
            w->show();
            w->raise();
            w->activateWindow();
            return;
        }
    }
    int session = 0;
    QString error;
    if (!phoneDesk().open(code, session, error)) {
        ReportFailure(ctx_.dialogs(), this, error);
        return;
    }
    const QString caption = code + QStringLiteral("  ") + Adodc3.value(QStringLiteral("FName")) + QLatin1Char(' ')
        + Adodc3.value(QStringLiteral("LName"));
    auto* window = new FrmPhone(ctx_, *phoneDesk_, session, caption.trimmed(), this);
    phoneWindows_.removeAll(nullptr);
    phoneWindows_ << window;
    window->show();
}

phone::PhoneDesk& FrmTest::phoneDesk()
{
    if (!phoneDesk_)
        phoneDesk_ = std::make_unique<phone::PhoneDesk>(ctx_.programFolder(), ctx_.clock());
    return *phoneDesk_;
}

QList<FrmPhone*> FrmTest::phoneWindows() const
{
    QList<FrmPhone*> open;
    for (const QPointer<FrmPhone>& w : phoneWindows_)
        if (w)
            open << w.data();
    return open;
}
