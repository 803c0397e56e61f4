// Renders the program's screens offscreen into PNG files, for the README and for review.
// The printed report's first page goes through a PDF and pdftoppm into report-page.png; the
// Word document, when LibreOffice is installed, through LibreOffice into word-document.png, and
// so is the group workbook into group-workbook.png.
// Usage: tavora71-screenshots <output-folder> [theme-number]
#include "examinees/identity.h"
#include "store/schema.h"
#include "app/main_window.h"
#include "capture/blank_workbook.h"
#include "capture/examinee_file_screen.h"
#include "capture/workbook_import.h"
#include "capture/xlsx_writer.h"
#include "capture/answer_sheet_screen.h"
#include "capture/test_screen.h"
#include "capture/item_edit_panel.h"
#include "examinees/lookup_screen.h"
#include "examinees/registration_panel.h"
#include "kit/persian_display.h"
#include "kit/shipped_fonts.h"
#include "app/startup.h"
#include "kit/texts.h"
#include "kit/twips.h"
#include "maintenance/about_screen.h"
#include "maintenance/exit_screen.h"
#include "maintenance/backup_screen.h"
#include "maintenance/update_screen.h"
#include "maintenance/maintenance_screens.h"
#include "maintenance/maintenance_texts.h"
#include "maintenance/progress_screen.h"
#include "profile/interpretation_panel.h"
#include "profile/profile_screen.h"
#include "group/group_export.h"
#include "profile/profile_export.h"
#include "reports/report_painter.h"
#include "norms/norm_library.h"
#include "norms/norm_tables_panel.h"
#include "settings/clinic_details.h"
#include "scoring/scoring_screen.h"
#include "settings/apply_theme.h"
#include "settings/clinic_details_panel.h"
#include "settings/settings_panel.h"
#include "settings/theme_panel.h"
#include "store/view.h"
#include "support/scripted_dialogs.h"
#include "support/test_env.h"

#include <QApplication>
#include <algorithm>
#include <cstring>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QPainter>
#include <QProcess>
#include <QStandardPaths>
#include <QTableWidget>
#include <QTemporaryDir>

