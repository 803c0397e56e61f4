#include "norms/norm_tables_panel.h"
#include "calendar/solar_hijri.h"
#include "kit/app_context.h"
#include "kit/controls.h"
#include "kit/twips.h"
#include "norms/norm_texts.h"
#include "reports/output_files.h"
#include "store/connection.h"
#include "store/schema.h"

#include <QDir>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

using namespace norms;

NormTablesPanel::NormTablesPanel(AppContext& ctx, QWidget* parent)
    : QFrame(parent)
    , ctx_(ctx)
{
    setObjectName(QStringLiteral("normTablesPanel"));
    StylePanel(this);
    build();
    hide();
}

void NormTablesPanel::build()
{
    auto* page = new QVBoxLayout(this);
    page->setContentsMargins(12, 10, 12, 10);
    page->setSpacing(6);

    title = MakeLabel(this, QStringLiteral("title"), texts::kPanelTitle);
    QFont bold = title->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() + 1);
    title->setFont(bold);
    closeButton = MakeButton(this, QStringLiteral("closeButton"), texts::kClose);
    auto* top = new QHBoxLayout;
    top->addWidget(title);
    top->addStretch();
    top->addWidget(closeButton);
    page->addLayout(top);

    normTables = new QTableWidget(int(NormGroups().size()), 5, this);
    normTables->setObjectName(QStringLiteral("normTables"));
    normTables->setHorizontalHeaderLabels(
        {texts::kColumnGroup, texts::kColumnName, texts::kColumnSource, texts::kColumnChanged, texts::kColumnKind});
    normTables->verticalHeader()->hide();
    normTables->setSelectionBehavior(QAbstractItemView::SelectRows);
    normTables->setSelectionMode(QAbstractItemView::SingleSelection);
    normTables->setEditTriggers(QAbstractItemView::NoEditTriggers);
    normTables->setWordWrap(false);
    normTables->setTextElideMode(Qt::ElideRight); // the end of the text gives way
    normTables->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    normTables->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    QHeaderView* header = normTables->horizontalHeader();
    header->setSectionResizeMode(QHeaderView::ResizeToContents);
    header->setSectionResizeMode(2, QHeaderView::Stretch); // the source takes what is left; in full below
    normTables->verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    page->addWidget(normTables);

    sourceLine = MakeLabel(this, QStringLiteral("sourceLine"));
    sourceLine->setWordWrap(true);
    page->addWidget(sourceLine);
    keptLine = MakeLabel(this, QStringLiteral("keptLine"));
    keptLine->setWordWrap(true);
    page->addWidget(keptLine);
    storedScoresNote = MakeLabel(this, QStringLiteral("storedScoresNote"), texts::kStoredScoresNote);
    storedScoresNote->setWordWrap(true);
    page->addWidget(storedScoresNote);
    page->addStretch();

    auto* buttons = new QGridLayout;
    buttons->setSpacing(6);
    exportOne = MakeButton(this, QStringLiteral("exportOne"), texts::kExportOne);
    exportAll = MakeButton(this, QStringLiteral("exportAll"), texts::kExportAll);
    importOne = MakeButton(this, QStringLiteral("importOne"), texts::kImportOne);
    importAll = MakeButton(this, QStringLiteral("importAll"), texts::kImportAll);
    putBackKept = MakeButton(this, QStringLiteral("putBackKept"), texts::kPutBack);
    restoreDeliveredTables = MakeButton(this, QStringLiteral("restoreDeliveredTables"), texts::kRestoreDelivered);
    buttons->addWidget(exportOne, 0, 0);
    buttons->addWidget(exportAll, 0, 1);
    buttons->addWidget(putBackKept, 0, 2);
    buttons->addWidget(importOne, 1, 0);
    buttons->addWidget(importAll, 1, 1);
    buttons->addWidget(restoreDeliveredTables, 1, 2);
    page->addLayout(buttons);

    connect(normTables, &QTableWidget::currentCellChanged, this, &NormTablesPanel::showSelection);
    connect(exportOne, &QPushButton::clicked, this, [this] { exportTables(false); });
    connect(exportAll, &QPushButton::clicked, this, [this] { exportTables(true); });
    connect(importOne, &QPushButton::clicked, this, [this] { importTables(false); });
    connect(importAll, &QPushButton::clicked, this, [this] { importTables(true); });
    connect(putBackKept, &QPushButton::clicked, this, &NormTablesPanel::putBack);
    connect(restoreDeliveredTables, &QPushButton::clicked, this, &NormTablesPanel::restoreDelivered);
    connect(closeButton, &QPushButton::clicked, this, &NormTablesPanel::closed);
}

