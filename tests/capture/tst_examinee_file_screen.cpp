#include "support/test_registry.h"
#include "workbook_samples.h"
#include "support/test_data.h"
#include "support/test_env.h"
#include "support/probes.h"
#include "app/main_window.h"
#include "capture/examinee_file_screen.h"
#include "phone/stored_answers.h"
#include "store/view.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace Qt::StringLiterals;
using Icon = Dialogs::Icon;

namespace {

// The main window on a folder with examinees "7" and "8" (8 answered "2" throughout), the
// publisher of the test workbooks, and the examinee-file screen opened from its button.
struct Import {
    TestEnv env;
    bool seeded;
    Frm1 w{env.ctx};
    FrmFile* f = nullptr;

    Import()
        : seeded(testing_support::addExaminee(env.folder(), u"7"_s, {},
                                              {{u"FName"_s, u"مريم"_s}, {u"LName"_s, u"احمدي"_s}})
                 && testing_support::addExaminee(env.folder(), u"8"_s, QStringList(71, u"2"_s)))
    {
        PublisherAddresses publisher;
        publisher.webSite = QUrl(u"https://www.tavora71.example"_s);
        env.ctx.setPublisher(publisher);
        seeded = seeded && w.load();
        w.Command5->click();
        f = w.findChild<FrmFile*>();
    }
    QString file() const { return env.path(u"Tavora71.mdb"_s); }
    void select(const std::optional<QString>& code)
    {
        env.dialogs.inputAnswers.enqueue(code);
        f->Print_Btn->click();
    }
    void read(const QString& path)
    {
        env.dialogs.fileAnswers.enqueue(path);
        f->Send_BtnExcel->click();
    }
    QStringList stored(const QString& code = u"7"_s) const
    {
        store::View v(file(), u"Answer"_s);
        (void)v.refresh();
        (void)v.setFilter(u"Code"_s, code);
        QStringList r;
        for (int item = 1; item <= 71; ++item)
            r << v.value(QString::number(item));
        return r;
    }
    bool buttons(bool send, bool save) const
    {
        return f->Send_BtnExcel->isEnabled() == send && f->Save_Btn->isEnabled() == save;
    }
};

} // namespace

