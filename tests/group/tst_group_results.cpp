// The group workbook: every examinee's results side by side, read back by the program's own reader
// and by LibreOffice; the grid's filter, a cancel and an unwritable target.
#include "support/probes.h"
#include "support/test_env.h"
#include "support/test_registry.h"
#include "app/main_window.h"
#include "capture/workbook_reader.h"
#include "examinees/lookup_screen.h"
#include "group/group_export.h"
#include "group/group_members.h"
#include "group/group_results.h"
#include "examinees/answers_check.h"
#include "norms/norm_library.h"
#include "norms/provenance.h"
#include "capture/xlsx_writer.h"
#include "profile/norm_conversion.h"
#include "profile/profile_screen_texts.h"
#include "store/schema.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QProgressDialog>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>

using namespace Qt::StringLiterals;
using workbook::CellValue;

namespace {

const QString kLabel = u"كد آزمودني"_s;

QStringList allOf(const QString& response)
{
    return QStringList(store::kItemCount, response);
}

// All "1", items 3, 17 and 70 left empty.
QStringList withThreeEmpty()
{
    QStringList r = allOf(u"1"_s);
    for (int item : {3, 17, 70})
        r[item - 1] = QString();
    return r;
}

QHash<QString, QString> identity(const QString& given, const QString& family, const QString& group,
                                 const QString& sex, const QString& education)
{
    return {{u"FName"_s, given},        {u"LName"_s, family},        {u"Group"_s, group},
            {u"Jens"_s, sex},           {u"Tahsil"_s, education},    {u"Sen"_s, u"30"_s},
            {u"Taahol"_s, u"مجرد"_s},   {u"Date"_s, u"1401/05/30"_s}, {u"Time"_s, u"10:30:15"_s}};
}

// One complete (male, university), one with three items left empty and a saved interpretation
// (female, diploma or less), one whose education selects no norm table.
void addThree(const TestEnv& env)
{
    QVERIFY(testing_support::addExaminee(env.folder(), u"101"_s, allOf(u"2"_s),
                                         identity(u"علي"_s, u"احمدي"_s, u"A"_s, u"مرد"_s, u"دانشگاهي"_s)));
    QVERIFY(testing_support::addExaminee(env.folder(), u"102"_s, withThreeEmpty(),
                                         identity(u"مريم"_s, u"كريمي"_s, u"B"_s, u"زن"_s, u"ديپلم و كمتر"_s)));
    QVERIFY(testing_support::addExaminee(env.folder(), u"103"_s, allOf(u"1"_s),
                                         identity(u"رضا"_s, u"رضايي"_s, u"A"_s, u"مرد"_s, u"ليسانس"_s)));
    QVERIFY(testing_support::execSql(env.path(store::kExamineeFile),
                                     {u"UPDATE IDE SET TT1 = 'متن تفسير' || char(13, 10) WHERE Code = '102'"_s}));
}

// The sheet as texts: a number cell as "#65", a text cell as it stands, an empty cell "".
using Grid = QList<QStringList>;

QStringList expectedRow(const QStringList& identity, const QString& unanswered, const QStringList& raw,
                        const QStringList& t, const QString& two, const QString& three, const QString& saved,
                        const QString& note)
{
    auto numbers = [](const QStringList& values) {
        QStringList out;
        for (const QString& v : values)
            out << (v.isEmpty() ? v : u"#"_s + v);
        return out;
    };
    QStringList row = identity;
    row[0] = u"#"_s + row[0]; // code
    row[5] = u"#"_s + row[5]; // age
    return row + QStringList{u"#"_s + unanswered} + numbers(raw) + numbers(t) + QStringList{two, three, saved, note};
}

// The provenance column: the delivered table, or none, and the check code of the answers.
QString provenance(bool table, const QStringList& responses)
{
    return norms::ProvenanceLine(table ? std::optional(norms::DeliveredDescription()) : std::nullopt,
                                 examinees::AnswersCheckCode(responses));
}

QStringList header()
{
    QStringList h{kLabel,   u"نام"_s,     u"نام خانوادگي"_s,      u"گروه"_s, u"جنس"_s, u"سن"_s, u"وضعيت تاهل"_s,
                  u"تحصيلات"_s, u"تاريخ اجراي آزمون"_s, u"ساعت"_s, u"تعداد سوالات بدون پاسخ"_s};
    for (const char* s : store::kScaleNames)
        h << u"خام "_s + QLatin1String(s);
    for (const char* s : store::kScaleNames)
        h << u"T "_s + QLatin1String(s);
    return h + QStringList{u"کد دو نقطه اي"_s, u"کد سه نقطه اي"_s, u"تفسير ذخيره شده"_s, u"توضيح"_s, u"منشا نمره ها"_s};
}

// T scores from the delivered norm tables, read off the tables by hand.
Grid expectedThree()
{
    const QString when = u"1401/05/30"_s;
    const QString at = u"10:30:15"_s;
    const QStringList none(store::kScaleCount, QString());
    return {header(),
            expectedRow({u"101"_s, u"علي"_s, u"احمدي"_s, u"A"_s, u"مرد"_s, u"30"_s, u"مجرد"_s, u"دانشگاهي"_s, when, at},
                        u"0"_s, {u"5"_s, u"3"_s, u"15"_s, u"9"_s, u"11"_s, u"20"_s, u"7"_s, u"5"_s, u"3"_s, u"4"_s, u"1"_s},
                        {u"72"_s, u"49"_s, u"72"_s, u"73"_s, u"61"_s, u"76"_s, u"52"_s, u"50"_s, u"40"_s, u"45"_s, u"28"_s},
                        u"31"_s, u"312"_s, u"خير"_s, QString()) << provenance(true, allOf(u"2"_s)),
            expectedRow({u"102"_s, u"مريم"_s, u"كريمي"_s, u"B"_s, u"زن"_s, u"30"_s, u"مجرد"_s, u"ديپلم و كمتر"_s, when, at},
                        u"3"_s, {u"0"_s, u"12"_s, u"0"_s, u"4"_s, u"8"_s, u"4"_s, u"12"_s, u"9"_s, u"12"_s, u"15"_s, u"10"_s},
                        {u"30"_s, u"81"_s, u"23"_s, u"47"_s, u"46"_s, u"29"_s, u"68"_s, u"63"_s, u"61"_s, u"70"_s, u"74"_s},
                        u"98"_s, u"984"_s, u"بلي"_s, QString()) << provenance(true, withThreeEmpty()),
            expectedRow({u"103"_s, u"رضا"_s, u"رضايي"_s, u"A"_s, u"مرد"_s, u"30"_s, u"مجرد"_s, u"ليسانس"_s, when, at},
                        u"0"_s, {u"0"_s, u"12"_s, u"0"_s, u"4"_s, u"9"_s, u"4"_s, u"12"_s, u"9"_s, u"13"_s, u"16"_s, u"10"_s},
                        none, QString(), QString(), u"خير"_s,
                        profile::screen_texts::NoNormGroup(u"مرد"_s, u"ليسانس"_s)) << provenance(false, allOf(u"1"_s))};
}

// Reads the first worksheet back with the program's own reader.
Grid readBack(const QString& path, int columns)
{
    Grid grid;
    const workbook::Opened opened = workbook::OpenXlsx(path);
    if (!opened.reader || !opened.reader->selectSheet(u"نتايج گروه"_s))
        return grid;
    for (int row = 1;; ++row) {
        QStringList cells;
        bool any = false;
        for (int c = 1; c <= columns + 1; ++c) { // one past the last column: nothing there
            CellValue v;
            if (!opened.reader->cell({row, c}, v))
                return {};
            cells << (v.kind == CellValue::Kind::Number ? u"#"_s + v.asText() : v.asText());
            any = any || !v.isEmpty();
        }
        if (!any)
            return grid;
        grid << cells;
    }
}

// A program folder with examinees and a folder to save into.
struct Fixture {
    TestEnv env;
    QTemporaryDir out;
    QString target() const { return out.filePath(u"group.xlsx"_s); }

