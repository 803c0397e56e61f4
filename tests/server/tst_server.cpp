// The program on a clinic's PostgreSQL server: settings, the server's tables, several computers
// at once, clients and servers that go away, and the move of a clinic's files.
#include "app/main_window.h"
#include "app/store_setup.h"
#include "examinees/code_proposal.h"
#include "examinees/registration_panel.h"
#include "app/delivered_check.h"
#include "maintenance/backup_names.h"
#include "maintenance/backup_screen.h"
#include "maintenance/maintenance_texts.h"
#include "store/data_files.h"
#include "store/digit_codes.h"
#include "store/schema.h"
#include "store/server_backup.h"
#include "store/server_move.h"
#include "store/server_schema.h"
#include "store/view.h"
#include "support/test_env.h"
#include "support/test_registry.h"

#include <QComboBox>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QSignalSpy>
#include <QSqlQuery>
#include <QTest>
#include <QThread>

using namespace Qt::StringLiterals;

namespace {

// One statement on the server, outside the program's files (its administrator's view).
QVariant scalar(const store::ServerAddress& db, const QString& sql)
{
    store::Connection c(db);
    QSqlQuery q;
    if (!c.exec(q, sql) || !q.next())
        return {};
    return q.value(0);
}

QString conninfo(const store::ServerAddress& a)
{
    QStringList parts;
    for (const char* key : {"host", "port", "user", "dbname"})
        parts << QString::fromLatin1(key) + u'=' + a.param(QString::fromLatin1(key));
    return parts.join(u' ');
}

// One computer registering n examinees as the registration panel does: the next free code after
// the last one, both rows in one transaction, and after a duplicate the next code proposed again.
int registerMany(const QString& folder, int n, QString& error)
{
    auto conn = std::make_shared<store::Connection>(store::DataFilePath(folder, store::kExamineeFile));
    store::View ide(conn, u"IDE"_s), answer(conn, u"Answer"_s), last(conn, u"IDE"_s);
    int duplicates = 0;
    for (int done = 0; done < n;) {
        QString code = u"1"_s;
        bool any = false;
        store::Result r = last.refresh();
        if (r)
            r = last.anyRow(any);
        if (r && any && (r = last.moveLast())) {
            const std::optional<QString> next = ProposeCode(last.value(u"Code"_s), [&](const QString& lo, const QString& hi) {
                qint64 taken = 0;
                return store::CountDigitCodes(*conn, u"IDE"_s, u"Code"_s, lo, hi, taken) ? std::optional(taken) : std::nullopt;
            });
            code = next.value_or(QString());
        }
        store::Transaction both(conn);
        ide.addNew();
        answer.addNew();
        if (r)
            r = ide.setValue(u"Code"_s, code);
        if (r)
            r = answer.setValue(u"Code"_s, code);
        if (r)
            r = both.begin();
        if (r)
            r = ide.update();
        if (r)
            r = answer.update();
        if (r)
            r = both.commit();
        if (!r) {
            both.rollback();
            (void)ide.refresh();
            (void)answer.refresh();
            if (r.kind != store::Failure::DuplicateKey) {
                error = r.error;
                return -1;
            }
            ++duplicates;
            continue;
        }
        ++done;
    }
    return duplicates;
}

// Clicks a copy button of the backup screen and waits until the copy it starts has ended.
bool runCopy(Frmbackup& form, QPushButton* button)
{
    QSignalSpy ended(&form, &Frmbackup::copyFinished);
    button->click();
    return form.isCopying() && ended.wait(60000);
}

// The codes in a table of a data file, or of the server's file, in their stored order.
QStringList codes(const QString& file, const QString& table = u"IDE"_s)
{
    store::View v(file, table);
    QStringList found;
    if (!v.refresh())
        return {u"unreadable"_s};
    for (bool more = v.hasCurrent(); more; more = v.moveNext() && v.hasCurrent())
        found << v.value(u"Code"_s);
    return found;
}

} // namespace

