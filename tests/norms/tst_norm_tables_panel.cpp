// The norm tables panel on a real program folder: tables exported and imported through real
// workbook files (one re-saved by LibreOffice), a bad workbook refused with nothing changed, the
// replaced table put back, the delivered tables restored; and a data file made before the panel.
#include "app/main_window.h"
#include "norms/norm_library.h"
#include "norms/norm_tables_panel.h"
#include "settings/settings_panel.h"
#include "store/connection.h"
#include "store/data_files.h"
#include "store/schema.h"
#include "support/test_env.h"
#include "support/test_registry.h"

#include <QDir>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QString kMenUniversity = u"EvabaliniDJMIR"_s;

struct Fixture {
    TestEnv env;
    QTemporaryDir out;
    Frm1 w{env.ctx};
    bool loaded = w.load();
    NormTablesPanel* panel = w.normTablesPanel();

    Fixture()
    {
        panel->setDocumentsFolder(out.path());
        w.settingsPanel()->normTables->click();
    }
    QString normsFile() const { return env.path(store::kNormsFile); }
    norms::NormValues values(const QString& table) const
    {
        store::Connection file(normsFile());
        norms::NormValues v;
        (void)norms::ReadNormValues(file, table, v);
        return v;
    }
    norms::NormTableState state(const QString& table) const
    {
        store::Connection file(normsFile());
        norms::NormTableState s;
        (void)norms::ReadNormState(file, table, s);
        return s;
    }
    // A workbook of the given tables as the program writes it, after edit.
    QString workbook(const QString& name, const QVector<norms::NormTableData>& tables) const
    {
        QVector<workbook::SheetToWrite> sheets;
        for (const norms::NormTableData& t : tables)
            sheets << norms::NormSheet(t);
        const QString path = out.filePath(name);
        return workbook::WriteXlsx(path, sheets) ? path : QString();
    }
    // Imports a workbook through the panel, all four tables or the selected one.
    void import(const QString& path, bool all)
    {
        env.dialogs.fileAnswers.enqueue(path);
        (all ? panel->importAll : panel->importOne)->click();
    }
    QString lastText() const { return env.dialogs.lastMessage() ? env.dialogs.lastMessage()->text : QString(); }
};

// The delivered table of a group with every T one point higher, under a name of the clinic's.
norms::NormTableData clinicTable(const QString& table, const QString& name)
{
    norms::NormTableData t{table, {name, u"نمونه کلينيک، ۱۴۰۲"_s, {}, false}, norms::DeliveredValues(table)};
    for (QStringList& row : t.values)
        for (QString& v : row)
            if (!v.isEmpty())
                v = QString::number(std::min(120, v.toInt() + 1));
    return t;
}

} // namespace