void NormTablesPanel::open()
{
    refresh();
    show();
    raise();
    if (normTables->currentRow() < 0)
        normTables->setCurrentCell(0, 0);
}

void NormTablesPanel::refresh()
{
    const store::Result r = ReadNormStates(ctx_.path(store::kNormsFile), states_);
    if (!r) {
        states_.clear();
        ReportFailure(ctx_.dialogs(), window(), texts::kNotRead, r.error);
    }
    for (int row = 0; row < normTables->rowCount(); ++row) {
        const NormGroup& group = NormGroups().at(row);
        const NormDescription d = row < states_.size() ? states_.at(row).current : NormDescription{};
        const QStringList cells{group.label(), d.name, d.source, d.changed.isEmpty() ? texts::kNeverChanged : d.changed,
                                states_.isEmpty() ? QString() : d.delivered ? texts::kYes : texts::kNo};
        for (int column = 0; column < cells.size(); ++column) {
            auto* item = new QTableWidgetItem(cells.at(column));
            item->setToolTip(cells.at(column));
            normTables->setItem(row, column, item);
        }
    }
    // Every row in sight, whatever face the theme gives the table.
    normTables->resizeRowsToContents();
    int height = normTables->horizontalHeader()->sizeHint().height() + 2 * normTables->frameWidth();
    for (int row = 0; row < normTables->rowCount(); ++row)
        height += normTables->rowHeight(row);
    normTables->setFixedHeight(height);
    showSelection();
}

QString NormTablesPanel::selectedTable() const
{
    return NormGroups().value(std::max(0, normTables->currentRow())).table;
}

void NormTablesPanel::showSelection()
{
    const QString table = selectedTable();
    const NormTableState* state = nullptr;
    for (const NormTableState& s : states_)
        if (s.table == table)
            state = &s;
    sourceLine->setText(state ? texts::kSourceLine.arg(state->current.source) : QString());
    const bool kept = state && state->kept;
    if (!kept)
        keptLine->setText(texts::kNothingKept);
    else if (state->kept->delivered)
        keptLine->setText(texts::kKeptDelivered.arg(state->kept->name));
    else
        keptLine->setText(texts::kKeptLine.arg(state->kept->name, state->kept->changed));
    putBackKept->setEnabled(kept);
}

QStringList NormTablesPanel::chosenTables(bool all) const
{
    if (!all)
        return {selectedTable()};
    QStringList tables;
    for (const NormGroup& g : NormGroups())
        tables << g.table;
    return tables;
}

QString NormTablesPanel::now() const
{
    const QDateTime at = ctx_.clock().now();
    return ToSolarHijri(at.date(), 0) + QLatin1Char(' ') + at.time().toString(QStringLiteral("HH:mm"));
}

QString NormTablesPanel::groupLabels(const QStringList& tables) const
{
    QStringList labels;
    for (const QString& t : tables)
        if (const NormGroup* g = FindNormGroup(t))
            labels << g->label();
    return labels.join(QStringLiteral("؛ "));
}

void NormTablesPanel::exportTables(bool all)
{
    const QStringList tables = chosenTables(all);
    const QString folder = documentsFolder_.isEmpty() ? reports::DocumentsFolder() : documentsFolder_;
    const QString proposed = QDir(folder).filePath(all ? texts::kAllFileName : texts::kOneFileName.arg(tables.first()));
    QString path = ctx_.dialogs().saveFileName(window(), all ? texts::kExportAll : texts::kExportOne, proposed, texts::kSaveFilter);
    if (path.isEmpty())
        return;
    if (!path.endsWith(QLatin1String(".xlsx"), Qt::CaseInsensitive))
        path += QStringLiteral(".xlsx");

    QVector<workbook::SheetToWrite> sheets;
    store::Connection file(ctx_.path(store::kNormsFile));
    store::Result r = store::Result::success();
    for (const QString& table : tables) {
        NormTableData written;
        written.table = table;
        NormTableState state;
        r = ReadNormState(file, table, state);
        if (r)
            r = ReadNormValues(file, table, written.values);
        if (!r)
            break;
        written.description = state.current;
        sheets << NormSheet(written);
    }
    if (r)
        r = workbook::WriteXlsx(path, sheets);
    if (!r) {
        ReportFailure(ctx_.dialogs(), window(), texts::kNotExported, r.error);
        return;
    }
    ctx_.dialogs().message(window(), titles::kAttention, texts::kExported.arg(QDir::toNativeSeparators(path)),
                           Dialogs::Icon::Information);
}

