#include "examinees/registration_panel.h"
#include "examinees/identity.h"
#include "kit/controls.h"
#include "kit/app_context.h"
#include "kit/digit_filter.h"
#include "kit/twips.h"
#include "store/schema.h"
#include "calendar/solar_hijri.h"
#include "examinees/code_proposal.h"
#include "kit/identity_texts.h"
#include "examinees/registration_texts.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>

namespace {

const QString kCodeColumn = QStringLiteral("Code");
const QString kStoreFailed = QStringLiteral("ثبت نام آزمودني ذخيره نشد.");
const QString kUndoFailed = QStringLiteral("رديف ناقص جدول IDE پاک نشد.");

QLineEdit* makeField(QWidget* parent, const QString& name)
{
    auto* field = new QLineEdit(parent);
    field->setObjectName(name);
    return field;
}

QLineEdit* makeHidden(QWidget* parent, const QString& name)
{
    QLineEdit* field = makeField(parent, name);
    field->hide();
    return field;
}


QString chosen(const QComboBox* list)
{
    return list->currentIndex() >= 0 ? list->currentText() : QString();
}

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
    Text11 = makeField(this, QStringLiteral("Text11"));
    Text6 = makeField(this, QStringLiteral("Text6"));
    Text4 = makeField(this, QStringLiteral("Text4"));
    Text5 = makeField(this, QStringLiteral("Text5"));
    Text5->setMaxLength(2);
    Text8 = makeField(this, QStringLiteral("Text8"));
    Text9 = makeField(this, QStringLiteral("Text9"));
    DigitFilter::install(Text11, ctx_);
    DigitFilter::install(Text5, ctx_);

    Combo2 = MakeChoiceList(this, QStringLiteral("Combo2"), texts::kChooseSex, examinees::Sexes());
    Combo1 = MakeChoiceList(this, QStringLiteral("Combo1"), texts::kChooseMaritalStatus, examinees::MaritalStatuses());
    Combo3 = MakeChoiceList(this, QStringLiteral("Combo3"), texts::kChooseGroup, examinees::Groups());
    Combo4 = MakeChoiceList(this, QStringLiteral("Combo4"), texts::kChooseEducation, examinees::EducationLevels());
    Text16 = makeHidden(this, QStringLiteral("Text16"));
    Text15 = makeHidden(this, QStringLiteral("Text15"));
    Text17 = makeHidden(this, QStringLiteral("Text17"));
    Text7 = makeHidden(this, QStringLiteral("Text7"));
    Text25 = makeHidden(this, QStringLiteral("Text25"));
    for (auto [list, hidden] : {std::pair{Combo2, Text16}, std::pair{Combo1, Text15}, std::pair{Combo3, Text17},
                                std::pair{Combo4, Text7}}) {
        connect(list, &QComboBox::currentIndexChanged, hidden,
                [list = list, hidden = hidden] { hidden->setText(chosen(list)); });
    }

    Command8 = new QPushButton(texts::kCaptionSave, this);
    Command8->setObjectName(QStringLiteral("Command8"));
    Command10 = new QPushButton(texts::kCaptionCancel, this);
    Command10->setObjectName(QStringLiteral("Command10"));
    connect(Command8, &QPushButton::clicked, this, &RegistrationPanel::save);
    connect(Command10, &QPushButton::clicked, this, &RegistrationPanel::cancel);

    codeCaption = MakeFieldCaption(this, texts::kCaptionCode);
    codeCaption->setObjectName(QStringLiteral("codeCaption"));