class TestNormTablesPanel : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void listsTheFourDeliveredTables()
    {
        Fixture f;
        QVERIFY(f.loaded);
        QVERIFY(!f.panel->isHidden());
        QCOMPARE(f.panel->normTables->rowCount(), 4);
        QCOMPARE(f.panel->normTables->item(0, 0)->text(), u"مرد، دانشگاهي"_s);
        QCOMPARE(f.panel->normTables->item(3, 1)->text(), u"نرم همراه برنامه"_s);
        QCOMPARE(f.panel->normTables->item(3, 4)->text(), u"بله"_s);
        QVERIFY(!f.panel->putBackKept->isEnabled());
        QVERIFY(f.panel->storedScoresNote->text().contains(u"دوباره نيمرخ"_s));
    }

    void exportThenImportGivesTheSameTable()
    {
        Fixture f;
        const norms::NormTableData mine = clinicTable(kMenUniversity, u"هنجار کلينيک آرامش"_s);
        f.import(f.workbook(u"mine.xlsx"_s, {mine}), false);
        const norms::NormValues imported = f.values(kMenUniversity);
        QVERIFY(norms::SameReadValues(imported, mine.values));
        QCOMPARE(f.state(kMenUniversity).current.changed, u"1401/05/30 10:30"_s);

        const QString exported = f.out.filePath(u"all.xlsx"_s);
        f.env.dialogs.fileAnswers.enqueue(exported);
        f.panel->exportAll->click();
        QVERIFY2(QFile::exists(exported), qPrintable(f.lastText()));
        f.env.dialogs.questionAnswers.enqueue(true);
        f.panel->putBackKept->click(); // the delivered table in use again
        QVERIFY(f.state(kMenUniversity).current.delivered);

        f.import(exported, true);
        QVERIFY2(f.lastText().contains(u"جايگزين شد: مرد، دانشگاهي\n"_s), qPrintable(f.lastText()));
        QCOMPARE(f.values(kMenUniversity), imported);
        QCOMPARE(f.state(kMenUniversity).current.name, mine.description.name);
        QCOMPARE(f.state(kMenUniversity).current.source, mine.description.source);
        QVERIFY(!f.state(kMenUniversity).current.delivered);
        // The three delivered tables came back unchanged: still delivered, nothing kept for them.
        QVERIFY(f.state(u"EvabaliniDAFMIR"_s).current.delivered);
        QVERIFY(!f.state(u"EvabaliniDAFMIR"_s).kept);
    }

    void workbookResavedByLibreOfficeImports()
    {
        const QString soffice = QStandardPaths::findExecutable(u"soffice"_s);
        if (soffice.isEmpty())
            QSKIP("LibreOffice is not installed (apt-get install libreoffice-calc-nogui)");
        Fixture f;
        const norms::NormTableData mine = clinicTable(kMenUniversity, u"هنجار کلينيک"_s);
        const QString written = f.workbook(u"written.xlsx"_s, {mine});
        QDir(f.out.path()).mkdir(u"lo"_s);
        QProcess lo;
        lo.start(soffice, {u"--headless"_s, u"--norestore"_s, u"-env:UserInstallation=file://"_s + f.out.filePath(u"profile"_s),
                           u"--convert-to"_s, u"xlsx:Calc MS Excel 2007 XML"_s, u"--outdir"_s, f.out.filePath(u"lo"_s), written});
        QVERIFY(lo.waitForFinished(180000));
        const QString resaved = f.out.filePath(u"lo/written.xlsx"_s);
        QVERIFY2(QFile::exists(resaved), qPrintable(QString::fromUtf8(lo.readAllStandardError())));
        f.import(resaved, false);
        QVERIFY2(f.lastText().contains(u"جايگزين شد"_s), qPrintable(f.lastText()));
        QVERIFY(norms::SameReadValues(f.values(kMenUniversity), mine.values));
        QCOMPARE(f.state(kMenUniversity).current.name, mine.description.name);
    }

    void badWorkbookChangesNothing_data()
    {
        QTest::addColumn<bool>("all");
        QTest::addColumn<QString>("named");
        QTest::newRow("falling T in the second sheet") << true << u"برگه EvabaliniDAMIR، خانه E10"_s;
        QTest::newRow("missing sheet") << true << u"برگه «EvabaliniDJFMIR» در اين فايل نيست"_s;
    }
    void badWorkbookChangesNothing()
    {
        QFETCH(bool, all);
        QFETCH(QString, named);
        Fixture f;
        norms::NormTableData second = clinicTable(u"EvabaliniDAMIR"_s, u"دوم"_s);
        second.values[3][3] = u"0"_s; // Hs of raw score 3, below that of raw score 2
        const QString path = f.workbook(u"bad.xlsx"_s, {clinicTable(kMenUniversity, u"اول"_s),
                                                        named.contains(u"E10"_s) ? second : clinicTable(u"EvabaliniDAMIR"_s, u"دوم"_s)});
        const norms::NormValues before = f.values(kMenUniversity);
        f.import(path, all);
        QVERIFY2(f.lastText().contains(named), qPrintable(f.lastText()));
        QVERIFY(f.lastText().contains(u"هيچ جدولي تغيير نکرد"_s));
        QCOMPARE(f.values(kMenUniversity), before);
        QVERIFY(f.state(kMenUniversity).current.delivered);
        QVERIFY(!f.state(kMenUniversity).kept);
    }

    void replacedTablePutBack()
    {
        Fixture f;
        const norms::NormValues delivered = f.values(kMenUniversity);
        f.import(f.workbook(u"mine.xlsx"_s, {clinicTable(kMenUniversity, u"هنجار کلينيک"_s)}), false);
        QVERIFY(f.panel->putBackKept->isEnabled());
        QVERIFY(f.panel->keptLine->text().contains(u"نرم همراه برنامه"_s));

        f.env.dialogs.questionAnswers.enqueue(true);
        f.panel->putBackKept->click();
        QCOMPARE(f.values(kMenUniversity), delivered);
        const norms::NormTableState s = f.state(kMenUniversity);
        QVERIFY(s.current.delivered);
        QVERIFY(s.kept && s.kept->name == u"هنجار کلينيک"_s); // the clinic's table can come back in turn
        QCOMPARE(f.panel->normTables->item(0, 4)->text(), u"بله"_s);
    }

    void deliveredTablesRestoredAfterAQuestion()
    {
        Fixture f;
        QVector<norms::NormTableData> four;
        for (const norms::NormGroup& g : norms::NormGroups())
            four << clinicTable(g.table, u"کلينيک"_s);
        f.import(f.workbook(u"four.xlsx"_s, four), true);
        QVERIFY(!f.state(kMenUniversity).current.delivered);

        f.env.dialogs.questionAnswers.enqueue(false);
        f.panel->restoreDeliveredTables->click();
        QVERIFY(!f.state(kMenUniversity).current.delivered);

        f.env.dialogs.questionAnswers.enqueue(true);
        f.panel->restoreDeliveredTables->click();
        for (const norms::NormGroup& g : norms::NormGroups()) {
            QCOMPARE(f.values(g.table), norms::DeliveredValues(g.table));
            QVERIFY(f.state(g.table).current.delivered);
            QCOMPARE(f.state(g.table).kept->name, u"کلينيک"_s);
        }
        // Asked again, nothing is replaced: the clinic's kept tables stay kept.
        f.env.dialogs.questionAnswers.enqueue(true);
        f.panel->restoreDeliveredTables->click();
        QCOMPARE(f.state(kMenUniversity).kept->name, u"کلينيک"_s);
    }

    // A norms file (or server) of an earlier version: no descriptions kept, one table changed by hand.
    void earlierFileGetsItsTablesAndIsDescribedByItsValues()
    {
        TestEnv env;
        const QString path = env.path(store::kNormsFile);
        QVERIFY(testing_support::execSql(path, {u"DROP TABLE \"NormInfo\""_s, u"DROP TABLE \"NormKept\""_s,
                                                u"UPDATE \"EvabaliniDAFMIR\" SET \"Hs\" = '99' WHERE \"KHam\" = '4'"_s}));
        const store::PrepareOutcome prepared = store::PrepareProgramFolder(env.folder());
        QVERIFY2(prepared.ok, qPrintable(prepared.error));
        QVector<norms::NormTableState> states;
        QVERIFY(norms::ReadNormStates(path, states));
        QCOMPARE(states.size(), 4);
        QVERIFY(states[0].current.delivered);
        QVERIFY(!states[3].current.delivered);
        QCOMPARE(states[3].current.name, u"جدول بي نام"_s);
    }
};

TAVORA_TEST(TestNormTablesPanel)
#include "tst_norm_tables_panel.moc"
