// The backup and restore screen on a real program folder: copies, refusals, messages, the end.
#include "app/main_window.h"
#include "maintenance/backup_names.h"
#include "maintenance/file_copy.h"
#include "maintenance/backup_screen.h"
#include "maintenance/maintenance_texts.h"
#include "store/schema.h"
#include "store/view.h"
#include "support/test_env.h"
#include "support/probes.h"
#include "support/test_registry.h"

#include <QDir>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTest>

namespace mt = maintenance::texts;

namespace {

const QString kProgramCaption = QStringLiteral("Tavora-II-71");
const QString kPassphrase = QStringLiteral("گذرواژه درمانگاه 1403");

QByteArray readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

// A screen as the exit confirmation opens it, on a program folder with one examinee.
struct Screen {
    TestEnv env;
    std::unique_ptr<Frmbackup> form;

    Screen()
    {
        testing_support::addExaminee(env.folder(), QStringLiteral("1"));
        form = std::make_unique<Frmbackup>(env.ctx);
        form->show();
    }
    QString database() const { return env.path(store::kExamineeFile); }
    QString back(const QString& name = QString()) const { return QDir(env.path(QStringLiteral("Back"))).filePath(name); }

    // Clicks a copy button and waits until the copy (if one starts) has ended.
    bool run(QPushButton* button)
    {
        QSignalSpy ended(form.get(), &Frmbackup::copyFinished);
        button->click();
        if (!form->isCopying())
            return false;
        return ended.wait(10000);
    }
};

// A SQLite file that is not ours: same format, other tables.
void makeForeignDatabase(const QString& path)
{
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("foreign"));
        db.setDatabaseName(path);
        QVERIFY(db.open());
        QSqlQuery q(db);
        QVERIFY(q.exec(QStringLiteral("CREATE TABLE IDE (Code TEXT)")));
        QVERIFY(q.exec(QStringLiteral("CREATE TABLE Patients (Name TEXT)")));
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("foreign"));
}

} // namespace