class TestServerSetting : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void parsedWithTheProgramsDefaults_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("sslmode");
        QTest::addColumn<QString>("shown");
        QTest::newRow("uri, another host") << u"postgresql://clinic@server.lan/tavora71"_s << u"require"_s << u"server.lan/tavora71"_s;
        QTest::newRow("uri, own choice kept") << u"postgresql://clinic@server.lan/t?sslmode=verify-full"_s << u"verify-full"_s
                                              << u"server.lan/t"_s;
        QTest::newRow("keywords, this computer") << u"host=localhost dbname=t user=u"_s << QString() << u"localhost/t"_s;
        QTest::newRow("keywords, loopback") << u"host=127.0.0.1 port=5433 dbname=t"_s << QString() << u"127.0.0.1/t"_s;
        QTest::newRow("malformed") << u"host=x dbname"_s << u"-"_s << QString();
    }
    void parsedWithTheProgramsDefaults()
    {
        QFETCH(QString, text);
        QFETCH(QString, sslmode);
        QFETCH(QString, shown);
        store::ServerAddress a;
        const store::Result r = store::ParseServerAddress(text, a);
        QCOMPARE(r.ok, sslmode != u"-"_s);
        if (!r)
            return;
        QCOMPARE(a.param(u"sslmode"_s), sslmode);
        QCOMPARE(a.shown(), shown);
        QVERIFY(a.param(u"connect_timeout"_s).toInt() > 0);
    }

    // The variable wins over the file; the file's comments and blank lines are not the setting.
    void foundInTheVariableOrTheFile()
    {
        TestEnv env(false);
        QVERIFY(!store::FindServerSetting(env.folder(), {}));
        QFile f(env.path(store::kServerSettingFile));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("# the clinic's server\n\npostgresql://clinic@server.lan/tavora71\n");
        f.close();
        QCOMPARE(store::FindServerSetting(env.folder(), {})->text, u"postgresql://clinic@server.lan/tavora71"_s);
        QCOMPARE(store::FindServerSetting(env.folder(), u"host=other"_s)->text, u"host=other"_s);
    }

    // libpq has no password for the role: it is asked once, kept in memory only, and the settings
    // panel names the server.
    void aPasswordIsAskedOnceAndNeverWritten()
    {
        TestEnv env(false);
        store::ServerAddress admin = *testing_support::testServerAdmin();
        store::Connection c(admin);
        QSqlQuery q;
        (void)c.exec(q, u"DO $$BEGIN IF NOT EXISTS (SELECT 1 FROM pg_roles WHERE rolname = 'tavora_pw') THEN "
                        "CREATE ROLE tavora_pw LOGIN PASSWORD 'geheim'; END IF; END$$"_s);
        const QString setting = u"host=127.0.0.1 port=%1 user=tavora_pw dbname=postgres"_s.arg(admin.param(u"port"_s));
        env.dialogs.secretAnswers << std::optional<QString>(u"geheim"_s);
        QVERIFY(ConnectStore(env.ctx, setting));
        QCOMPARE(env.dialogs.shown.size(), 1);
        QCOMPARE(env.dialogs.shown.first().kind, ScriptedDialogs::Kind::Secret);
        QCOMPARE(store::ServerOf(env.folder())->password, u"geheim"_s);
        QVERIFY(!QFile::exists(env.path(store::kServerSettingFile)));
        QCOMPARE(store::StoreInUse(env.folder()), u"داده ها روي سرور 127.0.0.1 در پايگاه داده postgres نگه داشته مي شوند."_s);
        store::UseLocalFiles(env.folder());
        QCOMPARE(store::StoreInUse(env.folder()), u"داده ها روي همين رايانه نگه داشته مي شوند."_s);
    }
};

