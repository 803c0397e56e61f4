#include "examinees/lookup_screen.h"
#include "examinees/answers_check.h"
#include "examinees/identity.h"
#include "examinees/lookup_texts.h"
#include "examinees/registration_texts.h"
#include "kit/app_context.h"
#include "kit/code_files.h"
#include "kit/controls.h"
#include "kit/identity_texts.h"
#include "kit/twips.h"
#include "settings/apply_theme.h"
#include "store/schema.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTableView>
#include <QVBoxLayout>

namespace {

const QString kCode = QStringLiteral("Code");
const QString kGivenName = QStringLiteral("FName");
const QString kFamilyName = QStringLiteral("LName");
const QString kGroup = QStringLiteral("Group");
// The deletion's failures keep the title they have always had.
const QString kDeleteFailedTitle = QStringLiteral("Error");
const QString kNotRead = QStringLiteral("فهرست آزمودني ها خوانده نشد.");
const QString kNotDeleted = QStringLiteral("آزمودني حذف نشد.");
const QString kPictureLeft = QStringLiteral("آزمودني حذف شد، اما تصوير نمودار او پاک نشد؛ آن را خودتان پاک کنيد:");

QComboBox* makeList(QWidget* parent, const QString& name)
{
    auto* list = new QComboBox(parent);
    list->setObjectName(name);
    list->setEditable(true);
    list->setInsertPolicy(QComboBox::NoInsert);
    // The grid shows exact matches only: an inline completion would filter by a name never typed.
    list->setCompleter(nullptr);
    list->setMaxVisibleItems(15);
    return list;
}

// Every row of the view's table with the code, in whatever number they are there.
store::Result deleteEvery(store::View& view, const QString& code)
{
    store::Result r = view.setFilter(kCode, code);
    while (r && view.hasCurrent())
        r = view.deleteCurrent();
    return r;
}

} // namespace

FrmCode::FrmCode(AppContext& ctx, std::function<QString()> identifierLabel, QWidget* parent)
    : QDialog(parent)
    , examineeFile_(std::make_shared<store::Connection>(ctx.path(store::kExamineeFile)))
    , normsFile_(std::make_shared<store::Connection>(ctx.path(store::kNormsFile)))
    , examinees(examineeFile_, QStringLiteral("IDE"), {kCode, kGivenName, kFamilyName, kGroup})
    , familyNames(examineeFile_, QStringLiteral("IDE"), kFamilyName)
    , givenNames(examineeFile_, QStringLiteral("IDE"), kGivenName)
    , identities(examineeFile_, QStringLiteral("IDE"))
    , answers(examineeFile_, QStringLiteral("Answer"))
    , rawScores(normsFile_, QStringLiteral("NOMREKhamIR"))
    , tScores(normsFile_, QStringLiteral("NOMREbikIR"))
    , ctx_(ctx)
    , identifierLabel_(std::move(identifierLabel))
{
    setObjectName(QStringLiteral("FrmCode"));
    setWindowTitle(texts::kLookupTitle);
    build();
    load();
}

FrmCode::~FrmCode() = default;