class TestBackupScreen : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void opensWithDateTimeAndHelp()
    {
        Screen s;
        QCOMPARE(s.form->windowTitle(), mt::kBackupTitle);
        QCOMPARE(s.form->Label1->text(), QStringLiteral("1401.5.30"));
        QCOMPARE(s.form->Label3->text(), s.form->Label1->text());
        QCOMPARE(s.form->Label2->text(), QStringLiteral("10.30"));
        QCOMPARE(s.form->Timer1->interval(), 1000);
        QVERIFY(s.form->Frame1->isHidden());
        s.form->Command3->click();
        QVERIFY(s.form->Frame1->isVisible());
        const QStringList help = s.form->Text4->toPlainText().split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QCOMPARE(s.form->Text4->toPlainText().trimmed().split(QLatin1Char('\n')).size(), 41);
        QVERIFY(help.first().startsWith(QStringLiteral("اين قسمت از برنامه جهت پشتيبان گيري و ")));
        QCOMPARE(help.last(), QStringLiteral("موفق و پيروز باشيد"));
        s.form->Command2->click();
        QVERIFY(s.form->Frame1->isHidden());
    }

    void dialogsOpenInBackWithTheTimeOfEachOpening()
    {
        Screen s;
        QVERIFY(!QFileInfo::exists(s.back()));
        s.form->b1->click(); // cancelled: no error, nothing chosen
        QVERIFY(QFileInfo(s.back()).isDir());
        s.env.clock.current.setTime(QTime(11, 5));
        s.env.dialogs.fileAnswers.enqueue(s.back(QStringLiteral("chosen.mdbB")));
        s.form->b1->click();
        const QList<ScriptedDialogs::Shown> shown = s.env.dialogs.shown;
        QCOMPARE(shown.size(), 2);
        QCOMPARE(shown.at(0).text, s.back(QStringLiteral("Tavora71در تاريخ1401.5.30 ساعت)10.30).mdbB")));
        QCOMPARE(shown.at(1).text, s.back(QStringLiteral("Tavora71در تاريخ1401.5.30 ساعت)11.05).mdbB")));
        // The dialog in "Back" lists the backups there.
        QCOMPARE(testing_support::ListedByFileDialog(shown.at(1).filter, {QStringLiteral("a.mdbB"), QStringLiteral("a.txt")}),
                 QStringList{QStringLiteral("a.mdbB")});
        QCOMPARE(s.form->Text1->text(), QDir::toNativeSeparators(s.back(QStringLiteral("chosen.mdbB"))));

        s.env.dialogs.fileAnswers.enqueue(s.back(QStringLiteral("old.mdbB")));
        s.form->b2->click();
        QCOMPARE(s.env.dialogs.shown.last().kind, ScriptedDialogs::Kind::OpenFile);
        QCOMPARE(s.env.dialogs.shown.last().text, s.back());
        QCOMPARE(s.form->Text2->text(), QDir::toNativeSeparators(s.back(QStringLiteral("old.mdbB"))));
    }

    void backupToANewName()
    {
        Screen s;
        const QString target = s.env.path(QStringLiteral("new.mdbB"));
        s.form->Text1->setText(target);
        QVERIFY(s.run(s.form->VisualButtonEx2));
        QCOMPARE(readFile(target), readFile(s.database()));
        QVERIFY(!QFile::exists(target + QStringLiteral(".part")));
        QCOMPARE(s.env.dialogs.messageTexts(), QStringList{mt::kBackupMade});
        QCOMPARE(s.env.dialogs.lastMessage()->title, kProgramCaption);
        QCOMPARE(s.env.desktop.endCalls, QList<int>{0});
    }

    void backupOverAnExistingName_data()
    {
        QTest::addColumn<bool>("replace");
        QTest::newRow("yes") << true;
        QTest::newRow("no") << false;
    }
    void backupOverAnExistingName()
    {
        QFETCH(bool, replace);
        Screen s;
        const QString target = s.env.path(QStringLiteral("existing.mdbB"));
        const QByteArray longer(3 * 1024 * 1024, 'x'); // longer than the database
        QVERIFY(writeFile(target, longer));
        s.form->Text1->setText(target);
        s.env.dialogs.questionAnswers.enqueue(replace);
        const bool copied = s.run(s.form->VisualButtonEx2);
        QCOMPARE(s.env.dialogs.shown.first().text, mt::kReplaceBackup);
        QCOMPARE(copied, replace);
        if (replace) {
            QCOMPARE(readFile(target), readFile(s.database())); // never longer than the source
            QCOMPARE(s.env.desktop.endCalls, QList<int>{0});
        } else {
            QCOMPARE(readFile(target), longer);
            QCOMPARE(s.env.dialogs.lastMessage()->text, mt::kBackupNotMade);
            QCOMPARE(s.env.dialogs.lastMessage()->icon, Dialogs::Icon::Information);
            QVERIFY(s.env.desktop.endCalls.isEmpty());
            QVERIFY(s.form->isVisible());
        }
    }

    void failuresAreReportedAndTheScreenStays()
    {
        Screen s;
        s.form->VisualButtonEx2->click();
        s.form->VisualButtonEx3->click();
        QCOMPARE(s.env.dialogs.messageTexts(), (QStringList{mt::kEnterBackupPath, mt::kEnterRestorePath}));
        for (const ScriptedDialogs::Shown& m : s.env.dialogs.messages()) {
            QCOMPARE(m.title, QStringLiteral("خطا"));
            QCOMPARE(m.icon, Dialogs::Icon::Warning);
        }
        s.env.dialogs.clear();
        s.form->Text1->setText(s.env.path(QStringLiteral("no-such-folder/x.mdbB")));
        QVERIFY(s.run(s.form->VisualButtonEx2));
        const ScriptedDialogs::Shown failed = *s.env.dialogs.lastMessage();
        QCOMPARE(s.env.dialogs.messages().size(), 1); // no success after a failed write
        QCOMPARE(failed.title, QStringLiteral("خطا"));
        QVERIFY(failed.text.startsWith(mt::kCopyFailed + QStringLiteral("\r\n")));
        QCOMPARE(failed.icon, Dialogs::Icon::Critical);
        QVERIFY(s.env.desktop.endCalls.isEmpty());
        QVERIFY(s.form->VisualButtonEx2->isEnabled());
    }

    void restoreOfASmallerBackupGivesItsRowsBack()
    {
        Screen s;
        const QString backup = s.env.path(QStringLiteral("small.mdbB"));
        QVERIFY(QFile::copy(s.database(), backup));
        {
            // Two hundred more examinees with long interpretation texts, in one transaction.
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("grow"));
            db.setDatabaseName(s.database());
            QVERIFY(db.open());
            QVERIFY(db.transaction());
            QSqlQuery q(db);
            QVERIFY(q.prepare(QStringLiteral("INSERT INTO IDE (Code, TT1) VALUES (?, ?)")));
            for (int i = 2; i <= 200; ++i) {
                q.addBindValue(QString::number(i));
                q.addBindValue(QString(2000, QChar(0x0627 + i % 20)));
                QVERIFY(q.exec());
            }
            q.finish();
            QVERIFY(db.commit());
            db.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("grow"));
        const QByteArray grown = readFile(s.database());
        QVERIFY(grown.size() > QFileInfo(backup).size());

        s.env.clock.current.setTime(QTime(14, 7));
        s.form->Text2->setText(backup);
        s.env.dialogs.questionAnswers.enqueue(true);
        QVERIFY(s.run(s.form->VisualButtonEx3));
        QCOMPARE(s.env.dialogs.shown.first().text, mt::kAskRestore);
        // The backup's rows, in a fresh file of the program's own: no longer than they need.
        store::View ide(s.database(), QStringLiteral("IDE"));
        QVERIFY(ide.refresh());
        QCOMPARE(ide.count(), 1);
        QVERIFY(QFileInfo(s.database()).size() < grown.size());
        QCOMPARE(s.env.dialogs.messageTexts(), QStringList{mt::kRestored});
        QCOMPARE(s.env.desktop.endCalls, QList<int>{0});
        // What was replaced is kept in "Back" under the name of that moment.
        QCOMPARE(readFile(s.back(QStringLiteral("Tavora71در تاريخ1401.5.30 ساعت)14.07).mdbB"))), grown);
    }

    void restoreRefusesWhatIsNotOurDatabase_data()
    {
        QTest::addColumn<int>("kind");
        QTest::newRow("not a database") << 0;
        QTest::newRow("another program's database") << 1;
        QTest::newRow("a FIFO") << 2;
    }
    void restoreRefusesWhatIsNotOurDatabase()
    {
        QFETCH(int, kind);
        Screen s;
        const QString chosen = s.env.path(QStringLiteral("chosen.mdbB"));
        std::optional<testing_support::Fifo> fifo;
        if (kind == 0)
            QVERIFY(writeFile(chosen, QByteArray("examinee list\n1;2;3\n").repeated(500)));
        else if (kind == 1)
            makeForeignDatabase(chosen);
        else
            QVERIFY(fifo.emplace(chosen).isValid());
        const QByteArray before = readFile(s.database());
        s.form->Text2->setText(chosen);
        s.env.dialogs.questionAnswers.enqueue(true);
        QVERIFY(!s.run(s.form->VisualButtonEx3));
        QVERIFY(!fifo || !fifo->readerCame()); // never opened: it would have blocked the screen
        QCOMPARE(readFile(s.database()), before);
        const ScriptedDialogs::Shown refused = *s.env.dialogs.lastMessage();
        QCOMPARE(refused.title, QStringLiteral("خطا"));
        QVERIFY(refused.text.startsWith(mt::kNotOurDatabase));
        QVERIFY(s.env.desktop.endCalls.isEmpty());
        QVERIFY(QDir(s.back()).isEmpty());
    }

    void restoreDeclined()
    {
        Screen s;
        s.form->Text2->setText(s.env.path(QStringLiteral("any.mdbB")));
        QVERIFY(!s.run(s.form->VisualButtonEx3));
        QCOMPARE(s.env.dialogs.lastMessage()->text, mt::kNotRestored);
        QVERIFY(s.env.desktop.endCalls.isEmpty());
    }

    void restoreWhileViewsAreOpenLeavesAWorkingDatabase()
    {
        Screen s;
        const QString backup = s.env.path(QStringLiteral("other.mdbB"));
        QVERIFY(QFile::copy(s.database(), backup));
        {
            // The backup holds a second examinee the current database does not.
            store::View ide(backup, QStringLiteral("IDE"));
            QVERIFY(ide.refresh());
            ide.addNew();
            QVERIFY(ide.setValue(QStringLiteral("Code"), QStringLiteral("77")));
            QVERIFY(ide.update());
        }
        Frm1 main(s.env.ctx);
        QVERIFY(main.load()); // its views hold the database open
        QCOMPARE(main.Adodc5.count(), 1);

        s.form->Text2->setText(backup);
        s.env.dialogs.questionAnswers.enqueue(true);
        QVERIFY(s.run(s.form->VisualButtonEx3));
        QCOMPARE(s.env.dialogs.messageTexts(), QStringList{mt::kRestored});

        // The main window's views read the restored file and can write to it.
        QVERIFY(main.Adodc5.refresh());
        QCOMPARE(main.Adodc5.count(), 2);
        QVERIFY(main.Adodc3.refresh());
        main.Adodc3.addNew();
        QVERIFY(main.Adodc3.setValue(QStringLiteral("Code"), QStringLiteral("77")));
        QVERIFY(main.Adodc3.update());
        store::View fresh(s.database(), QStringLiteral("Answer"));
        QVERIFY(fresh.refresh());
        QCOMPARE(fresh.count(), 2);
    }

    void escapeEndsWithoutACopy()
    {
        Screen s;
        s.form->Text1->setText(s.env.path(QStringLiteral("never.mdbB")));
        QVERIFY(QTest::qWaitForWindowExposed(s.form.get()));
        QTest::keyClick(s.form.get(), Qt::Key_Escape);
        QCOMPARE(s.env.desktop.endCalls, QList<int>{0});
        QVERIFY(!QFile::exists(s.env.path(QStringLiteral("never.mdbB"))));
        QVERIFY(s.env.dialogs.shown.isEmpty());
    }

    void aNameChosenInTheSaveDialogIsNotAskedAboutAgain()
    {
        // The save dialog asked whether to replace it; the screen does not ask a second time.
        Screen s;
        const QString target = s.env.path(QStringLiteral("existing.mdbB"));
        QVERIFY(writeFile(target, "old backup"));
        QVERIFY(QDir().mkpath(s.back()));
        QVERIFY(writeFile(s.back(QStringLiteral("killed.mdbB.part")), "a copy cut short"));
        s.env.dialogs.fileAnswers.enqueue(target);
        s.form->b1->click();
        QVERIFY(s.run(s.form->VisualButtonEx2));
        QCOMPARE(readFile(target), readFile(s.database()));
        for (const ScriptedDialogs::Shown& shown : s.env.dialogs.shown)
            QVERIFY(shown.kind != ScriptedDialogs::Kind::Question);
        QVERIFY(!QFileInfo::exists(s.back(QStringLiteral("killed.mdbB.part")))); // stale copies go
    }

    void sealedBackupRoundTrip()
    {
        Screen s;
        const QString name = QStringLiteral("نيک‌سرشت");
        QVERIFY(testing_support::addExaminee(s.env.folder(), QStringLiteral("2"), {}, {{QStringLiteral("LName"), name}}));
        const QString target = s.env.path(QStringLiteral("sealed.mdbB"));
        s.form->Text1->setText(target);
        s.form->ChkSeal->setChecked(true);
        s.env.dialogs.secretAnswers << kPassphrase << kPassphrase;
        QVERIFY(s.run(s.form->VisualButtonEx2));
        QCOMPARE(s.env.dialogs.messageTexts(), QStringList{mt::kBackupMade});
        const QByteArray sealed = readFile(target);
        QVERIFY(sealed.startsWith("Tavora71-backup"));
        QVERIFY(!sealed.contains(name.toUtf8()));

        // He is deleted; the sealed backup brings him back.
        QVERIFY(testing_support::execSql(s.database(), {QStringLiteral("DELETE FROM IDE WHERE Code = '2'"),
                                                        QStringLiteral("DELETE FROM Answer WHERE Code = '2'")}));
        s.env.dialogs.clear();
        s.form->Text2->setText(target);
        s.env.dialogs.questionAnswers.enqueue(true);
        s.env.dialogs.secretAnswers << kPassphrase;
        QVERIFY(s.run(s.form->VisualButtonEx3));
        QCOMPARE(s.env.dialogs.messageTexts(), QStringList{mt::kRestored});
        QCOMPARE(s.env.dialogs.shown.at(1).kind, ScriptedDialogs::Kind::Secret);
        store::View ide(s.database(), QStringLiteral("IDE"));
        QVERIFY(ide.setFilter(QStringLiteral("Code"), QStringLiteral("2")));
        QCOMPARE(ide.value(QStringLiteral("LName")), name);
        QCOMPARE(readFile(target), sealed);
        QCOMPARE(QDir(s.env.folder()).entryList({QStringLiteral("*.part")}, QDir::Files), QStringList());
    }

    void sealedBackupRefused_data()
    {
        QTest::addColumn<QString>("passphrase");
        QTest::addColumn<int>("flip"); // the byte changed: from the start, or (negative) from the end; 0 none
        QTest::addColumn<int>("cut");  // bytes cut off the end
        QTest::newRow("wrong passphrase") << QStringLiteral("not the passphrase") << 0 << 0;
        QTest::newRow("a byte of the header") << kPassphrase << 30 << 0;
        QTest::newRow("a byte of the body") << kPassphrase << 70000 << 0;
        QTest::newRow("a byte of the last piece") << kPassphrase << -3 << 0;
        QTest::newRow("truncated") << kPassphrase << 0 << 100;
    }
    void sealedBackupRefused()
    {
        QFETCH(QString, passphrase);
        QFETCH(int, flip);
        QFETCH(int, cut);
        Screen s;
        // Several pieces' worth of examinees, sealed once for every row.
        static QByteArray sealed;
        if (sealed.isEmpty()) {
            QVERIFY(testing_support::execSql(s.database(), {QStringLiteral(
                "WITH RECURSIVE n(i) AS (SELECT 10 UNION ALL SELECT i + 1 FROM n WHERE i < 120) "
                "INSERT INTO IDE (Code, TT1) SELECT i, printf('%.2000c', 'x') FROM n")}));
            s.form->Text1->setText(s.env.path(QStringLiteral("sealed.mdbB")));
            s.form->ChkSeal->setChecked(true);
            s.env.dialogs.secretAnswers << kPassphrase << kPassphrase;
            QVERIFY(s.run(s.form->VisualButtonEx2));
            sealed = readFile(s.env.path(QStringLiteral("sealed.mdbB")));
            QVERIFY(sealed.size() > 3 * 65536);
            s.env.dialogs.clear();
            s.env.desktop.endCalls.clear();
        }
        QByteArray changed = sealed;
        if (flip != 0)
            changed[flip > 0 ? flip : changed.size() + flip] ^= 0x01;
        changed.chop(cut);
        const QString chosen = s.env.path(QStringLiteral("chosen.mdbB"));
        QVERIFY(writeFile(chosen, changed));
        const QByteArray before = readFile(s.database());

        s.form->Text2->setText(chosen);
        s.env.dialogs.questionAnswers.enqueue(true);
        s.env.dialogs.secretAnswers << passphrase;
        QVERIFY(!s.run(s.form->VisualButtonEx3));
        QCOMPARE(readFile(s.database()), before);
        QCOMPARE(readFile(chosen), changed);
        const ScriptedDialogs::Shown refused = *s.env.dialogs.lastMessage();
        QCOMPARE(refused.title, QStringLiteral("خطا"));
        QVERIFY(refused.text.startsWith(mt::kSealRefused));
        QVERIFY(s.env.desktop.endCalls.isEmpty());
        QCOMPARE(QDir(s.env.folder()).entryList({QStringLiteral("*.part")}, QDir::Files), QStringList());
    }

    void passphraseAskedTwiceAndChecked_data()
    {
        QTest::addColumn<QStringList>("answers");
        QTest::addColumn<QString>("told");
        QTest::newRow("two different") << QStringList{kPassphrase, kPassphrase + QStringLiteral("!")} << mt::kPassphrasesDiffer;
        QTest::newRow("too short") << QStringList{QStringLiteral("1234567")} << mt::kPassphraseTooShort;
        QTest::newRow("cancelled") << QStringList{} << mt::kBackupNotMade;
    }
    void passphraseAskedTwiceAndChecked()
    {
        QFETCH(QStringList, answers);
        QFETCH(QString, told);
        Screen s;
        const QString target = s.env.path(QStringLiteral("never.mdbB"));
        s.form->Text1->setText(target);
        s.form->ChkSeal->setChecked(true);
        for (const QString& answer : answers)
            s.env.dialogs.secretAnswers << answer;
        QVERIFY(!s.run(s.form->VisualButtonEx2));
        QCOMPARE(s.env.dialogs.lastMessage()->text, told);
        QVERIFY(!QFileInfo::exists(target));
        QVERIFY(s.env.desktop.endCalls.isEmpty());
    }

    // Databases with the right tables and columns that could still run code, mix examinees up or
    // break every screen, or that are not whole: refused before anything is replaced, and the
    // chosen file (and what lies beside it) is left exactly as it was.
    void restoreRefusesHostileDatabases_data()
    {
        QStringList itemColumns;
        for (const QString& c : store::itemColumns())
            itemColumns << QStringLiteral("\"%1\" TEXT").arg(c);
        QTest::addColumn<QStringList>("sql");
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("why"); // in the refusal
        QTest::newRow("triggers") << QStringList{
            QStringLiteral("CREATE TRIGGER wipe AFTER UPDATE ON Answer BEGIN DELETE FROM IDE; END"),
            QStringLiteral("CREATE TRIGGER rename AFTER INSERT ON IDE BEGIN UPDATE IDE SET LName = 'x'; END")}
                                  << QString() << QStringLiteral("trigger");
        QTest::newRow("a column named rowid") << QStringList{QStringLiteral("ALTER TABLE IDE ADD COLUMN rowid TEXT")}
                                              << QString() << QStringLiteral("named rowid");
        QTest::newRow("WITHOUT ROWID") << QStringList{
            QStringLiteral("DROP TABLE Answer"),
            QStringLiteral("CREATE TABLE Answer (Code TEXT PRIMARY KEY, %1) WITHOUT ROWID").arg(itemColumns.join(u','))}
                                       << QString() << QStringLiteral("WITHOUT ROWID");
        QTest::newRow("a view") << QStringList{QStringLiteral("CREATE VIEW everyone AS SELECT * FROM IDE")} << QString()
                                << QStringLiteral("view");
        QTest::newRow("WAL mode with its -wal") << QStringList{} << QStringLiteral("wal") << QStringLiteral("-wal");
        QTest::newRow("bytes overwritten mid-file") << QStringList{} << QStringLiteral("damaged") << QStringLiteral("damaged");
    }
    void restoreRefusesHostileDatabases()
    {
        QFETCH(QStringList, sql);
        QFETCH(QString, kind);
        QFETCH(QString, why);
        Screen s;
        const QString chosen = s.env.path(QStringLiteral("hostile.mdbB"));
        QVERIFY(QFile::copy(s.database(), chosen));
        QVERIFY(QFile::setPermissions(chosen, QFile::ReadOwner | QFile::WriteOwner));
        if (!sql.isEmpty())
            QVERIFY(testing_support::execSql(chosen, sql));
        // A WAL file stays open elsewhere, its last changes in the -wal beside it.
        const QString holder = QStringLiteral("wal-holder");
        if (kind == QLatin1String("wal")) {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), holder);
            db.setDatabaseName(chosen);
            QVERIFY(db.open());
            QSqlQuery q(db);
            QVERIFY(q.exec(QStringLiteral("PRAGMA journal_mode = WAL")));
            QVERIFY(q.exec(QStringLiteral("INSERT INTO IDE (Code) VALUES ('99')")));
            QVERIFY(QFileInfo(chosen + QStringLiteral("-wal")).size() > 0);
        }
        const auto closeHolder = qScopeGuard([&holder] {
            if (QSqlDatabase::contains(holder)) {
                QSqlDatabase::database(holder, false).close();
                QSqlDatabase::removeDatabase(holder);
            }
        });
        if (kind == QLatin1String("damaged")) {
            QFile f(chosen);
            QVERIFY(f.open(QIODevice::ReadWrite));
            QVERIFY(f.size() > 4 * 4096);
            QVERIFY(f.seek(2 * 4096) && f.write(QByteArray(300, 'Z')) == 300);
        }
        const QByteArray chosenBefore = readFile(chosen);
        const QByteArray walBefore = readFile(chosen + QStringLiteral("-wal"));
        const QByteArray before = readFile(s.database());

        s.form->Text2->setText(chosen);
        s.env.dialogs.questionAnswers.enqueue(true);
        QVERIFY(!s.run(s.form->VisualButtonEx3));
        QCOMPARE(readFile(s.database()), before);
        QCOMPARE(readFile(chosen), chosenBefore);
        QCOMPARE(readFile(chosen + QStringLiteral("-wal")), walBefore);
        const ScriptedDialogs::Shown refused = *s.env.dialogs.lastMessage();
        QCOMPARE(refused.title, QStringLiteral("خطا"));
        QVERIFY2(refused.text.startsWith(mt::kNotOurDatabase) && refused.text.contains(why), qPrintable(refused.text));
        QVERIFY(s.env.desktop.endCalls.isEmpty());
    }

    void copyLetsTheWindowBreatheAndNeverExposesAHalfWrittenTarget()
    {
        QTemporaryDir dir;
        const QString source = QDir(dir.path()).filePath(QStringLiteral("large.mdb"));
        const QString target = QDir(dir.path()).filePath(QStringLiteral("large.mdbB"));
        QByteArray bytes(6 * 1024 * 1024 + 77, '\0');
        for (qsizetype i = 0; i < bytes.size(); ++i)
            bytes[i] = static_cast<char>(i % 251);
        QVERIFY(writeFile(source, bytes));
        QVERIFY(writeFile(target, "old backup"));

        maintenance::FileCopier copier;
        copier.setSliceMs(1);
        int ticks = 0;
        QTimer ui;
        QObject::connect(&ui, &QTimer::timeout, [&] { ++ticks; });
        ui.start(0);
        QList<qint64> progress;
        bool targetWasOld = true;
        QObject::connect(&copier, &maintenance::FileCopier::progress, [&](qint64 copied, qint64) {
            progress << copied;
            targetWasOld = targetWasOld && (copied == bytes.size() || readFile(target) == "old backup");
        });
        QSignalSpy finished(&copier, &maintenance::FileCopier::finished);
        QVERIFY(copier.start(source, target));
        QVERIFY(finished.wait(20000));
        QCOMPARE(finished.first().first().toString(), QString());
        QVERIFY(progress.size() > 2);
        QCOMPARE(progress.last(), bytes.size());
        QVERIFY(ticks > 2); // the event loop ran between slices
        QVERIFY(targetWasOld);
        QCOMPARE(readFile(target), bytes);
    }

    // The flush and rename run beside the event loop: a failure there still arrives as the
    // outcome and takes the .part with it, and a copier dropped meanwhile waits for them.
    void replacingBesideTheEventLoop()
    {
        QTemporaryDir dir;
        const QString source = QDir(dir.path()).filePath(QStringLiteral("db.mdb"));
        const QByteArray bytes(300 * 1024, 'x');
        QVERIFY(writeFile(source, bytes));
        const QString folderTarget = QDir(dir.path()).filePath(QStringLiteral("a-folder.mdbB"));
        QVERIFY(QDir().mkpath(folderTarget + QStringLiteral("/inside"))); // no file is renamed over it

        maintenance::FileCopier refused;
        QSignalSpy finished(&refused, &maintenance::FileCopier::finished);
        QVERIFY(refused.start(source, folderTarget));
        QVERIFY(finished.wait(10000));
        QVERIFY(finished.first().first().toString().contains(folderTarget));
        QVERIFY(QFileInfo(folderTarget).isDir());
        QCOMPARE(QDir(dir.path()).entryList({QStringLiteral("*.part")}, QDir::Files), QStringList());

        const QString target = QDir(dir.path()).filePath(QStringLiteral("db.mdbB"));
        auto dropped = std::make_unique<maintenance::FileCopier>();
        dropped->setSliceMs(5000); // one slice: its progress at the end is the last
        QObject::connect(dropped.get(), &maintenance::FileCopier::progress, [&](qint64 copied, qint64 total) {
            if (copied == total) // the last slice: the rename starts as it returns
                QTimer::singleShot(0, [&] { dropped.reset(); });
        });
        QVERIFY(dropped->start(source, target));
        QTRY_VERIFY_WITH_TIMEOUT(!dropped, 10000);
        QCOMPARE(readFile(target), bytes);
        QCOMPARE(QDir(dir.path()).entryList({QStringLiteral("*.part")}, QDir::Files), QStringList());
    }
};

TAVORA_TEST(TestBackupScreen)
#include "tst_backup_screen.moc"