class TestServerSchema : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Made by a newer program: refused with a message, and nothing in it is changed.
    void aNewerSchemaIsRefusedUnchanged()
    {
        TestEnv env;
        QVERIFY2(env.isValid(), qPrintable(env.seedError()));
        const store::ServerAddress db = *store::ServerOf(env.folder());
        QVERIFY(testing_support::execSql(env.path(store::kExamineeFile),
                                         {u"UPDATE public.tavora71_schema SET version = 99"_s, u"DROP INDEX \"ix_Answer_Code\""_s}));
        const store::PrepareOutcome r = store::PrepareProgramFolder(env.folder());
        QVERIFY(!r.ok);
        QVERIFY2(r.error.contains(u"99"_s) && r.error.contains(db.shown()), qPrintable(r.error));
        QCOMPARE(scalar(db, u"SELECT count(*) FROM pg_indexes WHERE indexname = 'ix_Answer_Code'"_s).toInt(), 0);
        QCOMPARE(scalar(db, u"SELECT version FROM public.tavora71_schema"_s).toInt(), 99);
    }

    // Made by an earlier program: what is missing is added (a table with its delivered rows, a
    // column, an index), the version recorded; the rest is left as it was.
    void anEarlierSchemaGetsWhatIsMissing()
    {
        TestEnv env;
        QVERIFY2(env.isValid(), qPrintable(env.seedError()));
        const store::ServerAddress db = *store::ServerOf(env.folder());
        QVERIFY(testing_support::addExaminee(env.folder(), u"5"_s));
        QVERIFY(testing_support::execSql(env.path(store::kExamineeFile),
                                         {u"UPDATE public.tavora71_schema SET version = 0"_s, u"DROP INDEX \"ix_Answer_Code\""_s,
                                          u"ALTER TABLE \"IDE\" DROP COLUMN \"TT1\""_s, u"DROP TABLE themetb.\"Taff\""_s}));
        QVERIFY(store::PrepareProgramFolder(env.folder()).ok);
        QCOMPARE(scalar(db, u"SELECT count(*) FROM pg_indexes WHERE indexname = 'ix_Answer_Code'"_s).toInt(), 1);
        QVERIFY(scalar(db, u"SELECT count(*) FROM themetb.\"Taff\""_s).toInt() > 50);
        QCOMPARE(scalar(db, u"SELECT count(*) FROM tavora71.\"IDE\" WHERE \"TT1\" = ''"_s).toInt(), 1);
        QCOMPARE(scalar(db, u"SELECT version FROM public.tavora71_schema"_s).toInt(), store::kServerSchemaVersion);
        // The start-up checks of the delivered tables read the server too.
        QVERIFY(startup::CheckDeliveredData(env.folder()).isEmpty());
        QVERIFY(testing_support::execSql(env.path(store::kNormsFile), {u"DELETE FROM \"EvabaliniDAMIR\" WHERE \"KHam\" = '3'"_s}));
        QVERIFY(startup::CheckDeliveredData(env.folder()).contains(u"EvabaliniDAMIR"_s));
    }
};

class TestConcurrentRegistration : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Two computers registering at once: the unique key decides, the loser takes the next code.
    void twoComputersGetDistinctCodes()
    {
        TestEnv env;
        QVERIFY2(env.isValid(), qPrintable(env.seedError()));
        QString errors[2];
        int duplicates[2] = {0, 0};
        QThread* computers[2];
        for (int i = 0; i < 2; ++i)
            computers[i] = QThread::create([&, i] { duplicates[i] = registerMany(env.folder(), 500, errors[i]); });
        for (QThread* t : computers)
            t->start();
        for (QThread* t : computers) {
            QVERIFY(t->wait(300000));
            delete t;
        }
        QVERIFY2(duplicates[0] >= 0 && duplicates[1] >= 0, qPrintable(errors[0] + errors[1]));
        const store::ServerAddress db = *store::ServerOf(env.folder());
        QCOMPARE(scalar(db, u"SELECT count(DISTINCT \"Code\") FROM tavora71.\"IDE\""_s).toInt(), 1000);
        QCOMPARE(scalar(db, u"SELECT count(*) FROM tavora71.\"IDE\""_s).toInt(), 1000);
        QCOMPARE(scalar(db, u"SELECT count(DISTINCT \"Code\") FROM tavora71.\"Answer\""_s).toInt(), 1000);
        qInfo("codes taken by the other computer first: %d", duplicates[0] + duplicates[1]);
    }
};

