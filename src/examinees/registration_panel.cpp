#include "examinees/registration_panel.h"
#include "examinees/identity.h"
#include "kit/controls.h"
#include "kit/app_context.h"
#include "kit/digit_filter.h"
#include "kit/twips.h"
#include "store/digit_codes.h"
#include "store/schema.h"
#include "calendar/solar_hijri.h"
#include "examinees/code_proposal.h"
#include "kit/identity_texts.h"
#include "examinees/identity_panel.h"
#include "examinees/registration_texts.h"
#include "store/examinee_rows.h"

#include <QComboBox>
#include <QVBoxLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <algorithm>

namespace {

const QString kCodeColumn = QStringLiteral("Code");
const QString kStoreFailed = QStringLiteral("ثبت نام آزمودني ذخيره نشد.");
const QString kCannotPropose = QStringLiteral("کد آزمودني پيشنهاد نشد؛ آن را وارد کنيد.");
const QString kTakenMeanwhile = QStringLiteral(
    "همين الان در رايانه ديگري آزمودني ديگري با کد %1 ثبت شد و اين ثبت نام ذخيره نشد.\n"
    "کد آزاد بعدي، %2، به جاي آن گذاشته شد؛ براي ثبت دوباره دکمه ثبت را بزنيد.");

} // namespace

RegistrationPanel::RegistrationPanel(AppContext& ctx, QWidget* parent)
    : QFrame(parent)
    , examineeFile_(std::make_shared<store::Connection>(ctx.path(store::kExamineeFile)))
    , Adodc2(examineeFile_, QStringLiteral("IDE"))
    , Adodc3(examineeFile_, QStringLiteral("Answer"))
    , Adodc5(examineeFile_, QStringLiteral("IDE"))
    , ctx_(ctx)
{
    setObjectName(QStringLiteral("Frame10"));
    StylePanel(this);
    build();
    hide();
}

RegistrationPanel::~RegistrationPanel() = default;

void RegistrationPanel::build()
{
    using F = examinees::IdentityField;
    using K = IdentityPanel::Kind;
    // Two columns of five pairs; the first column is the right one. The lists, whose prompts are
    // long, stand in the left one.
    const QList<IdentityPanel::Field> fields = {
        {F::Code, K::Digits, QStringLiteral("Text11"), texts::kCaptionCode},
        {F::GivenName, K::Text, QStringLiteral("Text6"), texts::kCaptionGivenName},
        {F::FamilyName, K::Text, QStringLiteral("Text4"), texts::kCaptionFamilyName},
        {F::Age, K::Digits, QStringLiteral("Text5"), texts::kCaptionAge, {}, {}, {}, 2},
        {F::Date, K::Text, QStringLiteral("Text8"), texts::kCaptionDate},
        {F::Sex, K::List, QStringLiteral("Text16"), texts::kCaptionSex, QStringLiteral("Combo2"), texts::kChooseSex,
         examinees::Sexes()},
        {F::MaritalStatus, K::List, QStringLiteral("Text15"), texts::kCaptionMaritalStatus, QStringLiteral("Combo1"),
         texts::kChooseMaritalStatus, examinees::MaritalStatuses()},
        {F::Group, K::List, QStringLiteral("Text17"), texts::kCaptionGroup, QStringLiteral("Combo3"),
         texts::kChooseGroup, examinees::Groups()},
        {F::Education, K::List, QStringLiteral("Text7"), texts::kCaptionEducation, QStringLiteral("Combo4"),
         texts::kChooseEducation, examinees::EducationLevels()},
        {F::Time, K::Text, QStringLiteral("Text9"), texts::kCaptionTime},
    };
    identity_ = new IdentityPanel(ctx_, QStringLiteral("RegistrationFields"), fields,
                                  IdentityPanel::Order::ColumnByColumn, 5, this);
    Text11 = identity_->field(F::Code);
    Text6 = identity_->field(F::GivenName);
    Text4 = identity_->field(F::FamilyName);
    Text5 = identity_->field(F::Age);
    Text8 = identity_->field(F::Date);
    Text9 = identity_->field(F::Time);
    Text16 = identity_->field(F::Sex);
    Text15 = identity_->field(F::MaritalStatus);
    Text17 = identity_->field(F::Group);
    Text7 = identity_->field(F::Education);
    Combo2 = identity_->list(F::Sex);
    Combo1 = identity_->list(F::MaritalStatus);
    Combo3 = identity_->list(F::Group);
    Combo4 = identity_->list(F::Education);
    codeCaption = identity_->caption(F::Code);
    codeCaption->setObjectName(QStringLiteral("codeCaption"));
    Text25 = MakeField(this, QStringLiteral("Text25"));
    Text25->hide();

    Command8 = MakeButton(this, QStringLiteral("Command8"), texts::kCaptionSave);
    Command10 = MakeButton(this, QStringLiteral("Command10"), texts::kCaptionCancel);
    connect(Command8, &QPushButton::clicked, this, &RegistrationPanel::save);
    connect(Command10, &QPushButton::clicked, this, &RegistrationPanel::cancel);

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(2, 2, 2, 2);
    column->addWidget(identity_);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Command8);
    buttons->addWidget(Command10);
    buttons->addStretch();
    column->addLayout(buttons);

    setTabOrder(Text11, Text6);
    setTabOrder(Text6, Text4);
    setTabOrder(Text4, Combo2);
    setTabOrder(Combo2, Text5);
    setTabOrder(Text5, Combo1);
    setTabOrder(Combo1, Combo3);
    setTabOrder(Combo3, Combo4);
    setTabOrder(Combo4, Text8);
    setTabOrder(Text8, Text9);
    setTabOrder(Text9, Command8);
    setTabOrder(Command8, Command10);
}