void FrmCode::build()
{
    setFixedSize(twipsSize(8400, 8400));
    auto* page = new QVBoxLayout(this);
    page->setContentsMargins(14, 12, 14, 12);
    page->setSpacing(8);

    DataCombo1 = makeList(this, QStringLiteral("DataCombo1"));
    DataCombo6 = makeList(this, QStringLiteral("DataCombo6"));
    Combo3 = makeList(this, QStringLiteral("Combo3"));
    DataCombo1->setModel(&familyNames);
    DataCombo6->setModel(&givenNames);
    Combo3->addItems(examinees::Groups());
    Combo3->setPlaceholderText(texts::kChooseGroup);
    Combo3->lineEdit()->setPlaceholderText(texts::kChooseGroup);
    auto* filters = new QGridLayout;
    filters->setHorizontalSpacing(6);
    const QList<QPair<QString, QComboBox*>> lists{{texts::kCaptionFamilyName, DataCombo1},
                                                  {texts::kCaptionGivenNameList, DataCombo6},
                                                  {texts::kCaptionGroup, Combo3}};
    for (int i = 0; i < lists.size(); ++i) {
        filters->addWidget(MakeFieldCaption(this, lists.at(i).first), 0, 2 * i);
        filters->addWidget(lists.at(i).second, 0, 2 * i + 1);
        filters->setColumnStretch(2 * i + 1, 1);
    }
    Combo3->setMinimumWidth(twips(1900)); // room for its prompt
    checkCode = MakeField(this, QStringLiteral("checkCode"));
    checkCode->setLayoutDirection(Qt::LeftToRight);
    checkCode->setMaxLength(examinees::kCheckCodeLength + 4);
    checkCode->setFixedWidth(twips(1500));
    findByCheck = MakeButton(this, QStringLiteral("findByCheck"), texts::kCaptionFindByCheck);
    auto* byCheck = new QHBoxLayout;
    byCheck->addWidget(MakeFieldCaption(this, texts::kCaptionCheckCode));
    byCheck->addWidget(checkCode);
    byCheck->addWidget(findByCheck);
    byCheck->addStretch();
    filters->addLayout(byCheck, 1, 0, 1, 6);
    page->addLayout(filters);

    auto* gridBox = new QGroupBox(texts::kGridCaption, this);
    gridBox->setObjectName(QStringLiteral("gridCaption"));
    auto* gridLayout = new QVBoxLayout(gridBox);
    DataGrid1 = new QTableView(gridBox);
    DataGrid1->setObjectName(QStringLiteral("DataGrid1"));
    examinees.setHeader(1, texts::kHeaderGivenName);
    examinees.setHeader(2, texts::kHeaderFamilyName);
    examinees.setHeader(3, texts::kHeaderGroup);
    DataGrid1->setModel(&examinees);
    DataGrid1->setSelectionBehavior(QAbstractItemView::SelectRows);
    DataGrid1->setSelectionMode(QAbstractItemView::SingleSelection);
    DataGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    DataGrid1->setAlternatingRowColors(true);
    DataGrid1->verticalHeader()->setDefaultSectionSize(twips(330));
    DataGrid1->verticalHeader()->hide();
    // Fixed widths: sizing a column to its contents would read every row.
    QHeaderView* header = DataGrid1->horizontalHeader();
    header->setSectionResizeMode(QHeaderView::Interactive);
    for (const auto& [column, width] : {std::pair{0, 1200}, {1, 1800}, {2, 2600}})
        header->resizeSection(column, twips(width));
    header->setStretchLastSection(true);
    gridLayout->addWidget(DataGrid1);
    page->addWidget(gridBox, 1);

    Frame1 = new QGroupBox(texts::kCaptionDeleteFrame, this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    auto* remove = new QHBoxLayout(Frame1);
    SkinLabel1 = MakeLabel(Frame1, QStringLiteral("SkinLabel1"));
    Text5 = MakeField(Frame1, QStringLiteral("Text5"));
    Text5->setMaximumWidth(twips(1800));
    Command2 = MakeButton(Frame1, QStringLiteral("Command2"), texts::kCaptionDelete);
    remove->addWidget(SkinLabel1);
    remove->addWidget(Text5);
    remove->addWidget(Command2);
    remove->addStretch();
    page->addWidget(Frame1);

    Command6 = MakeButton(this, QStringLiteral("Command6"), texts::kCaptionExit);
    CmdGroupExcel = MakeButton(this, QStringLiteral("CmdGroupExcel"), texts::kCaptionGroupExcel);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(CmdGroupExcel);
    bottom->addStretch();
    bottom->addWidget(Command6);
    page->addLayout(bottom);

    // Enter belongs to Text5 alone: no button of the window is a default button.
    for (QPushButton* b : {Command2, Command6, CmdGroupExcel, findByCheck}) {
        b->setAutoDefault(false);
        b->setMinimumWidth(twips(1300));
    }

    connect(DataCombo1, &QComboBox::editTextChanged, this, [this] { filterBy(DataCombo1, kFamilyName); });
    connect(DataCombo6, &QComboBox::editTextChanged, this, [this] { filterBy(DataCombo6, kGivenName); });
    connect(Combo3, &QComboBox::editTextChanged, this, [this] { filterBy(Combo3, kGroup); });
    connect(Command2, &QPushButton::clicked, this, &FrmCode::deleteExaminee);
    connect(Text5, &QLineEdit::returnPressed, this, &FrmCode::deleteExaminee);
    connect(Command6, &QPushButton::clicked, this, &QDialog::close); // Escape closes it too
    connect(CmdGroupExcel, &QPushButton::clicked, this, &FrmCode::requestGroupExport);
    connect(findByCheck, &QPushButton::clicked, this, &FrmCode::findByCheckCode);
    connect(checkCode, &QLineEdit::returnPressed, this, &FrmCode::findByCheckCode);
}

void FrmCode::load()
{
    move(StandardWindowPosition());
    ApplyTheme(ctx_.programFolder(), this);
    const QString label = identifierLabel_();
    examinees.setHeader(0, label);
    SkinLabel1->setText(label + QLatin1Char(' ') + texts::kEnterSuffix);
    showEveryExaminee();
}

const std::optional<store::ColumnFilter>& FrmCode::currentFilter() const
{
    return examinees.filter();
}

store::Result FrmCode::codesInView(QStringList& codes) const
{
    return examinees.valuesInView(kCode, codes);
}

void FrmCode::requestGroupExport()
{
    QStringList codes;
    if (const store::Result r = codesInView(codes); !r) {
        ReportFailure(ctx_.dialogs(), this, kNotRead, r.error);
        return;
    }
    Q_EMIT groupExportRequested(codes);
}

void FrmCode::blankLists(const QList<QComboBox*>& lists)
{
    // Blanking a list only clears its text; it filters nothing.
    for (QComboBox* list : lists) {
        const QSignalBlocker quiet(list);
        list->setCurrentIndex(-1);
        list->clearEditText();
    }
}

void FrmCode::filterBy(QComboBox* list, const QString& column)
{
    QList<QComboBox*> others{DataCombo1, DataCombo6, Combo3};
    others.removeOne(list);
    blankLists(others);
    // A list emptied again filters nothing: every examinee is shown.
    const QString text = list->currentText();
    if (const store::Result r = text.isEmpty() ? examinees.showAll() : examinees.setFilter({column, text}); !r)
        ReportFailure(ctx_.dialogs(), this, kNotRead, r.error);
}

void FrmCode::findByCheckCode()
{
    const QString code = examinees::NormalisedCheckCode(checkCode->text());
    if (code.isEmpty()) {
        ctx_.dialogs().message(this, titles::kAttention, texts::kNotACheckCode, Dialogs::Icon::Warning);
        return;
    }
    QStringList codes;
    if (const store::Result r = examinees::FindByAnswersCheck(*examineeFile_, code, codes); !r) {
        ReportFailure(ctx_.dialogs(), this, texts::kAnswersNotRead, r.error);
        return;
    }
    if (codes.isEmpty()) {
        ctx_.dialogs().message(this, titles::kAttention, texts::kNoAnswersWithCheck, Dialogs::Icon::Information);
        return;
    }
    blankLists({DataCombo1, DataCombo6, Combo3});
    if (const store::Result r = examinees.setFilter({kCode, QString(), codes}); !r) {
        ReportFailure(ctx_.dialogs(), this, kNotRead, r.error);
        return;
    }
    if (codes.size() > store::kMostFilterValues)
        ctx_.dialogs().message(this, titles::kAttention,
                               texts::kManyWithCheck.arg(codes.size()).arg(store::kMostFilterValues),
                               Dialogs::Icon::Information);
}

void FrmCode::showEveryExaminee()
{
    store::Result r = examinees.showAll();
    // The lists are read again too: a deleted examinee's name may be gone from them. Their
    // re-read must not choose an entry and so filter by it.
    for (const auto& [list, names] : {std::pair{DataCombo1, &familyNames}, {DataCombo6, &givenNames}}) {
        const QSignalBlocker quiet(list);
        if (const store::Result listed = names->refresh(); r && !listed)
            r = listed;
    }
    blankLists({DataCombo1, DataCombo6, Combo3});
    if (!r)
        ReportFailure(ctx_.dialogs(), this, kNotRead, r.error);
}

void FrmCode::deleteExaminee()
{
    const QString code = Text5->text().trimmed();
    if (code.isEmpty()) {
        ShowAutoClosingMessage(ctx_.dialogs(), this, texts::MustEnterCode(identifierLabel_()));
        return;
    }
    // Only a code with a response row is deleted here; a failed read is not "nobody".
    bool found = false;
    store::Result r = answers.setFilter(kCode, code);
    if (r)
        r = answers.anyRow(found);
    if (!r) {
        ReportFailure(ctx_.dialogs(), this, kNotDeleted, r.error, Dialogs::Icon::Warning, kDeleteFailedTitle);
        return;
    }
    if (!found) {
        ShowAutoClosingMessage(ctx_.dialogs(), this, texts::kNoSuchCode);
        (void)answers.refresh(); // read again before the next use
        return;
    }
    const bool yes = ctx_.dialogs().question(this, texts::kProgramCaption, texts::kConfirmDelete, Dialogs::Icon::None);
    if (yes)
        r = removeExaminee(code);
    showEveryExaminee();
    if (!yes)
        return;
    if (!r) {
        ReportFailure(ctx_.dialogs(), this, kNotDeleted, r.error, Dialogs::Icon::Warning, kDeleteFailedTitle);
        return;
    }
    ShowAutoClosingMessage(ctx_.dialogs(), this, texts::kDeleted);
    // The picture of his profile, named after his code, goes with him.
    const QString picture = ProfileBitmapPath(ctx_.programFolder(), code);
    if (QFileInfo::exists(picture) && !QFile::remove(picture))
        ReportFailure(ctx_.dialogs(), this, kPictureLeft, QDir::toNativeSeparators(picture), Dialogs::Icon::Warning);
    Text5->clear();
    Text5->setFocus();
}

store::Result FrmCode::removeExaminee(const QString& code)
{
    // The stored scores go first. They are written again whenever the profile is shown, so if the
    // examinee's own rows then fail to go, nothing he needs is lost; the other way round, scores
    // that failed to go would be left for the next examinee given this code.
    {
        store::Transaction scores(normsFile_);
        store::Result r = scores.begin();
        if (r)
            r = deleteEvery(rawScores, code);
        if (r)
            r = deleteEvery(tScores, code);
        if (r)
            r = scores.commit();
        if (!r) {
            // Undone: what the views deleted is there again, and they read it anew.
            scores.rollback();
            (void)rawScores.refresh();
            (void)tScores.refresh();
            return r;
        }
    }
    // His identity and his responses go together or not at all.
    store::Transaction examinee(examineeFile_);
    store::Result r = examinee.begin();
    if (r)
        r = deleteEvery(answers, code);
    if (r)
        r = deleteEvery(identities, code);
    if (r)
        r = examinee.commit();
    if (!r) {
        examinee.rollback();
        (void)answers.refresh();
        (void)identities.refresh();
    }
    return r;
}