class TestKilledClient : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // A computer switched off in the middle of a registration leaves neither of its rows.
    void killedMidRegistrationLeavesNeitherRow()
    {
        if (const QString server = qEnvironmentVariable("TAVORA71_CHILD_SERVER"); !server.isEmpty()) {
            // The child: both rows written, the transaction open, then it waits to be killed.
            QTemporaryDir dir;
            store::ServerAddress a;
            QVERIFY(store::ParseServerAddress(server, a));
            store::UseServer(dir.path(), a);
            auto conn = std::make_shared<store::Connection>(store::DataFilePath(dir.path(), store::kExamineeFile));
            store::View ide(conn, u"IDE"_s), answer(conn, u"Answer"_s);
            store::Transaction t(conn);
            QVERIFY(t.begin());
            ide.addNew();
            answer.addNew();
            QVERIFY(ide.setValue(u"Code"_s, u"777"_s) && ide.update());
            QVERIFY(answer.setValue(u"Code"_s, u"777"_s) && answer.update());
            fputs("registering\n", stdout);
            fflush(stdout);
            QThread::sleep(120);
            return;
        }
        TestEnv env;
        QVERIFY2(env.isValid(), qPrintable(env.seedError()));
        const store::ServerAddress db = *store::ServerOf(env.folder());
        QProcess child;
        QProcessEnvironment e = QProcessEnvironment::systemEnvironment();
        e.insert(u"TAVORA71_CHILD_SERVER"_s, conninfo(db));
        child.setProcessEnvironment(e);
        child.start(QCoreApplication::applicationFilePath(), {u"-class"_s, u"TestKilledClient"_s});
        QVERIFY(child.waitForStarted());
        QByteArray said;
        while (!said.contains("registering") && child.waitForReadyRead(30000))
            said += child.readAllStandardOutput();
        QVERIFY2(said.contains("registering"), said.constData());
        child.kill(); // SIGKILL
        QVERIFY(child.waitForFinished());
        // The server rolled it back: the code is free and no row of it is left.
        QVERIFY(testing_support::addExaminee(env.folder(), u"777"_s));
        QCOMPARE(scalar(db, u"SELECT count(*) FROM tavora71.\"IDE\" WHERE \"Code\" = '777'"_s).toInt(), 1);
        QCOMPARE(scalar(db, u"SELECT count(*) FROM tavora71.\"Answer\""_s).toInt(), 1);
    }
};

class TestServerRestart : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // The server stopped and started while the main window is open: the registration says the
    // server cannot be reached, naming it, then works again without restarting the program.
    void registrationSaysSoThenWorksAgain()
    {
        TestEnv env;
        QVERIFY2(env.isValid(), qPrintable(env.seedError()));
        const QString server = store::ServerOf(env.folder())->shown();
        Frm1 w(env.ctx);
        QVERIFY(w.load());
        RegistrationPanel* p = w.registrationPanel();
        auto fill = [p](const QString& code) {
            p->Text11->setText(code);
            p->Text6->setText(u"مهسا"_s);
            p->Text4->setText(u"کريمي"_s);
            p->Combo2->setCurrentIndex(1);
            p->Text5->setText(u"34"_s);
            p->Combo1->setCurrentIndex(2);
            p->Combo3->setCurrentIndex(4);
            p->Combo4->setCurrentIndex(0);
        };
        w.Command1->click();
        fill(u"1"_s);
        p->Command8->click();
        for (const ScriptedDialogs::Shown& m : env.dialogs.messages())
            QVERIFY2(m.title != u"خطا"_s, qPrintable(m.text));

        QVERIFY(testing_support::haltTestServer());
        w.Command1->click();
        fill(u"2"_s);
        p->Command8->click();
        const bool resumed = testing_support::resumeTestServer();
        QVERIFY(resumed);
        QVERIFY(env.dialogs.lastMessage().has_value());
        QCOMPARE(env.dialogs.lastMessage()->title, u"خطا"_s);
        QVERIFY2(env.dialogs.lastMessage()->text.contains(server), qPrintable(env.dialogs.lastMessage()->text));

        env.dialogs.clear();
        p->Command8->click();
        for (const ScriptedDialogs::Shown& m : env.dialogs.messages())
            QVERIFY2(m.title != u"خطا"_s, qPrintable(m.text));
        store::View ide(env.path(store::kExamineeFile), u"IDE"_s);
        QVERIFY(ide.setFilter(u"Code"_s, u"2"_s));
        QCOMPARE(ide.count(), 1);
    }
};

