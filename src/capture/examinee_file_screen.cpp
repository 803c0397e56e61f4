#include "capture/examinee_file_screen.h"
#include "kit/app_context.h"
#include "kit/controls.h"
#include "kit/texts.h"
#include "kit/twips.h"
#include "capture/capture_texts.h"
#include "capture/item_counter.h"
#include "capture/item_grid.h"
#include "capture/workbook_import.h"
#include "settings/apply_theme.h"
#include "store/examinee_rows.h"
#include "store/schema.h"

#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const QString kWorkbookFilter = QStringLiteral("xlsx (*.xlsx);;xls (*.xls)");

QPushButton* makeButton(QWidget* parent, const QString& name, const QString& caption)
{
    QPushButton* button = MakeButton(parent, name, caption);
    button->setAutoDefault(false);
    button->setMinimumHeight(twips(480));
    return button;
}

} // namespace

FrmFile::FrmFile(AppContext& ctx, QWidget* parent)
    : QDialog(parent)
    , bufferFile_(std::make_shared<store::Connection>(ctx.path(store::kImportBufferFile)))
    , examineeFile_(std::make_shared<store::Connection>(ctx.path(store::kExamineeFile)))
    , buffer(bufferFile_, QStringLiteral("Answer"))
    , identities(examineeFile_, QStringLiteral("IDE"))
    , answers(examineeFile_, QStringLiteral("Answer"))
    , ctx_(ctx)
{
    setObjectName(QStringLiteral("FrmFile"));
    setWindowTitle(texts::kCaptionExamineeFile);
    build();
    load();
}

FrmFile::~FrmFile() = default;

void FrmFile::build()
{
    setFixedSize(twipsSize(10500, 7800));
    auto* page = new QVBoxLayout(this);
    page->setContentsMargins(18, 14, 18, 14);
    page->setSpacing(10);

    QFont bold = font();
    bold.setBold(true);
    auto* name = new QHBoxLayout;
    // A left-to-right mark keeps the leading colon on the left, next to the name.
    SkinLabel2 = MakeFieldCaption(this, QChar(0x200E) + texts::kCaptionExamineeName);
    SkinLabel2->setObjectName(QStringLiteral("SkinLabel2"));
    SkinLblName = new QLabel(this);
    SkinLblName->setObjectName(QStringLiteral("SkinLblName"));
    SkinLblName->setTextFormat(Qt::PlainText);
    SkinLblName->setFont(bold);
    name->addWidget(SkinLabel2);
    name->addWidget(SkinLblName, 1);
    page->addLayout(name);

    // The three steps in reading order, then what was read, then the download and the exit.
    Print_Btn = makeButton(this, QStringLiteral("Print_Btn"), texts::kCaptionSelectExaminee);
    Send_BtnExcel = makeButton(this, QStringLiteral("Send_BtnExcel"), texts::kCaptionSelectWorkbook);
    Save_Btn = makeButton(this, QStringLiteral("Save_Btn"), texts::kCaptionSave);
    Down_BtnExcel = makeButton(this, QStringLiteral("Down_BtnExcel"), texts::kCaptionDownloadBlank);
    Exit_Btn = makeButton(this, QStringLiteral("Exit_Btn"), texts::kCaptionExit);
    auto* steps = new QHBoxLayout;
    for (QPushButton* b : {Print_Btn, Send_BtnExcel, Save_Btn})
        steps->addWidget(b);
    page->addLayout(steps);

    auto* read = new QHBoxLayout;
    LblFile = new QLabel(this);
    LblFile->setObjectName(QStringLiteral("LblFile"));
    LblFile->setTextFormat(Qt::PlainText);
    LblFile->setFont(bold);
    read->addWidget(MakeLabel(this, QStringLiteral("LblFileCaption"), texts::kCaptionFileRead));
    read->addWidget(LblFile);
    read->addStretch(1); // the name stays beside its caption, whichever way it reads
    page->addLayout(read);
    page->addWidget(MakeLabel(this, QStringLiteral("LblStoreCaption"), texts::kCaptionValuesToStore));
    Frame2 = MakePanel(this, QStringLiteral("Frame2"));
    TxtStore = BuildItemGrid(Frame2, QStringLiteral("LblStore_%1"), QStringLiteral("TxtStore_%1")).fields;
    for (QLineEdit* field : std::as_const(TxtStore)) {
        field->setReadOnly(true); // shown, never typed: the workbook is what is stored
        field->setFocusPolicy(Qt::NoFocus);
    }
    page->addWidget(Frame2, 1);

    auto* more = new QHBoxLayout;
    more->addWidget(Down_BtnExcel);
    more->addStretch();
    more->addWidget(Exit_Btn);
    page->addLayout(more);

    Text16 = new QLineEdit(this);
    Text16->setObjectName(QStringLiteral("Text16"));
    Text16->hide();
    Text4 = new QLineEdit(this);
    Text4->setObjectName(QStringLiteral("Text4"));
    Text4->hide();
    bufferPanel = new QFrame(this);
    bufferPanel->setObjectName(QStringLiteral("Frame1"));
    bufferPanel->hide();
    for (int item = 1; item <= kItemCount; ++item) {
        auto* field = new QLineEdit(bufferPanel);
        field->setObjectName(QStringLiteral("TxtKLID_%1").arg(item));
        TxtKLID << field;
    }

    Send_BtnExcel->setEnabled(false);
    Save_Btn->setEnabled(false);
    connect(Print_Btn, &QPushButton::clicked, this, &FrmFile::selectExaminee);
    connect(Send_BtnExcel, &QPushButton::clicked, this, &FrmFile::readWorkbook);
    connect(Save_Btn, &QPushButton::clicked, this, &FrmFile::save);
    connect(Down_BtnExcel, &QPushButton::clicked, this, &FrmFile::downloadBlank);
    connect(Exit_Btn, &QPushButton::clicked, this, &QDialog::close);
}