void RegistrationPanel::setIdentifierLabel(const QString& label)
{
    identifierLabel_ = label;
    codeCaption->setText(label);
}

RegistrationEntries RegistrationPanel::entries() const
{
    return {Text11->text(), Text6->text(), Text4->text(), Text16->text(),
            Text5->text(), Text15->text(), Text17->text(), Text7->text()};
}

void RegistrationPanel::open()
{
    show();
    raise();
    setGeometry(twipsRect(675, 855, 7440, 2895));
    Adodc2.addNew();
    // Sex and education choose the norm table: each examinee's are chosen anew, never inherited
    // from the one registered before. Marital status and group, which choose nothing, stay.
    using F = examinees::IdentityField;
    identity_->clear({F::Code, F::GivenName, F::FamilyName, F::Age, F::Sex, F::Education, F::Date, F::Time});
    const QDateTime now = ctx_.clock().now();
    Text9->setText(RegistrationTimeText(now.time(), QLocale().timeFormat(QLocale::LongFormat)));
    Text8->setText(ToSolarHijri(now.date(), 0));
    Text6->setFocus();
    // Always re-read: a view left empty by a proposal or read before the last registration
    // would otherwise propose nothing. Without a proposal the code is typed.
    if (const store::Result r = propose(); !r)
        ReportFailure(ctx_.dialogs(), this, kCannotPropose, r.error);
}

store::Result RegistrationPanel::propose()
{
    store::View& ide = Adodc5;
    bool any = false;
    store::Result r = ide.refresh();
    if (r)
        r = ide.anyRow(any);
    if (!r || !any)
        return r; // nothing registered yet: the code is typed
    if (r = ide.moveLast(); !r)
        return r;
    Text25->setText(ide.value(kCodeColumn));
    // Counted through the index of the codes that are numbers: at once even after a run of
    // 100,000 taken codes.
    store::DigitCodeCounter counter(*examineeFile_, ide.table(), kCodeColumn);
    store::Result counted = store::Result::success();
    const std::optional<QString> code = ProposeCode(Text25->text(), [&](const QString& lo, const QString& hi) {
        qint64 taken = 0;
        counted = counter.count(lo, hi, taken);
        return counted ? std::optional(taken) : std::nullopt;
    });
    if (!code)
        return counted;
    Text11->setText(*code);
    return store::Result::success();
}

QWidget* RegistrationPanel::focusFor(RegistrationEntry entry) const
{
    switch (entry) {
    case RegistrationEntry::Code: return Text11;
    case RegistrationEntry::GivenName: return Text6;
    case RegistrationEntry::FamilyName: return Text4;
    case RegistrationEntry::Sex: return Combo2;
    case RegistrationEntry::Age: return Text5;
    case RegistrationEntry::MaritalStatus: return Combo1;
    case RegistrationEntry::Group: return Combo3;
    case RegistrationEntry::Education: return Combo4;
    }
    return nullptr;
}

void RegistrationPanel::save()
{
    if (const std::optional<RegistrationEntry> missing = FirstMissingEntry(entries())) {
        ShowAutoClosingMessage(ctx_.dialogs(), this, MissingEntryMessage(*missing, identifierLabel_));
        focusFor(*missing)->setFocus();
        return;
    }

    // A code is free only when the table says so: a failed read is not "nobody has it".
    store::View& ide = Adodc5;
    int taken = 0;
    store::Result r = store::SelectByCode(ide, Text11->text());
    if (r)
        r = ide.countRows(taken);
    if (!r) {
        ReportFailure(ctx_.dialogs(), this, kStoreFailed, r.error);
        return;
    }
    if (taken > 0) {
        ShowAutoClosingMessage(ctx_.dialogs(), this, texts::kCodeTaken);
        return;
    }
    if (!store())
        return; // reported; the panel stays open with the entries
    discard();
    // The new response row is seen by whoever re-reads; the main window does on registered().
    Q_EMIT registered();
}

bool RegistrationPanel::store()
{
    store::View& ide = Adodc2;
    store::View& answer = Adodc3;
    if (!ide.isNew())
        ide.addNew(); // a retry after a failed store
    answer.addNew();
    using F = examinees::IdentityField;
    store::Result r = identity_->writeTo(ide, {F::Code, F::GivenName, F::FamilyName, F::Age, F::Sex, F::MaritalStatus,
                                               F::Group, F::Education, F::Date, F::Time});
    if (r)
        r = answer.setValue(kCodeColumn, Text11->text().trimmed());
    // Both rows or neither: an examinee whose code is taken but who has no response row could
    // never be tested or scored.
    store::Transaction both(examineeFile_);
    if (r)
        r = both.begin();
    if (r)
        r = ide.update();
    if (r)
        r = answer.update();
    if (r)
        r = both.commit();
    if (!r) {
        // What the views stored was rolled back with the transaction: forget it. A failed re-read
        // shows at the next attempt.
        (void)ide.refresh();
        (void)answer.refresh();
        if (r.kind == store::Failure::DuplicateKey) {
            // Another computer took the code between the check and the store: the key decided.
            const QString lost = Text11->text();
            if (propose() && Text11->text() != lost) {
                ctx_.dialogs().message(this, titles::kAttention, kTakenMeanwhile.arg(lost, Text11->text()),
                                       Dialogs::Icon::Warning);
                return false;
            }
        }
        ReportFailure(ctx_.dialogs(), this, kStoreFailed, r.error);
        return false;
    }
    return true;
}


void RegistrationPanel::cancel()
{
    discard();
    Q_EMIT closed();
}

void RegistrationPanel::discard()
{
    // Only the unsaved row matters here, and a re-read drops it even when it fails.
    if (Adodc2.hasPendingEdit())
        (void)Adodc2.refresh();
}