    // Two columns of caption and field; the grid follows the window's right-to-left direction,
    // so the first column is the right one. The lists, whose prompts are long, get the wider one.
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(10, 8, 10, 8);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(4);
    const std::pair<QLabel*, QWidget*> right[] = {
        {codeCaption, Text11},
        {MakeFieldCaption(this, texts::kCaptionGivenName), Text6},
        {MakeFieldCaption(this, texts::kCaptionFamilyName), Text4},
        {MakeFieldCaption(this, texts::kCaptionAge), Text5},
        {MakeFieldCaption(this, texts::kCaptionDate), Text8},
    };
    const std::pair<QLabel*, QWidget*> left[] = {
        {MakeFieldCaption(this, texts::kCaptionSex), Combo2},
        {MakeFieldCaption(this, texts::kCaptionMaritalStatus), Combo1},
        {MakeFieldCaption(this, texts::kCaptionGroup), Combo3},
        {MakeFieldCaption(this, texts::kCaptionEducation), Combo4},
        {MakeFieldCaption(this, texts::kCaptionTime), Text9},
    };
    for (int row = 0; row < 5; ++row) {
        grid->addWidget(right[row].first, row, 0);
        grid->addWidget(right[row].second, row, 1);
        grid->addWidget(left[row].first, row, 3);
        grid->addWidget(left[row].second, row, 4);
    }
    grid->setColumnMinimumWidth(2, 12);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(4, 2);
    for (QWidget* w : std::initializer_list<QWidget*>{Text11, Text6, Text4, Text5, Text8, Combo2, Combo1, Combo3,
                                                      Combo4, Text9})
        w->setMinimumWidth(60);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Command8);
    buttons->addWidget(Command10);
    buttons->addStretch();
    grid->addLayout(buttons, 5, 0, 1, 5);

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
    // Always re-read: a view left empty by a proposal or read before the last registration
    // would otherwise propose nothing.
    Adodc5.refresh();
    Adodc2.addNew();
    for (QLineEdit* attached : {Text11, Text6, Text4, Text5, Text16, Text15, Text17, Text7, Text8, Text9})
        attached->clear();
    const QDateTime now = ctx_.clock().now();
    Text9->setText(RegistrationTimeText(now.time(), QLocale().timeFormat(QLocale::LongFormat)));
    Text8->setText(ToSolarHijri(now.date(), 0));
    Text6->setFocus();
    proposeCode();
}

void RegistrationPanel::proposeCode()
{
    store::View& ide = Adodc5;
    if (!ide.hasRows())
        return; // nothing registered yet: the code is typed
    ide.moveLast();
    Text25->setText(ide.value(kCodeColumn));
    Text11->setText(ProposeCode(Text25->text(), [this, &ide](const QString& code) {
        ide.setFilter(kCodeColumn, code);
        Text25->setText(ide.value(kCodeColumn));
        return ide.hasCurrent() && Text25->text() == code;
    }));
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
    Text16->setText(chosen(Combo2));
    Text15->setText(chosen(Combo1));
    Text17->setText(chosen(Combo3));
    Text7->setText(chosen(Combo4));

    if (const std::optional<RegistrationEntry> missing = FirstMissingEntry(entries())) {
        ShowAutoClosingMessage(ctx_.dialogs(), this, MissingEntryMessage(*missing, identifierLabel_));
        focusFor(*missing)->setFocus();
        return;
    }

    store::View& ide = Adodc5;
    ide.refresh();
    ide.setFilter(kCodeColumn, Text11->text());
    if (ide.count() > 0) {
        ShowAutoClosingMessage(ctx_.dialogs(), this, texts::kCodeTaken);
        ide.refresh();
        return;
    }
    if (!store())
        return; // reported; the panel stays open with the entries
    discard();
    Adodc3.refresh();
    Q_EMIT registered();
}

bool RegistrationPanel::store()
{
    Adodc5.refresh();
    store::View& ide = Adodc2;
    store::View& answer = Adodc3;
    if (!ide.isNew())
        ide.addNew(); // a retry after a failed store
    const std::pair<const char*, QLineEdit*> attached[] = {
        {"Code", Text11}, {"FName", Text6}, {"LName", Text4}, {"Sen", Text5}, {"Jens", Text16},
        {"Taahol", Text15}, {"Group", Text17}, {"Tahsil", Text7}, {"Date", Text8}, {"Time", Text9},
    };
    for (const auto& [column, field] : attached)
        ide.setValue(QString::fromLatin1(column), field->text());
    answer.addNew();
    answer.setValue(kCodeColumn, Text11->text().trimmed());

    if (store::Result r = ide.update(); !r) {
        answer.refresh();
        showStoreFailure(ide.table(), r.error);
        return false;
    }
    if (store::Result r = answer.update(); !r) {
        // Never leave an examinee without his response row: take the IDE row back.
        QString error = answer.table() + QStringLiteral(": ") + r.error;
        if (store::Result undo = ide.deleteCurrent(); !undo)
            error += QLatin1Char('\n') + kUndoFailed + QLatin1Char('\n') + undo.error;
        answer.refresh();
        showStoreFailure(QString(), error);
        return false;
    }
    return true;
}

void RegistrationPanel::showStoreFailure(const QString& what, const QString& error)
{
    QString text = kStoreFailed + QLatin1Char('\n');
    if (!what.isEmpty())
        text += what + QStringLiteral(": ");
    text += error;
    ctx_.dialogs().message(this, titles::kError, text, Dialogs::Icon::Critical);
}

void RegistrationPanel::cancel()
{
    discard();
    Adodc5.refresh();
    Q_EMIT closed();
}

void RegistrationPanel::discard()
{
    if (Adodc2.isNew() || Adodc2.hasRows())
        Adodc2.refresh();
}