class TestMoveToServer : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // A clinic's files with 1,000 examinees onto an empty server: every table compares equal,
    // the files are not touched; a second move is refused, the server left as it was.
    void aThousandExamineesCompareEqual()
    {
        TestEnv local(false);
        store::UseLocalFiles(local.folder());
        QVERIFY(store::PrepareProgramFolder(local.folder()).ok);
        QStringList examinees{u"BEGIN"_s}, scores{u"BEGIN"_s};
        for (int n = 1; n <= 1000; ++n) {
            examinees << u"INSERT INTO IDE (Code, FName, TT1) VALUES ('%1', 'نام %1', 'سطر يک\r\nسطر\tدو \\ %1')"_s.arg(n)
                      << u"INSERT INTO Answer (Code, \"1\", \"71\") VALUES ('%1', '1', '2')"_s.arg(n);
            scores << u"INSERT INTO NOMREKhamIR (Code, L) VALUES ('%1', '%2')"_s.arg(n).arg(n % 15);
        }
        examinees << u"UPDATE QUS SET QU = 'متن ويرايش شده' WHERE ID = '3'"_s << u"COMMIT"_s;
        scores << u"COMMIT"_s;
        QVERIFY(testing_support::execSql(local.path(store::kExamineeFile), examinees));
        QVERIFY(testing_support::execSql(local.path(store::kNormsFile), scores));
        auto digest = [&local] {
            QCryptographicHash h(QCryptographicHash::Sha256);
            for (const store::FileDef& f : store::dataFiles()) {
                QFile file(local.path(f.fileName));
                if (file.open(QIODevice::ReadOnly))
                    h.addData(file.readAll());
            }
            return h.result();
        };
        const QByteArray before = digest();

        QString why;
        const std::optional<store::ServerAddress> db = testing_support::freshTestDatabase(&why);
        QVERIFY2(db, qPrintable(why));
        const store::MoveReport report = store::CopyFilesToServer(local.folder(), *db);
        QVERIFY2(report.ok, qPrintable(store::DescribeMove(report, *db)));
        QCOMPARE(report.tables.size(), 15); // the norm tables' descriptions and kept rows among them
        for (const store::MovedTable& t : report.tables)
            QVERIFY2(t.equal() && t.localRows == t.serverRows, qPrintable(t.table));
        QCOMPARE(digest(), before);
        QCOMPARE(scalar(*db, u"SELECT count(*) FROM tavora71.\"IDE\""_s).toInt(), 1000);
        // The planner knows the filled tables at once.
        QVERIFY(scalar(*db, u"SELECT count(*) FROM pg_stats WHERE schemaname = 'tavora71' AND tablename = 'IDE'"_s).toInt() > 0);
        QCOMPARE(scalar(*db, u"SELECT \"QU\" FROM tavora71.\"QUS\" WHERE \"ID\" = '3'"_s).toString(), u"متن ويرايش شده"_s);
        QCOMPARE(scalar(*db, u"SELECT \"TT1\" FROM tavora71.\"IDE\" WHERE \"Code\" = '7'"_s).toString(),
                 u"سطر يک\r\nسطر\tدو \\ 7"_s);

        // New rows follow the moved ones.
        QTemporaryDir onServer;
        store::UseServer(onServer.path(), *db);
        QVERIFY(testing_support::addExaminee(onServer.path(), u"1001"_s));
        store::View ide(store::DataFilePath(onServer.path(), store::kExamineeFile), u"IDE"_s);
        QVERIFY(ide.refresh() && ide.moveLast());
        QCOMPARE(ide.value(u"Code"_s), u"1001"_s);

        const store::MoveReport again = store::CopyFilesToServer(local.folder(), *db);
        QVERIFY(!again.ok);
        QVERIFY2(again.error.contains(u"1001"_s), qPrintable(again.error));
        QCOMPARE(scalar(*db, u"SELECT count(*) FROM tavora71.\"IDE\""_s).toInt(), 1001);
        store::UseLocalFiles(onServer.path());
    }
};