    GroupExport::Outcome run(const QStringList& codes, const QString& answer)
    {
        env.dialogs.fileAnswers.enqueue(answer);
        GroupExport exporter(env.ctx, nullptr);
        exporter.setDocumentsFolder(out.path());
        return exporter.run(codes, kLabel);
    }
};

} // namespace

class TestGroupResults : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void threeExamineesReadBack()
    {
        Fixture f;
        addThree(f.env);
        QCOMPARE(f.run({u"101"_s, u"102"_s, u"103"_s}, f.out.filePath(u"group"_s)), GroupExport::Outcome::Written);
        // The save dialog proposed a dated name in the folder; ".xlsx" is added to a bare name.
        QCOMPARE(f.env.dialogs.shown.first().kind, ScriptedDialogs::Kind::SaveFile);
        QCOMPARE(f.env.dialogs.shown.first().text, f.out.filePath(u"نتايج گروه 1401-05-30.xlsx"_s));
        QCOMPARE(testing_support::ListedByFileDialog(f.env.dialogs.shown.first().filter, {u"a.xlsx"_s, u"a.txt"_s}),
                 QStringList{u"a.xlsx"_s});
        const auto told = f.env.dialogs.lastMessage();
        QVERIFY(told);
        QCOMPARE(told->title, u"پيام"_s);
        QVERIFY(told->text.contains(QDir::toNativeSeparators(f.target())));

        const Grid expected = expectedThree();
        const Grid got = readBack(f.target(), int(expected.first().size()));
        QCOMPARE(got.size(), expected.size());
        for (int r = 0; r < expected.size(); ++r)
            QCOMPARE(got.at(r), expected.at(r) + QStringList{QString()});
    }

    // Streamed a row at a time across batches of reading, the workbook holds the cells of the
    // whole sheet written at once, as it was written before rows were streamed.
    void streamedAsWrittenWhole()
    {
        Fixture f;
        addThree(f.env);
        QStringList sql{u"BEGIN"_s}, codes{u"101"_s, u"102"_s, u"103"_s};
        for (int n = 1; n <= 1050; ++n) {
            const QString code = n % 50 == 0 ? u"0%1"_s.arg(n) : QString::number(1000 + n);
            codes << code;
            sql << u"INSERT INTO IDE (Code, FName, Jens, Tahsil, Sen) VALUES ('%1', 'نام %2', '%3', '%4', '%5')"_s.arg(
                       code, QString::number(n % 7), n % 2 ? u"مرد"_s : u"زن"_s,
                       n % 3 ? u"دانشگاهي"_s : u"ديپلم و كمتر"_s, QString::number(20 + n % 40));
            if (n % 97 != 0) // some without a response row
                sql << u"INSERT INTO Answer (Code, \"1\", \"2\", \"5\", \"9\", \"30\") VALUES ('%1', '1', '%2', '2', '%3', '1')"_s.arg(
                           code, QString::number(1 + n % 2), n % 5 ? u"1"_s : QString());
        }
        sql << u"COMMIT"_s;
        QVERIFY(testing_support::execSql(f.env.path(store::kExamineeFile), sql));

        QList<examinees::ExamineeRecord> members;
        QVERIFY(group::ReadGroupMembers(f.env.path(store::kExamineeFile), codes, members));
        profile::NormTableCache norms(f.env.path(store::kNormsFile), {});
        group::GroupSheet rows(kLabel);
        workbook::SheetToWrite whole = rows.layout();
        for (const examinees::ExamineeRecord& m : members) {
            const group::GroupSheet::Row row = rows.next(group::ComputeGroupResult(m, norms.tables()));
            whole.rows[row.number] = row.cells;
            whole.rowHeights[row.number] = row.height;
        }
        const QString expectedPath = f.out.filePath(u"whole.xlsx"_s);
        QVERIFY(workbook::WriteXlsx(expectedPath, {whole}));

        QCOMPARE(f.run(codes, f.target()), GroupExport::Outcome::Written);
        const Grid expected = readBack(expectedPath, int(header().size()));
        QCOMPARE(expected.size(), 1 + 3 + 1050);
        QCOMPARE(readBack(f.target(), int(header().size())), expected);
    }

    void readByLibreOffice()
    {
        const QString soffice = QStandardPaths::findExecutable(u"soffice"_s);
        if (soffice.isEmpty())
            QSKIP("LibreOffice is not installed (apt-get install libreoffice-calc-nogui)");
        Fixture f;
        addThree(f.env);
        QCOMPARE(f.run({u"101"_s, u"102"_s, u"103"_s}, f.target()), GroupExport::Outcome::Written);
        QProcess lo;
        lo.setWorkingDirectory(f.out.path());
        lo.start(soffice, {u"--headless"_s, u"--norestore"_s,
                           u"-env:UserInstallation=file://"_s + f.out.filePath(u"profile"_s), u"--convert-to"_s,
                           u"csv:Text - txt - csv (StarCalc):44,34,76,1,,0,false,true,false,false,false"_s, u"--outdir"_s, f.out.path(), f.target()});
        QVERIFY(lo.waitForFinished(180000));
        QFile csv(f.out.filePath(u"group.csv"_s));
        QVERIFY2(csv.open(QIODevice::ReadOnly), qPrintable(QString::fromUtf8(lo.readAllStandardError())));
        const QStringList lines = QString::fromUtf8(csv.readAll()).split(u'\n', Qt::SkipEmptyParts);
        const Grid expected = expectedThree();
        QCOMPARE(lines.size(), expected.size());
        for (int r = 0; r < expected.size(); ++r) {
            QStringList cells = expected.at(r);
            for (QString& c : cells)
                c.remove(u'#'); // LibreOffice writes numbers and texts alike
            QCOMPARE(lines.at(r), cells.join(u','));
        }
    }

    void rowsWithoutScores_data()
    {
        QTest::addColumn<std::optional<QStringList>>("responses");
        QTest::addColumn<QString>("sex");
        QTest::addColumn<QString>("damagedTable"); // found damaged at start-up
        QTest::addColumn<QString>("droppedRow");   // a KHam row taken out of the table
        QTest::addColumn<int>("unanswered");
        QTest::addColumn<bool>("rawScores");
        QTest::addColumn<int>("tScores");           // how many T texts are there
        QTest::addColumn<QString>("note");

        const QString male = u"مرد"_s;
        const QString table = u"EvabaliniDJMIR"_s;
        QTest::newRow("no Answer row") << std::optional<QStringList>() << male << QString() << QString() << 71 << false
                                       << 0 << group::group_texts::kNoResponses;
        QTest::newRow("all responses empty") << std::optional(allOf(QString())) << male << QString() << QString() << 71
                                             << false << 0 << group::group_texts::kNoResponses;
        // A "0" from the answer sheet is an answer that scores nothing.
        QTest::newRow("all marked unanswered") << std::optional(allOf(u"0"_s)) << male << QString() << QString() << 0
                                               << true << 11 << QString();
        QTest::newRow("no sex") << std::optional(allOf(u"2"_s)) << QString() << QString() << QString() << 0 << true << 0
                                << profile::screen_texts::NoNormGroup(QString(), u"دانشگاهي"_s);
        QTest::newRow("damaged table") << std::optional(allOf(u"2"_s)) << male << table << QString() << 0 << true << 0
                                       << u"damaged: rows missing"_s;
        // Raw F = 3 and Pt = 3 find no row: the other nine are there, but no code types.
        QTest::newRow("no row for a raw score") << std::optional(allOf(u"2"_s)) << male << QString() << u"3"_s << 0
                                                << true << 9 << profile::screen_texts::NoTScore({u"F"_s, u"Pt"_s}, table);
    }
    void rowsWithoutScores()
    {
        QFETCH(std::optional<QStringList>, responses);
        QFETCH(QString, sex);
        QFETCH(QString, damagedTable);
        QFETCH(QString, droppedRow);
        QFETCH(int, unanswered);
        QFETCH(bool, rawScores);
        QFETCH(int, tScores);
        QFETCH(QString, note);

        TestEnv env;
        if (!droppedRow.isEmpty())
            QVERIFY(testing_support::execSql(env.path(store::kNormsFile),
                                             {u"DELETE FROM EvabaliniDJMIR WHERE KHam = '%1'"_s.arg(droppedRow)}));
        profile::NormTableCache norms(env.path(store::kNormsFile), [&](const QString& t) {
            return t == damagedTable ? u"damaged: rows missing"_s : QString();
        });
        examinees::ExamineeRecord m;
        m.code = u"7"_s;
        m.sex = sex;
        m.education = u"دانشگاهي"_s;
        m.responses = responses;
        const group::GroupResult r = group::ComputeGroupResult(m, norms.tables());
        QCOMPARE(r.unanswered, unanswered);
        QCOMPARE(r.rawScores.size(), rawScores ? store::kScaleCount : 0);
        QCOMPARE(int(std::count_if(r.tScores.cbegin(), r.tScores.cend(), [](const QString& t) { return !t.isEmpty(); })),
                 tScores);
        QCOMPARE(r.twoPointCode.isEmpty(), tScores < store::kScaleCount);
        QCOMPARE(r.note, note);
        QVERIFY(norms.readError().isEmpty());
    }

    void numbersStayAsStored_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("number");
        QTest::newRow("whole") << u"65"_s << true;
        QTest::newRow("fraction") << u"61.5"_s << true;
        QTest::newRow("negative") << u"-3"_s << true;
        QTest::newRow("leading zero") << u"007"_s << false;
        QTest::newRow("leading blank") << u" 12"_s << false;
        QTest::newRow("trailing zero") << u"61.50"_s << false;
        QTest::newRow("exponent") << u"1e3"_s << false;
        QTest::newRow("negative zero") << u"-0"_s << false;
        QTest::newRow("sixteen digits") << u"1234567890123456"_s << false;
        QTest::newRow("seven decimals") << u"0.1234567"_s << false;
    }
    void numbersStayAsStored()
    {
        QFETCH(QString, text);
        QFETCH(bool, number);
        const CellValue cell = group::CellOf(text);
        QCOMPARE(cell.kind == CellValue::Kind::Number, number);
        QCOMPARE(cell.asText(), text); // nothing lost either way
    }

    // From the lookup screen: the grid's group filter, and only its rows, in the grid's order.
    void filterExportsOnlyItsRows()
    {
        Fixture f;
        addThree(f.env);
        QVERIFY(testing_support::addExaminee(f.env.folder(), u"104"_s, allOf(u"1"_s),
                                             identity(u"زهرا"_s, u"ا'حمدي"_s, u"B"_s, u"زن"_s, u"دانشگاهي"_s)));
        Frm1 w(f.env.ctx);
        QVERIFY(w.load());
        w.Command4->click();
        auto* screen = w.findChild<FrmCode*>();
        QVERIFY(screen);
        QCOMPARE(screen->CmdGroupExcel->text(), u"خروجي اكسل گروه"_s);
        screen->Combo3->setEditText(u"B"_s);
        f.env.dialogs.fileAnswers.enqueue(f.target());
        screen->CmdGroupExcel->click();
        const Grid got = readBack(f.target(), 37);
        QCOMPARE(got.size(), 3);
        QCOMPARE(got.at(0).at(0), w.IdentifierLabel());
        QCOMPARE(got.at(1).at(0), u"#102"_s);
        QCOMPARE(got.at(2).at(0), u"#104"_s);
        QCOMPARE(got.at(2).at(2), u"ا'حمدي"_s);
    }

    void cancelLeavesNoFile()
    {
        Fixture f;
        QStringList sql{u"BEGIN"_s}, codes;
        for (int n = 1; n <= 450; ++n) {
            codes << QString::number(n);
            sql << u"INSERT INTO IDE (Code, Jens, Tahsil) VALUES ('%1', 'زن', 'دانشگاهي')"_s.arg(n)
                << u"INSERT INTO Answer (Code, \"1\", \"2\") VALUES ('%1', '1', '2')"_s.arg(n);
        }
        sql << u"COMMIT"_s;
        QVERIFY(testing_support::execSql(f.env.path(store::kExamineeFile), sql));
        f.env.dialogs.fileAnswers.enqueue(f.target());
        GroupExport exporter(f.env.ctx, nullptr);
        int stoppedAt = -1;
        connect(&exporter, &GroupExport::progressed, this, [&](int done, int) {
            if (done >= 200 && stoppedAt < 0) {
                stoppedAt = done;
                exporter.progressDialog()->cancel(); // as the user's click on its button
            }
        });
        QCOMPARE(exporter.run(codes, kLabel), GroupExport::Outcome::Cancelled);
        QCOMPARE(stoppedAt, 200);
        QVERIFY(f.env.dialogs.messages().isEmpty()); // no success
        QCOMPARE(QDir(f.out.path()).entryList(QDir::Files | QDir::Hidden), QStringList());
    }

    void unwritableTargetIsReported_data()
    {
        QTest::addColumn<QString>("target");
        QTest::newRow("folder missing") << u"no such folder/group.xlsx"_s;
        QTest::newRow("a folder in the way") << u"taken.xlsx"_s;
    }
    void unwritableTargetIsReported()
    {
        QFETCH(QString, target);
        Fixture f;
        addThree(f.env);
        QVERIFY(QDir(f.out.path()).mkdir(u"taken.xlsx"_s));
        const QString path = f.out.filePath(target);
        QCOMPARE(f.run({u"101"_s}, path), GroupExport::Outcome::Failed);
        const QList<ScriptedDialogs::Shown> boxes = f.env.dialogs.messages();
        QCOMPARE(boxes.size(), 1);
        QCOMPARE(boxes.first().title, u"خطا"_s);
        QVERIFY(boxes.first().text.contains(QDir::toNativeSeparators(path)));
        QVERIFY(!QFileInfo(path).isFile());
    }
};

TAVORA_TEST(TestGroupResults)
#include "tst_group_results.moc"