namespace {

class StillClock final : public Clock {
public:
    QDateTime now() const override { return QDateTime(QDate(2024, 10, 12), QTime(9, 41, 7)); }
};

bool save(QWidget* w, const QString& folder, const QString& name)
{
    w->show();
    QCoreApplication::processEvents();
    const bool ok = w->grab().save(QDir(folder).filePath(name + QStringLiteral(".png")));
    std::printf("%s %s\n", ok ? "wrote" : "FAILED", qPrintable(name));
    return ok;
}

// The scoring screen with one examinee selected (three items left empty, one marked "0"),
// then with its help panel open.
void saveScoringScreen(AppContext& ctx, ScriptedDialogs& dialogs, Frm1& main, const QString& folder)
{
    const QString file = ctx.path(store::kExamineeFile);
    store::View ide(file, QStringLiteral("IDE"));
    store::View answer(file, QStringLiteral("Answer"));
    (void)ide.refresh();
    (void)answer.refresh();
    ide.addNew();
    const QList<QPair<const char*, QString>> identity = {
        {"Code", QStringLiteral("1024")}, {"FName", QStringLiteral("محمدرضا")},
        {"LName", QStringLiteral("حسيني نژاد")}, {"Jens", examinees::kMale}, {"Sen", QStringLiteral("34")},
        {"Taahol", QStringLiteral("متاهل")}, {"Tahsil", examinees::kDiplomaOrLess},
        {"Date", QStringLiteral("1403/07/21")}, {"Time", QStringLiteral("09:41:07")}};
    for (const auto& [column, value] : identity)
        (void)ide.setValue(QString::fromLatin1(column), value);
    (void)ide.update();
    answer.addNew();
    (void)answer.setValue(QStringLiteral("Code"), QStringLiteral("1024"));
    for (int item = 1; item <= store::kItemCount; ++item) {
        QString response = item % 3 == 1 ? QStringLiteral("1") : QStringLiteral("2");
        if (item == 3 || item == 17 || item == 70)
            response.clear();
        if (item == 31)
            response = QStringLiteral("0");
        (void)answer.setValue(QString::number(item), response);
    }
    (void)answer.update();

    main.Command3->click();
    FrmkLID* screen = main.scoringScreen();
    if (!screen)
        return;
    dialogs.inputAnswers.enqueue(QStringLiteral("1024"));
    screen->Command1->click();
    save(screen, folder, QStringLiteral("scoring-screen"));
    screen->Command5->click();
    save(screen, folder, QStringLiteral("scoring-screen-help"));
    screen->Command7->click();
    screen->close();
}

// The interpretation panel alone, its ranking table filled and a long text built; for a
// profile it sits over the chart, at the size it has there.
void saveInterpretationPanel(AppContext& ctx, const QString& theme, const QString& folder)
{
    profile::ProfileResult result;
    result.examinee.code = QStringLiteral("1024");
    result.unanswered = 2;
    result.tScores = QStringList{QStringLiteral("53"), QStringLiteral("72"), QStringLiteral("46"),
                                 QStringLiteral("64"), QStringLiteral("78"), QStringLiteral("58"),
                                 QStringLiteral("62"), QStringLiteral("67"), QStringLiteral("76"),
                                 QStringLiteral("73"), QStringLiteral("44")};
    profile::RankAndRead(result);
    InterpretationPanel panel(ctx);
    if (theme.isEmpty())
        ApplyTheme(ctx.programFolder(), &panel);
    else
        LoadAndApplyTheme(ctx.programFolder(), &panel, theme);
    panel.showResult(result);
    panel.RankScales();
    panel.CmdTafneuBoland->click();
    save(&panel, folder, QStringLiteral("interpretation-panel"));
}

// The registration panel with entries typed, and the test screen before the start and on an item.
void saveRegistrationAndTest(ScriptedDialogs& dialogs, Frm1& main, const QString& folder)
{
    main.Command1->click();
    RegistrationPanel* panel = main.registrationPanel();
    panel->Text6->setText(QStringLiteral("مريم"));
    panel->Text4->setText(QStringLiteral("احمدي"));
    panel->Text5->setText(QStringLiteral("29"));
    panel->Text11->setText(QStringLiteral("1"));
    panel->Combo2->setCurrentIndex(1);
    panel->Combo1->setCurrentIndex(1);
    panel->Combo3->setCurrentIndex(0);
    panel->Combo4->setCurrentIndex(1);
    save(&main, folder, QStringLiteral("registration-panel"));
    panel->save();

    dialogs.inputAnswers.enqueue(QStringLiteral("1"));
    main.Command2->click();
    FrmTest* test = main.testScreen();
    if (!test) {
        std::fprintf(stderr, "test screen not opened: %s\n", qPrintable(dialogs.messageTexts().join(QStringLiteral(" | "))));
        return;
    }
    save(test, folder, QStringLiteral("test-screen-start"));
    test->Command1->click();
    test->Text6->setText(QStringLiteral("12"));
    test->Option1->click();
    save(test, folder, QStringLiteral("test-screen-item"));
    test->close();
}

bool run(const QString& program, const QStringList& args)
{
    QProcess p;
    p.start(program, args);
    return p.waitForFinished(180000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

// The first page of a PDF as <name>.png, through pdftoppm.
void savePdfPage(const QString& pdf, const QString& folder, const QString& name, int dpi = 80)
{
    const bool ok = !QStandardPaths::findExecutable(QStringLiteral("pdftoppm")).isEmpty()
                    && run(QStringLiteral("pdftoppm"), {QStringLiteral("-png"), QStringLiteral("-r"), QString::number(dpi),
                                                        QStringLiteral("-f"), QStringLiteral("1"), QStringLiteral("-l"),
                                                        QStringLiteral("1"), QStringLiteral("-singlefile"), pdf,
                                                        QDir(folder).filePath(name)});
    std::printf("%s %s\n", ok ? "wrote" : "FAILED (pdftoppm)", qPrintable(name));
}

// A clinic with its details and a logo, switched on.
bool setUpClinic(const QString& programFolder)
{
    QImage logo(300, 300, QImage::Format_RGB32);
    logo.fill(Qt::white);
    {
        QPainter p(&logo);
        p.setRenderHint(QPainter::Antialiasing);
        p.setBrush(QColor(40, 110, 150));
        p.setPen(Qt::NoPen);
        p.drawEllipse(QRectF(20, 20, 260, 260));
        p.setBrush(QColor(240, 200, 90));
        p.drawEllipse(QRectF(95, 70, 110, 110));
        p.setPen(QPen(Qt::white, 16, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(90, 215), QPointF(210, 215));
    }
    return logo.save(QDir(programFolder).filePath(settings::kLogoFileName), "JPG")
           && testing_support::execSql(
               QDir(programFolder).filePath(store::kSettingsFile),
               {QStringLiteral("UPDATE Theme SET Name = 'مركز مشاوره و روان شناسي آرامش', "
                               "Adress = 'تهران، خيابان وليعصر، كوچه نسترن، پلاك 12، طبقه دوم', "
                               "T1 = 'Tel: 021-88776655', T2 = 'Fax: 021-88776656', T3 = 'info@aramesh.example', "
                               "T4 = 'www.aramesh.example', Check1 = 1")});
}

// The printed report and the Word document of the profile screen, a long interpretation built
// and saved first.
void saveReportAndDocument(ScriptedDialogs& dialogs, FrmNemudar& profile, const QString& folder)
{
    profile.CmdTaf->click();
    profile.FramTaf->CmdTafneuBoland->click();
    // Cut to run onto a second page, not a third.
    const QString text = profile.FramTaf->interpretationText().section(u'\n', 0, 29);
    profile.FramTaf->Txttaf1->setPlainText(text);
    dialogs.questionAnswers.enqueue(true);
    profile.FramTaf->CmdSave->click();

    ProfileExport& exporter = *profile.findChild<ProfileExport*>(); // made by the opening flow
    QTemporaryDir documents;
    exporter.setDocumentsFolder(documents.path());
    int finished = 0;
    QObject::connect(&exporter, &ProfileExport::finished, &exporter, [&finished] { ++finished; });
    const auto waitFor = [&finished](int count) {
        QElapsedTimer waited;
        waited.start();
        while (finished < count && waited.elapsed() < 3000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        return finished >= count;
    };
    profile.Command3->click();
    if (!waitFor(1) || !exporter.preview()) {
        std::printf("FAILED report\n");
        return;
    }
    QString error;
    const QByteArray pdf = reports::RenderReportPdf(exporter.preview()->pages(), QStringLiteral("report"), &error);
    const QString pdfPath = documents.filePath(QStringLiteral("report.pdf"));
    QFile file(pdfPath);
    if (pdf.isEmpty() || !file.open(QIODevice::WriteOnly) || file.write(pdf) != pdf.size()) {
        std::printf("FAILED report.pdf %s\n", qPrintable(error));
        return;
    }
    file.close();
    std::printf("wrote report.pdf (%d pages)\n", int(exporter.preview()->pageCount()));
    savePdfPage(pdfPath, folder, QStringLiteral("report-page"));
    delete exporter.preview();

    profile.Cmdword->click();
    if (!waitFor(2))
        return;
    const QString soffice = QStandardPaths::findExecutable(QStringLiteral("soffice"));
    if (soffice.isEmpty()) {
        std::printf("skipped word-document (no LibreOffice)\n");
        return;
    }
    const QString docx = QDir(documents.path()).filePath(QStringLiteral("tavora71IR.docx"));
    if (!run(soffice, {QStringLiteral("-env:UserInstallation=file://") + documents.filePath(QStringLiteral("lo")),
                       QStringLiteral("--headless"), QStringLiteral("--convert-to"), QStringLiteral("pdf"),
                       QStringLiteral("--outdir"), documents.path(), docx})) {
        std::printf("FAILED word-document (LibreOffice)\n");
        return;
    }
    savePdfPage(documents.filePath(QStringLiteral("tavora71IR.pdf")), folder, QStringLiteral("word-document"));
}

// The profile screen of a woman with university education whose answers raise a few clinical
// scales, once its deferred step has converted and drawn the scores.
void saveProfileScreen(ScriptedDialogs& dialogs, Frm1& main, const QString& folder)
{
    // Yes to a spread of items, so that the scales land at different heights.
    const QString pattern = QStringLiteral("12211212211121221211222112121122112121211221221121221211122121211212212");
    QStringList responses;
    for (const QChar c : pattern)
        responses << QString(c);
    responses[16].clear(); // two items left unanswered
    responses[69].clear();
    const QHash<QString, QString> identity = {
        {QStringLiteral("FName"), QStringLiteral("مريم")}, {QStringLiteral("LName"), QStringLiteral("كريمي")},
        {QStringLiteral("Jens"), examinees::kFemale}, {QStringLiteral("Sen"), QStringLiteral("29")},
        {QStringLiteral("Taahol"), QStringLiteral("مجرد")}, {QStringLiteral("Tahsil"), examinees::kUniversity},
        {QStringLiteral("Date"), QStringLiteral("1403/07/21")}, {QStringLiteral("Time"), QStringLiteral("10:05:12")}};
    if (!testing_support::addExaminee(main.context().programFolder(), QStringLiteral("1025"), responses, identity))
        return;

    main.Command3->click();
    FrmkLID* scoring = main.scoringScreen();
    if (!scoring)
        return;
    dialogs.inputAnswers.enqueue(QStringLiteral("1025"));
    scoring->Command1->click();
    scoring->Command8->click();
    FrmNemudar* profile = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* p = qobject_cast<FrmNemudar*>(w); p && p->isVisible())
            profile = p;
    if (!profile)
        return;
    bool ready = false;
    QObject::connect(profile, &FrmNemudar::profileReady, profile, [&ready] { ready = true; });
    QElapsedTimer waited;
    waited.start();
    while (!ready && waited.elapsed() < 3000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    save(profile, folder, QStringLiteral("profile-screen"));
    if (setUpClinic(main.context().programFolder()))
        saveReportAndDocument(dialogs, *profile, folder);
    profile->close();
    scoring->close();
}

// The leaving and maintenance screens: the update notice on the main window, the exit
// confirmation with its confirm picture highlighted, the backup screen and its help, the about
// screen part way through its animation, the update screen and the download window.
void saveMaintenanceScreens(AppContext& ctx, Frm1& main, const QString& folder)
{
    MaintenanceScreens* screens = main.maintenance();
    main.Frame3->show();
    main.Frame3->raise();
    save(&main, folder, QStringLiteral("update-notice"));
    main.Frame3->hide();

    screens->showExitScreen(QPoint(5000, 1500));
    exitpro* exit = screens->exitScreen();
    exit->Check1->setChecked(true);
    exit->k1->hide();
    exit->k2->show();
    save(exit, folder, QStringLiteral("exit-screen"));
    exit->Check1->setChecked(false);
    exit->close();

    Frmbackup backup(ctx);
    backup.Text1->setText(QDir(ctx.path(QStringLiteral("Back"))).filePath(backup.proposedName()));
    save(&backup, folder, QStringLiteral("backup-screen"));
    backup.Command3->click();
    save(&backup, folder, QStringLiteral("backup-help"));

    About about(ctx);
    for (QTimer* t : {about.Timer1, about.Timer10, about.Timer3})
        t->stop();
    for (int i = 0; i < 30; ++i)
        about.scrollTick();
    about.colourTick();
    about.colourTick();
    for (int i = 0; i < 400; ++i)
        about.creditLineTick();
    save(&about, folder, QStringLiteral("about-screen"));

    FrmUpdate update(ctx, QStringLiteral("Tavora-II-71 3.5"), 35);
    save(&update, folder, QStringLiteral("update-screen"));

    maintenance::UpdatePackage package;
    package.platform = maintenance::UpdatePlatform();
    package.name = QStringLiteral("tavora71_3.6-1_amd64.deb");
    Progress download(ctx, package);
    download.I1->resize(twips(42 * 67), download.I1->height());
    download.SkinLabel4->setText(QStringLiteral("42%"));
    download.cmdUpdate->setText(maintenance::texts::kCaptionCancel);
    save(&download, folder, QStringLiteral("download-window"));
}

// The answer sheet with an examinee selected and part of his sheet keyed, the examinee-file
// screen with his workbook read, and the item-edit panel over the settings panel.
void saveCaptureScreens(ScriptedDialogs& dialogs, Frm1& main, const QString& folder)
{
    QStringList responses;
    for (int item = 1; item <= store::kItemCount; ++item)
        responses << (item <= 23 ? QString::number(1 + (item * 7) % 3 % 2) : QString());
    responses[8] = QStringLiteral("0");
    const QHash<QString, QString> identity = {{QStringLiteral("FName"), QStringLiteral("سارا")},
                                              {QStringLiteral("LName"), QStringLiteral("رحيمي")}};
    if (!testing_support::addExaminee(main.context().programFolder(), QStringLiteral("1030"), responses, identity))
        return;
    main.CmdPasokh->click();
    if (auto* sheet = main.findChild<Frmpas2*>()) {
        sheet->Text4->setText(QStringLiteral("1030"));
        sheet->selectExaminee();
        sheet->entryField(24)->setFocus();
        save(sheet, folder, QStringLiteral("answer-sheet"));
        sheet->close();
    }
    // The examinee's workbook: the same answers as his sheet, read and shown before Save.
    workbook::SheetToWrite answers = workbook::BlankAnswerSheet(workbook::AnswerSheetName(main.context().publisher()), {});
    for (int item = 1; item <= store::kItemCount; ++item)
        if (const QString r = responses.at(item - 1); !r.isEmpty())
            answers.setNumber(workbook::kFirstResponseRow + item - 1, workbook::kResponseColumn, r.toInt());
    const QString workbookPath = QDir(main.context().programFolder()).filePath(QStringLiteral("1030.xlsx"));
    main.Command5->click();
    if (auto* file = main.findChild<FrmFile*>(); file && workbook::WriteXlsx(workbookPath, {answers}).ok) {
        dialogs.inputAnswers.enqueue(QStringLiteral("1030"));
        file->Print_Btn->click();
        dialogs.fileAnswers.enqueue(workbookPath);
        file->Send_BtnExcel->click();
        save(file, folder, QStringLiteral("examinee-file"));
        file->close();
    }
    main.settingsPanel()->Cmndedit->click();
    if (auto* edit = qobject_cast<ItemEditPanel*>(main.Frame1))
        edit->Text21->setText(QStringLiteral("12"));
    save(&main, folder, QStringLiteral("item-edit-panel"));
    main.HideAllPanels();
}

// The group workbook of a class of eight, as LibreOffice prints its first page: two women with
// items left empty, one examinee whose education selects no norm table, one without responses.
void saveGroupWorkbook(AppContext& ctx, ScriptedDialogs& dialogs, const QString& folder)
{
    const QString soffice = QStringLiteral("soffice");
    if (QStandardPaths::findExecutable(soffice).isEmpty()) {
        std::printf("skipped group-workbook (no LibreOffice)\n");
        return;
    }
    struct Person {
        const char* code;
        QString given, family, sex, age, marital, education;
        int seed;     // the answers, drawn from it; 0: none
        int empty;    // items left empty
        bool saved;   // an interpretation saved
    };
    using namespace examinees;
    const QList<Person> people{
        {"2101", QStringLiteral("سارا"), QStringLiteral("احمدي"), kFemale, QStringLiteral("16"), kSingle, kDiplomaOrLess, 3, 0, true},
        {"2102", QStringLiteral("علي"), QStringLiteral("رضايي"), kMale, QStringLiteral("17"), kSingle, kDiplomaOrLess, 5, 0, true},
        {"2103", QStringLiteral("مريم"), QStringLiteral("كريمي"), kFemale, QStringLiteral("16"), kSingle, kDiplomaOrLess, 7, 2, false},
        {"2104", QStringLiteral("حسين"), QStringLiteral("محمدي"), kMale, QStringLiteral("18"), kSingle, kDiplomaOrLess, 11, 0, false},
        {"2105", QStringLiteral("زهرا"), QStringLiteral("حسيني"), kFemale, QStringLiteral("17"), kSingle, kDiplomaOrLess, 13, 6, false},
        {"2106", QStringLiteral("رضا"), QStringLiteral("موسوي"), kMale, QStringLiteral("17"), kSingle, QStringLiteral("دبيرستان"), 17, 0, false},
        {"2107", QStringLiteral("فاطمه"), QStringLiteral("نوري"), kFemale, QStringLiteral("19"), kSingle, kUniversity, 19, 0, true},
        {"2108", QStringLiteral("امير"), QStringLiteral("صادقي"), kMale, QStringLiteral("18"), kSingle, kDiplomaOrLess, 0, 0, false}};
    QStringList codes;
    for (const Person& p : people) {
        QStringList responses;
        if (p.seed) {
            quint32 x = quint32(p.seed) * 2654435761u;
            for (int item = 1; item <= store::kItemCount; ++item) {
                x = x * 1664525u + 1013904223u;
                responses << ((x >> 16) % 100 < 45 ? QStringLiteral("1") : QStringLiteral("2"));
            }
            for (int i = 0; i < p.empty; ++i)
                responses[(p.seed * 7 + i * 11) % store::kItemCount].clear();
        }
        const QString code = QString::fromLatin1(p.code);
        const QHash<QString, QString> identity{
            {QStringLiteral("FName"), p.given}, {QStringLiteral("LName"), p.family}, {QStringLiteral("Group"), QStringLiteral("C")},
            {QStringLiteral("Jens"), p.sex}, {QStringLiteral("Sen"), p.age}, {QStringLiteral("Taahol"), p.marital},
            {QStringLiteral("Tahsil"), p.education}, {QStringLiteral("Date"), QStringLiteral("1403/07/21")},
            {QStringLiteral("Time"), QStringLiteral("09:%1:00").arg(10 + codes.size() * 6)}};
        if (!testing_support::addExaminee(ctx.programFolder(), code, responses, identity))
            return;
        if (p.saved)
            testing_support::execSql(ctx.path(store::kExamineeFile),
                                     {QStringLiteral("UPDATE IDE SET TT1 = 'تفسير' WHERE Code = '%1'").arg(code)});
        codes << code;
    }
    QTemporaryDir out;
    const QString xlsx = out.filePath(QStringLiteral("group.xlsx"));
    dialogs.fileAnswers.enqueue(xlsx);
    if (GroupExport(ctx, nullptr).run(codes, QStringLiteral("كد آزمودني")) != GroupExport::Outcome::Written
        || !run(QStandardPaths::findExecutable(soffice),
                {QStringLiteral("-env:UserInstallation=file://") + out.filePath(QStringLiteral("lo")),
                 QStringLiteral("--headless"), QStringLiteral("--convert-to"), QStringLiteral("pdf"),
                 QStringLiteral("--outdir"), out.path(), xlsx})) {
        std::printf("FAILED group-workbook\n");
        return;
    }
    savePdfPage(out.filePath(QStringLiteral("group.pdf")), folder, QStringLiteral("group-workbook"), 200);
    // The page is mostly empty below eight rows: only the table is kept, with a margin.
    const QString png = QDir(folder).filePath(QStringLiteral("group-workbook.png"));
    const QImage page(png);
    QRect used;
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x)
            if (qGray(page.pixel(x, y)) < 200)
                used |= QRect(x, y, 1, 1);
    if (used.isEmpty())
        return;
    // Too wide to read in one strip: cut in the widest white gap between two columns in the
    // middle third and put the right part (identity, raw scores) above the left (T scores, codes,
    // notes). A gap inside a heading is narrower than one between columns.
    const QImage table = page.copy(used.adjusted(-24, -24, 24, 24));
    auto blank = [&](int x) {
        for (int y = 0; y < table.height(); ++y)
            if (qGray(table.pixel(x, y)) < 200)
                return false;
        return true;
    };
    int cut = table.width() / 2;
    int widest = 0;
    for (int x = table.width() / 3, run = 0; x < table.width() * 2 / 3; ++x) {
        run = blank(x) ? run + 1 : 0;
        if (run > widest) {
            widest = run;
            cut = x - run / 2;
        }
    }
    const int half = std::max(cut, table.width() - cut);
    QImage stacked(half, table.height() * 2 + 12, QImage::Format_RGB32);
    stacked.fill(Qt::white);
    {
        QPainter p(&stacked);
        p.drawImage(QPoint(half - (table.width() - cut), 0), table, QRect(cut, 0, table.width() - cut, table.height()));
        p.fillRect(QRect(0, table.height() + 5, half, 2), QColor(200, 200, 200));
        p.drawImage(QPoint(half - cut, table.height() + 12), table, QRect(0, 0, cut, table.height()));
    }
    if (!stacked.save(png))
        std::printf("FAILED group-workbook (crop)\n");
}

// The lookup screen over a few examinees, then filtered by a family name; the settings panel
// with a logo, the clinic details filled in, and the theme panel.
void saveLookupAndSettings(ScriptedDialogs& dialogs, Frm1& main, const QString& folder)
{
    const QString program = main.context().programFolder();
    const QList<QStringList> people{{QStringLiteral("1031"), QStringLiteral("مريم"), QStringLiteral("کريمي"), QStringLiteral("A")},
                                    {QStringLiteral("1032"), QStringLiteral("علي"), QStringLiteral("احمدي"), QStringLiteral("B")},
                                    {QStringLiteral("1033"), QStringLiteral("زهرا"), QStringLiteral("کريمي"), QStringLiteral("C")},
                                    {QStringLiteral("1034"), QStringLiteral("رضا"), QStringLiteral("محمدي"), QStringLiteral("A")}};
    for (const QStringList& p : people)
        testing_support::addExaminee(program, p.at(0), {},
                                     {{QStringLiteral("FName"), p.at(1)}, {QStringLiteral("LName"), p.at(2)},
                                      {QStringLiteral("Group"), p.at(3)}});
    main.Command4->click();
    if (auto* lookup = main.findChild<FrmCode*>()) {
        save(lookup, folder, QStringLiteral("lookup-screen"));
        lookup->DataCombo1->setEditText(QStringLiteral("کريمي"));
        lookup->Text5->setText(QStringLiteral("1033"));
        save(lookup, folder, QStringLiteral("lookup-screen-filtered"));
        lookup->close();
    }

    QImage logo(480, 320, QImage::Format_ARGB32);
    logo.fill(Qt::transparent);
    {
        QPainter p(&logo);
        p.setRenderHint(QPainter::Antialiasing);
        p.setBrush(QColor(0x2f, 0x5d, 0x8a));
        p.setPen(Qt::NoPen);
        p.drawEllipse(QRectF(90, 10, 300, 300));
        p.setBrush(QColor(0xf4, 0xc4, 0x5a));
        p.drawEllipse(QRectF(170, 90, 140, 140));
    }
    const QString logoFile = QDir(program).filePath(QStringLiteral("chosen-logo.png"));
    logo.save(logoFile);
    dialogs.fileAnswers.enqueue(logoFile);
    main.Command9->click();
    main.settingsPanel()->Command65->click();
    main.settingsPanel()->Check1->click(); // the caption after a click, ticked
    if (!main.settingsPanel()->Check1->isChecked())
        main.settingsPanel()->Check1->click();
    save(&main, folder, QStringLiteral("settings-panel"));

    main.settingsPanel()->Command67->click();
    ClinicDetailsPanel* details = main.clinicDetailsPanel();
    details->Text31->setText(QStringLiteral("کلينيک مشاوره آرامش"));
    details->Text30->setText(QStringLiteral("تهران، خيابان وليعصر، کوچه نسترن، پلاک ۱۲"));
    details->Text24->setText(QStringLiteral("info@aramesh.example"));
    details->Text28->setText(QStringLiteral("021-88001122"));
    details->Text23->setText(QStringLiteral("شماره پرونده"));
    save(&main, folder, QStringLiteral("clinic-details"));
    details->Command7->click();

    main.settingsPanel()->Command68->click();
    save(&main, folder, QStringLiteral("theme-panel"));

    // The norm tables panel, with one group's table replaced by the clinic's own.
    norms::NormTableData clinic{QStringLiteral("EvabaliniDJFMIR"),
                                {QStringLiteral("هنجار کلينيک آرامش"), QStringLiteral("۴۱۲ مراجع زن با تحصيلات دانشگاهي، ۱۴۰۱ تا ۱۴۰۲"),
                                 QStringLiteral("1402/03/18 11:05"), false},
                                norms::DeliveredValues(QStringLiteral("EvabaliniDJFMIR"))};
    for (QStringList& row : clinic.values)
        for (QString& t : row)
            t = t.isEmpty() ? t : QString::number(std::min(120, t.toInt() + 2));
    QStringList replaced;
    if (!norms::ReplaceNormTables(QDir(program).filePath(store::kNormsFile), {clinic}, replaced))
        std::printf("FAILED norm-tables-panel (table)\n");
    main.settingsPanel()->normTables->click();
    main.normTablesPanel()->normTables->setCurrentCell(2, 0);
    save(&main, folder, QStringLiteral("norm-tables-panel"));
    main.HideAllPanels();
}

} // namespace

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // As the program draws, with its shipped faces; --system-fonts draws with the system's, to
    // compare the two.
    const bool systemFonts = std::any_of(argv + 1, argv + argc, [](const char* a) { return std::strcmp(a, "--system-fonts") == 0; });
    if (!systemFonts && !fonts::UseShippedFonts())
        std::fprintf(stderr, "the shipped faces were not found: drawing with the system's\n");
    QApplication app(argc, argv);
    ConfigurePersianDisplay(app);
    QStringList args = app.arguments();
    args.removeAll(QStringLiteral("--system-fonts"));
    if (args.size() < 2) {
        std::fprintf(stderr, "usage: %s <output-folder> [theme] [--system-fonts]\n", qPrintable(args.first()));
        return 2;
    }
    const QString out = args.at(1);
    QDir().mkpath(out);

    QTemporaryDir folder;
    ScriptedDialogs dialogs;
    StillClock clock;
    RecordingDesktop desktop;
    AppContext ctx(folder.path(), dialogs, clock, desktop);
    SingleInstanceGuard guard(folder.path());
    std::unique_ptr<Frm1> main = StartProgram(ctx, guard);
    if (!main)
        return 1;
    if (args.size() > 2)
        LoadAndApplyTheme(ctx.programFolder(), main.get(), args.at(2));
    save(main.get(), out, QStringLiteral("main-window"));
    saveRegistrationAndTest(dialogs, *main, out);
    saveScoringScreen(ctx, dialogs, *main, out);
    saveInterpretationPanel(ctx, args.size() > 2 ? args.at(2) : QString(), out);
    saveProfileScreen(dialogs, *main, out);
    saveMaintenanceScreens(ctx, *main, out);
    saveCaptureScreens(dialogs, *main, out);
    saveLookupAndSettings(dialogs, *main, out);
    saveGroupWorkbook(ctx, dialogs, out);
    return 0;
}