void NormTablesPanel::importTables(bool all)
{
    const QStringList tables = chosenTables(all);
    const QString folder = documentsFolder_.isEmpty() ? reports::DocumentsFolder() : documentsFolder_;
    const QString path =
        ctx_.dialogs().openFileName(window(), all ? texts::kImportAll : texts::kImportOne, folder, texts::kWorkbookFilter);
    if (path.isEmpty())
        return;
    NormWorkbookRead read = ReadNormWorkbook(path, tables);
    if (!read.error.isEmpty()) {
        ReportFailure(ctx_.dialogs(), window(), texts::kWorkbookNotRead.arg(QDir::toNativeSeparators(path)), read.error,
                      Dialogs::Icon::Warning, titles::kAttention);
        return;
    }
    if (read.problem) {
        ctx_.dialogs().message(window(), titles::kAttention, texts::kRefused + QLatin1Char('\n') + read.problem->text(),
                               Dialogs::Icon::Warning);
        return;
    }
    const QString changed = now();
    for (NormTableData& t : read.tables) {
        t.description.changed = changed;
        // The delivered values stay provisional, whatever the workbook calls them.
        t.description.delivered = SameReadValues(t.values, DeliveredValues(t.table));
    }
    QStringList replaced;
    const store::Result r = ReplaceNormTables(ctx_.path(store::kNormsFile), read.tables, replaced);
    refresh();
    if (!r) {
        ReportFailure(ctx_.dialogs(), window(), texts::kNotReplaced, r.error);
        return;
    }
    if (replaced.isEmpty()) {
        ctx_.dialogs().message(window(), titles::kAttention, texts::kUnchanged, Dialogs::Icon::Information);
        return;
    }
    Q_EMIT normTablesChanged();
    ctx_.dialogs().message(window(), titles::kAttention,
                           texts::kReplaced.arg(groupLabels(replaced)) + QLatin1Char('\n') + texts::kStoredScoresNote,
                           Dialogs::Icon::Information);
}

void NormTablesPanel::putBack()
{
    const QString table = selectedTable();
    const NormGroup* group = FindNormGroup(table);
    std::optional<NormDescription> kept;
    for (const NormTableState& s : states_)
        if (s.table == table)
            kept = s.kept;
    if (!group || !kept)
        return;
    if (!ctx_.dialogs().question(window(), titles::kAttention, texts::kPutBackQuestion.arg(kept->name, group->label()),
                                 Dialogs::Icon::Question))
        return;
    const store::Result r = PutBackKeptTable(ctx_.path(store::kNormsFile), table, now());
    refresh();
    if (!r) {
        ReportFailure(ctx_.dialogs(), window(), texts::kNotPutBack, r.error);
        return;
    }
    Q_EMIT normTablesChanged();
    ctx_.dialogs().message(window(), titles::kAttention,
                           texts::kPutBackDone.arg(kept->name, group->label()) + QLatin1Char('\n') + texts::kStoredScoresNote,
                           Dialogs::Icon::Information);
}

void NormTablesPanel::restoreDelivered()
{
    if (!ctx_.dialogs().question(window(), titles::kWarning, texts::kRestoreQuestion, Dialogs::Icon::Question))
        return;
    QStringList restored;
    const store::Result r = RestoreDeliveredTables(ctx_.path(store::kNormsFile), now(), restored);
    refresh();
    if (!r) {
        ReportFailure(ctx_.dialogs(), window(), texts::kNotRestored, r.error);
        return;
    }
    if (restored.isEmpty()) {
        ctx_.dialogs().message(window(), titles::kAttention, texts::kNothingToRestore, Dialogs::Icon::Information);
        return;
    }
    Q_EMIT normTablesChanged();
    ctx_.dialogs().message(window(), titles::kAttention,
                           texts::kRestored.arg(groupLabels(restored)) + QLatin1Char('\n') + texts::kStoredScoresNote,
                           Dialogs::Icon::Information);
}