class TestServerBackup : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // The backup screen on the server writes a file of the examinee file's format, sealed as a
    // local backup is: a computer with its own files restores it.
    void aSealedServerBackupRestoresIntoLocalFiles()
    {
        // The computer with its own files first: a test program has one server database.
        TestEnv local(false);
        store::UseLocalFiles(local.folder());
        QVERIFY(store::PrepareProgramFolder(local.folder()).ok);
        TestEnv env;
        QVERIFY2(env.isValid(), qPrintable(env.seedError()));
        QVERIFY(testing_support::addExaminee(env.folder(), u"41"_s, {}, {{u"LName"_s, u"نيک‌سرشت"_s}}));
        const QString target = env.path(u"clinic.mdbB"_s);
        const QString passphrase = u"گذرواژه درمانگاه 1403"_s;
        {
            Frmbackup form(env.ctx);
            form.Text1->setText(target);
            form.ChkSeal->setChecked(true);
            env.dialogs.secretAnswers << passphrase << passphrase;
            QVERIFY(runCopy(form, form.VisualButtonEx2));
        }
        QCOMPARE(env.dialogs.messageTexts(), QStringList{maintenance::texts::kBackupMade});
        QCOMPARE(QDir(env.folder()).entryList({u"*.part"_s}, QDir::Files), QStringList()); // the snapshot is gone

        Frmbackup form(local.ctx);
        form.Text2->setText(target);
        local.dialogs.questionAnswers.enqueue(true);
        local.dialogs.secretAnswers << passphrase;
        QVERIFY(runCopy(form, form.VisualButtonEx3));
        QCOMPARE(local.dialogs.messageTexts(), QStringList{maintenance::texts::kRestored});
        store::View ide(local.path(store::kExamineeFile), u"IDE"_s);
        QVERIFY(ide.setFilter(u"Code"_s, u"41"_s));
        QCOMPARE(ide.value(u"LName"_s), u"نيک‌سرشت"_s);
    }

    // The snapshot reports its rows batch by batch, ending at the whole of both tables, so the
    // screen's bar moves while it runs; what other computers store meanwhile is not in it.
    void aSnapshotReportsItsProgressPerBatch()
    {
        TestEnv env;
        QVERIFY2(env.isValid(), qPrintable(env.seedError()));
        const store::ServerAddress db = *store::ServerOf(env.folder());
        for (const QString& table : {u"IDE"_s, u"Answer"_s})
            (void)scalar(db, u"INSERT INTO tavora71.\"%1\" (\"Code\") SELECT g::text FROM generate_series(1, 600) g"_s.arg(table));
        QList<QPair<qint64, qint64>> calls;
        const QString target = env.path(u"snapshot.mdb"_s);
        QVERIFY(store::BackupServerExaminees(db, target, [&](qint64 done, qint64 total) {
            if (calls.size() == 1) { // another computer registers one and deletes one, committed at once
                (void)scalar(db, u"INSERT INTO tavora71.\"IDE\" (\"Code\") VALUES ('9999') RETURNING 1"_s);
                (void)scalar(db, u"INSERT INTO tavora71.\"Answer\" (\"Code\") VALUES ('9999') RETURNING 1"_s);
                (void)scalar(db, u"DELETE FROM tavora71.\"Answer\" WHERE \"Code\" = '600' RETURNING 1"_s);
            }
            calls.append({done, total});
        }));
        QCOMPARE(scalar(db, u"SELECT count(*) FROM tavora71.\"IDE\" WHERE \"Code\" = '9999'"_s).toInt(), 1);
        QVERIFY(!codes(target, u"IDE"_s).contains(u"9999"_s));
        QVERIFY(codes(target, u"Answer"_s).contains(u"600"_s));
        QVERIFY(calls.size() >= 7); // counted, 250, 500 and 600 rows of each examinee table, the item texts
        const qint64 total = calls.first().second;
        QVERIFY(total > 1200);
        QCOMPARE(calls.first().first, 0);
        QCOMPARE(calls.at(1).first, 250);
        for (qsizetype i = 1; i < calls.size(); ++i)
            QVERIFY(calls.at(i).first > calls.at(i - 1).first && calls.at(i).second == total);
        QCOMPARE(calls.last().first, total);
        QCOMPARE(codes(target, u"Answer"_s).size(), 600);

        // Restoring it reports the rows kept, then the rows stored, in the same way (and again
        // between its steps).
        calls.clear();
        const QString keep = env.path(u"kept.mdbB"_s);
        QVERIFY(store::RestoreServerExaminees(db, target, keep, [&](qint64 done, qint64 all) { calls.append({done, all}); }));
        QVERIFY(calls.size() >= 12);
        const qint64 all = calls.first().second;
        QCOMPARE(all, 2 * total + 1); // kept: the snapshot's rows and the one registered meanwhile
        for (qsizetype i = 1; i < calls.size(); ++i)
            QVERIFY(calls.at(i).first >= calls.at(i - 1).first && calls.at(i).second == all);
        QCOMPARE(calls.last().first, all);
        QVERIFY(codes(keep).contains(u"9999"_s));
        QVERIFY(!codes(env.path(store::kExamineeFile)).contains(u"9999"_s));
    }

    // A backup restored into the server replaces its examinee tables; the rows replaced are kept
    // in "Back" first, and registering goes on after the restored rows.
    void aRestoreReplacesTheServersRowsAndKeepsThem()
    {
        TestEnv local(false);
        store::UseLocalFiles(local.folder());
        QVERIFY(store::PrepareProgramFolder(local.folder()).ok);
        TestEnv env;
        QVERIFY2(env.isValid(), qPrintable(env.seedError()));
        for (const QString& code : {u"1"_s, u"2"_s})
            QVERIFY(testing_support::addExaminee(env.folder(), code));
        for (const QString& code : {u"9"_s, u"7"_s})
            QVERIFY(testing_support::addExaminee(local.folder(), code));

        Frmbackup form(env.ctx);
        form.Text2->setText(local.path(store::kExamineeFile));
        env.dialogs.questionAnswers.enqueue(true);
        QVERIFY(runCopy(form, form.VisualButtonEx3));
        QCOMPARE(env.dialogs.messageTexts(), QStringList{maintenance::texts::kRestored});
        QCOMPARE(env.desktop.endCalls, QList<int>{0});
        const QString server = env.path(store::kExamineeFile);
        QCOMPARE(codes(server), (QStringList{u"9"_s, u"7"_s}));
        QCOMPARE(codes(server, u"Answer"_s), (QStringList{u"9"_s, u"7"_s}));
        const QStringList kept = QDir(env.path(maintenance::kBackupFolder)).entryList({u"*.mdbB"_s}, QDir::Files);
        QCOMPARE(kept.size(), 1);
        QCOMPARE(codes(QDir(env.path(maintenance::kBackupFolder)).filePath(kept.first())), (QStringList{u"1"_s, u"2"_s}));
        QVERIFY(testing_support::addExaminee(env.folder(), u"10"_s));
        QCOMPARE(codes(server).last(), u"10"_s);
    }

    // When the replaced rows cannot be kept, nothing is replaced and the failure is said.
    void aRestoreThatCannotKeepTheRowsChangesNothing()
    {
        TestEnv local(false);
        store::UseLocalFiles(local.folder());
        QVERIFY(store::PrepareProgramFolder(local.folder()).ok);
        TestEnv env;
        QVERIFY2(env.isValid(), qPrintable(env.seedError()));
        QVERIFY(testing_support::addExaminee(env.folder(), u"1"_s));
        QFile blocker(env.path(maintenance::kBackupFolder)); // a file where the folder should be
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();

        Frmbackup form(env.ctx);
        form.Text2->setText(local.path(store::kExamineeFile));
        env.dialogs.questionAnswers.enqueue(true);
        QVERIFY(runCopy(form, form.VisualButtonEx3));
        QCOMPARE(env.dialogs.lastMessage()->title, u"خطا"_s);
        QVERIFY(!env.dialogs.messageTexts().contains(maintenance::texts::kRestored));
        QVERIFY(env.desktop.endCalls.isEmpty());
        QCOMPARE(codes(env.path(store::kExamineeFile)), QStringList{u"1"_s});
    }

    // A deleted examinee's rows are vacuumed away on the server once the deletion is committed.
    void aDeletionIsVacuumedAfterItsCommit()
    {
        TestEnv env;
        QVERIFY2(env.isValid(), qPrintable(env.seedError()));
        QVERIFY(testing_support::addExaminee(env.folder(), u"5"_s));
        const store::ServerAddress db = *store::ServerOf(env.folder());
        const QString vacuumed = u"SELECT count(*) FROM pg_stat_user_tables WHERE schemaname = 'tavora71' "
                                 "AND relname IN ('IDE', 'Answer') AND last_vacuum IS NOT NULL"_s;
        QCOMPARE(scalar(db, vacuumed).toInt(), 0);
        auto conn = std::make_shared<store::Connection>(env.path(store::kExamineeFile));
        store::View ide(conn, u"IDE"_s), answer(conn, u"Answer"_s);
        store::Transaction t(conn);
        QVERIFY(t.begin());
        QVERIFY(ide.setFilter(u"Code"_s, u"5"_s) && ide.deleteCurrent());
        QVERIFY(answer.setFilter(u"Code"_s, u"5"_s) && answer.deleteCurrent());
        QCOMPARE(scalar(db, vacuumed).toInt(), 0); // not before the commit
        QVERIFY(t.commit());
        QTRY_COMPARE_WITH_TIMEOUT(scalar(db, vacuumed).toInt(), 2, 20000); // beside the program's work
    }
};

TAVORA_TEST(TestServerSetting)
TAVORA_TEST(TestServerSchema)
TAVORA_TEST(TestConcurrentRegistration)
TAVORA_TEST(TestKilledClient)
TAVORA_TEST(TestServerRestart)
TAVORA_TEST(TestMoveToServer)
TAVORA_TEST(TestServerBackup)
#include "tst_server.moc"