void FrmFile::load()
{
    move(StandardWindowPosition());
    ApplyTheme(ctx_.programFolder(), this);
    for (store::View* v : {&buffer, &identities, &answers})
        if (const store::Result r = v->refresh(); !r)
            ReportFailure(ctx_.dialogs(), this, texts::kExamineeNotRead, r.error);
    // The buffer shows what its file holds until a workbook is read; it is never saved
    // without a read, and a read replaces all of it.
    for (int item = 1; item <= kItemCount; ++item)
        TxtKLID[item - 1]->setText(buffer.value(QString::number(item)));
}

void FrmFile::selectExaminee()
{
    const QString code = ctx_.dialogs()
                             .inputText(this, texts::kInsertCodeTitle, texts::kInsertCodePrompt, QString())
                             .value_or(QString());
    if (code.isEmpty()) {
        ShowAutoClosingMessage(ctx_.dialogs(), this, texts::kMustEnterExamineeNumber);
        return;
    }
    Text16->setText(code);
    Send_BtnExcel->setEnabled(false);
    Save_Btn->setEnabled(false);
    showRead(QString()); // what was read for someone else is no longer on its way to be stored
    if (const store::Result r = store::SelectByCode(identities, code); !r) {
        ReportFailure(ctx_.dialogs(), this, texts::kExamineeNotRead, r.error);
        return;
    }
    if (!identities.hasCurrent()) {
        SkinLblName->clear();
        ShowAutoClosingMessage(ctx_.dialogs(), this, texts::kNoSuchPerson);
        return;
    }
    if (const store::Result r = store::SelectOrAddResponseRow(answers, code); !r) {
        ReportFailure(ctx_.dialogs(), this, texts::kResponseRowNotCreated, r.error);
        return;
    }
    responses_.markRead();
    SkinLblName->setText(identities.value(QStringLiteral("FName")) + QLatin1Char(' ')
                         + identities.value(QStringLiteral("LName")));
    Send_BtnExcel->setEnabled(true);
}

void FrmFile::showRead(const QString& path)
{
    LblFile->setText(path.isEmpty() ? QString() : QFileInfo(path).fileName());
    LblFile->setToolTip(QDir::toNativeSeparators(path));
    for (int item = 1; item <= kItemCount; ++item)
        TxtStore[item - 1]->setText(path.isEmpty() ? QString() : workbook::StoredResponse(TxtKLID[item - 1]->text()));
}

void FrmFile::readWorkbook()
{
    const QString path = ctx_.dialogs().openFileName(this, QString(), QString(), kWorkbookFilter);
    if (path.isEmpty()) {
        ctx_.dialogs().message(this, texts::kTitleErrorA3, texts::kOperationFailed, Dialogs::Icon::Warning);
        return;
    }
    const workbook::AnswerWorkbook read =
        workbook::ReadAnswerWorkbook(path, workbook::AnswerSheetName(ctx_.publisher()));
    switch (read.outcome) {
    case workbook::AnswerWorkbook::Outcome::Unreadable:
        ctx_.dialogs().message(this, texts::kTitleErrorA4, workbook::UnusableFileText(ctx_.publisher()),
                               Dialogs::Icon::Information);
        return;
    case workbook::AnswerWorkbook::Outcome::WrongMarker:
        ctx_.dialogs().message(this, texts::kTitleErrorA1, texts::kFileNotLoadable, Dialogs::Icon::Information);
        return;
    case workbook::AnswerWorkbook::Outcome::Read:
        break;
    }
    Text4->setText(texts::kWorkbookMarker);
    for (int item = 1; item <= kItemCount; ++item)
        TxtKLID[item - 1]->setText(read.values.value(item - 1));
    showRead(path);
    ctx_.dialogs().message(this, titles::kMessage, texts::kDataEntered, Dialogs::Icon::Information);
    Save_Btn->setEnabled(true);
}

void FrmFile::save()
{
    store::Result r;
    for (int item = 1; r && item <= kItemCount; ++item)
        r = responses_.set(item, workbook::StoredResponse(TxtKLID[item - 1]->text()));
    // One commit: the row holds all or none of the workbook. Answers the examinee gave on his
    // phone since he was chosen here are replaced only when the user says so.
    if (r)
        r = responses_.storeAsking([this](const QString& question) {
            return ctx_.dialogs().question(this, titles::kAttention, question, Dialogs::Icon::Question);
        });
    if (!r) {
        ReportFailure(ctx_.dialogs(), this, texts::kResponsesNotStored, r.error);
        return;
    }
    ctx_.dialogs().message(this, titles::kMessage, texts::kInformationSaved, Dialogs::Icon::Warning);
}

void FrmFile::downloadBlank()
{
    ctx_.desktop().openUrl(workbook::BlankWorkbookAddress(ctx_.publisher())); // the outcome is not used
}