class TestExamineeFileScreen : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void threeSteps()
    {
        Import r;
        QVERIFY(r.seeded && r.f);
        QVERIFY(r.f->isModal());
        QVERIFY(r.buttons(false, false));

        r.select(u"7"_s);
        const auto input = r.env.dialogs.shown.first();
        QCOMPARE(input.kind, ScriptedDialogs::Kind::Input);
        QCOMPARE(input.title, u"Enter Code "_s);
        QCOMPARE(input.text, u" Plese Insert Code "_s);
        QCOMPARE(r.f->SkinLblName->text(), u"مريم احمدي"_s);
        QVERIFY(r.buttons(true, false));

        r.read(workbook_samples::file(u"libreoffice-example.xlsx"_s));
        const auto dialog = r.env.dialogs.shown.at(1);
        QCOMPARE(dialog.kind, ScriptedDialogs::Kind::OpenFile);
        QCOMPARE(testing_support::ListedByFileDialog(dialog.filter, {u"a.xlsx"_s, u"b.txt"_s}), QStringList{u"a.xlsx"_s});
        auto done = r.env.dialogs.lastMessage();
        QCOMPARE(done->title, u"پيام"_s);
        QCOMPARE(done->text, u"  داده ها با موفقيت وارد سيستم شدند "_s);
        QCOMPARE(done->icon, Icon::Information);
        QCOMPARE(done->autoCloseMs, 0);
        QVERIFY(r.buttons(true, true));
        QCOMPARE(r.stored(), QStringList(71, QString())); // nothing stored before Save
        // ... but shown: the file read and what Save will store.
        QCOMPARE(r.f->LblFile->text(), u"libreoffice-example.xlsx"_s);
        QStringList shown;
        for (const QLineEdit* field : std::as_const(r.f->TxtStore))
            shown << field->text();
        QCOMPARE(shown, workbook_samples::exampleStored());

        r.f->Save_Btn->click();
        QCOMPARE(r.stored(), workbook_samples::exampleStored());
        done = r.env.dialogs.lastMessage();
        QCOMPARE(done->title, u"پيام"_s);
        QCOMPARE(done->text, u"اطلاعات با موفقيت ذخيره شد"_s);
        QCOMPARE(done->icon, Icon::Warning);
        QVERIFY(r.buttons(true, true));
        QCOMPARE(r.stored(u"8"_s), QStringList(71, u"2"_s));
    }

    void importsWorkbooksOfEveryWriter_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("openpyxl") << u"openpyxl-example.xlsx"_s << workbook_samples::exampleStored();
        QTest::newRow("LibreOffice .xls") << u"libreoffice-example.xls"_s << workbook_samples::exampleStored();
        QStringList odd = workbook_samples::exampleStored();
        for (int i = 0; i < 8; ++i)
            odd[i] = QStringList{u""_s, u""_s, u""_s, u""_s, u"1"_s, u"2"_s, u"2"_s, u""_s}[i];
        QTest::newRow("values that are no response code") << u"openpyxl-odd-values.xlsx"_s << odd;
    }
    void importsWorkbooksOfEveryWriter()
    {
        QFETCH(QString, file);
        QFETCH(QStringList, expected);
        Import r;
        QVERIFY(r.seeded && r.f);
        QVERIFY(testing_support::execSql(r.file(), {u"UPDATE Answer SET \"3\" = '2', \"30\" = '1' WHERE Code = '7'"_s}));
        r.select(u"7"_s);
        r.read(workbook_samples::file(file));
        r.f->Save_Btn->click();
        QCOMPARE(r.stored(), expected); // every item is written, earlier answers included
    }

    void refusedFilesChangeNothing_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("text");
        QTest::addColumn<Icon>("icon");
        const QString a4 = u"اين فايل دستكاري شده و يا اشتباه انتخاب شده است\n لطفا فايل اصلي را از سايت دانلود كنيد \n\n"
                           u" آدرس سايت \n https://www.tavora71.example "_s;
        QTest::newRow("no file chosen") << QString() << u"Error A3"_s << u" عمليات با مشکل مواجه شده است "_s << Icon::Warning;
        QTest::newRow("marker with a blank") << workbook_samples::file(u"marker-trailing-blank.xlsx"_s) << u"Error A1"_s
                                            << u" فايل انتخاب شده قابل بارگذاري نيست "_s << Icon::Information;
        QTest::newRow("marker in lower case") << workbook_samples::file(u"marker-lower-case.xlsx"_s) << u"Error A1"_s
                                             << u" فايل انتخاب شده قابل بارگذاري نيست "_s << Icon::Information;
        QTest::newRow("missing worksheet") << workbook_samples::file(u"missing-sheet.xlsx"_s) << u"Error A4"_s << a4 << Icon::Information;
        QTest::newRow("damaged archive") << workbook_samples::file(u"damaged.xlsx"_s) << u"Error A4"_s << a4 << Icon::Information;
        QTest::newRow("zip bomb") << workbook_samples::file(u"zip-bomb.xlsx"_s) << u"Error A4"_s << a4 << Icon::Information;
        QTest::newRow("a FIFO") << u"fifo"_s << u"Error A4"_s << a4 << Icon::Information;
    }
    void refusedFilesChangeNothing()
    {
        QFETCH(QString, file);
        QFETCH(QString, title);
        QFETCH(QString, text);
        QFETCH(Icon, icon);
        Import r;
        QVERIFY(r.seeded && r.f);
        std::optional<testing_support::Fifo> fifo;
        if (file == u"fifo"_s) { // a reader that opens it waits for a writer that never comes
            file = r.env.path(u"answers.xlsx"_s);
            QVERIFY(fifo.emplace(file).isValid());
        }
        r.select(u"7"_s);
        r.read(file);
        QVERIFY(!fifo || !fifo->readerCame()); // never opened: it would have blocked the screen
        QCOMPARE(r.env.dialogs.lastMessage()->title, title);
        QCOMPARE(r.env.dialogs.lastMessage()->text, text);
        QCOMPARE(r.env.dialogs.lastMessage()->icon, icon);
        QVERIFY(r.buttons(true, false));

        // After a good read, a refused one keeps the buffer and the save step.
        r.read(workbook_samples::file(u"openpyxl-example.xlsx"_s));
        r.read(file);
        QVERIFY(r.buttons(true, true));
        QCOMPARE(r.f->TxtKLID[1]->text(), u"2"_s);
    }

    void selectionRefusalsAndReselection()
    {
        Import r;
        QVERIFY(r.seeded && r.f);
        r.select(std::nullopt);
        QCOMPARE(r.env.dialogs.lastMessage()->text, u"شما بايد شماره آزمودني مورد نظر را وارد كنيد"_s);
        QCOMPARE(r.env.dialogs.lastMessage()->autoCloseMs, 1000);
        QVERIFY(r.buttons(false, false));

        r.select(u"7"_s);
        r.read(workbook_samples::file(u"openpyxl-example.xlsx"_s));
        r.select(u"8"_s); // a workbook read for 7 is never saved to 8 without reading it again
        QVERIFY(r.buttons(true, false));
        r.select(u"99"_s);
        QCOMPARE(r.env.dialogs.lastMessage()->text, u"فردي با اين مشخصات وجود ندارد"_s);
        QVERIFY(r.buttons(false, false));
    }

    void registeredExamineeWithoutResponseRowGetsOne()
    {
        Import r;
        QVERIFY(r.seeded && r.f);
        QVERIFY(testing_support::execSql(r.file(), {u"INSERT INTO IDE (Code) VALUES ('12')"_s}));
        r.select(u"12"_s);
        store::View answers(r.file(), u"Answer"_s);
        QVERIFY(answers.setFilter(u"Code"_s, u"12"_s).ok);
        QCOMPARE(answers.count(), 1);
        QCOMPARE(r.stored(u"12"_s), QStringList(71, QString()));
        QVERIFY(r.buttons(true, false));
    }

    void failedSaveIsReported()
    {
        Import r;
        QVERIFY(r.seeded && r.f);
        r.select(u"7"_s);
        r.read(workbook_samples::file(u"openpyxl-example.xlsx"_s));
        QVERIFY(testing_support::execSql(r.file(), {u"CREATE TRIGGER refuse BEFORE UPDATE ON Answer BEGIN SELECT RAISE(ABORT, 'disk full'); END"_s}));
        r.env.dialogs.clear();
        r.f->Save_Btn->click();
        QCOMPARE(r.env.dialogs.messages().size(), 1);
        QCOMPARE(r.env.dialogs.lastMessage()->title, u"خطا"_s);
        QVERIFY(r.env.dialogs.lastMessage()->text.contains(u"disk full"_s));
    }

    void saveAsksBeforeReplacingAnAnswerGivenMeanwhile()
    {
        Import r;
        QVERIFY(r.seeded && r.f);
        r.select(u"7"_s);
        int answered = 0;
        QVERIFY(phone::StoredAnswers(r.env.folder()).storeAnswer(u"7"_s, 1, u"2"_s, answered)); // on his phone
        r.read(workbook_samples::file(u"libreoffice-example.xlsx"_s));
        r.env.dialogs.clear();
        r.env.dialogs.questionAnswers.enqueue(false);
        r.f->Save_Btn->click();
        QCOMPARE(r.env.dialogs.shown.first().kind, ScriptedDialogs::Kind::Question);
        QStringList expected = workbook_samples::exampleStored();
        expected[0] = u"2"_s; // the phone's answer stays; the rest of the workbook is stored
        QCOMPARE(r.stored(), expected);
    }

    void downloadAndExit()
    {
        Import r;
        QVERIFY(r.seeded && r.f);
        r.f->Down_BtnExcel->click();
        QCOMPARE(r.env.desktop.openedUrls,
                 QList<QUrl>{QUrl(u"https://www.tavora71.example/Soft/Tavora71/Tavora-II-71-Excel.zip"_s)});
        QPointer<FrmFile> f = r.f;
        r.f->Exit_Btn->click();
        QTRY_VERIFY(!f);
    }
};

TAVORA_TEST(TestExamineeFileScreen)
#include "tst_examinee_file_screen.moc"
