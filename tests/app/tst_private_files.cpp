// The clinic's records are the user's alone: every file a run writes, and what an earlier
// version left readable by others.
#include "app/main_window.h"
#include "app/startup.h"
#include "maintenance/backup_screen.h"
#include "group/group_export.h"
#include "profile/profile_export.h"
#include "profile/profile_screen.h"
#include "store/schema.h"
#include "support/test_env.h"
#include "support/test_registry.h"

#include <QDirIterator>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTest>
#include <sys/stat.h>

using namespace Qt::Literals::StringLiterals;

namespace {

const QFile::Permissions kOthers = QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup | QFile::ReadOther
                                   | QFile::WriteOther | QFile::ExeOther;

// Everything under the folders (and the folders) that group or others may use.
QStringList openToOthers(const QStringList& folders)
{
    QStringList open;
    for (const QString& folder : folders) {
        if (QFileInfo(folder).permissions() & kOthers)
            open << folder;
        QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QFileInfo entry(it.next());
            if (entry.permissions() & kOthers)
                open << entry.filePath();
        }
    }
    return open;
}

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

} // namespace

class TestPrivateFiles : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void everyFileARunWritesIsTheUsersOnly()
    {
        // A permissive umask, as a library or a start outside the launcher may leave: the modes
        // must not depend on it.
        const mode_t umaskBefore = ::umask(022);
        const auto restoreUmask = qScopeGuard([umaskBefore] { ::umask(umaskBefore); });

        TestEnv env(false); // the start makes the files
        QTemporaryDir documents;
        // A document an earlier version left readable by all: written again, it must not keep that.
        const QString oldDocument = documents.filePath(u"tavora71IR.docx"_s);
        QVERIFY(writeFile(oldDocument, "old"));
        QVERIFY(QFile::setPermissions(oldDocument, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther));

        SingleInstanceGuard guard(env.folder());
        std::unique_ptr<Frm1> main = StartProgram(env.ctx, guard);
        QVERIFY(main);
        const QString code = u"1024"_s;
        QVERIFY(testing_support::addExaminee(env.folder(), code, QStringList(store::kItemCount, u"2"_s),
                                             {{u"LName"_s, u"كريمي"_s}, {u"Jens"_s, u"زن"_s}, {u"Tahsil"_s, u"دانشگاهي"_s}}));

        // The profile screen's Word document, its picture, and the report saved as PDF.
        examinees::ExamineeRecord examinee;
        examinee.code = code;
        examinee.familyName = u"كريمي"_s;
        examinee.sex = u"زن"_s;
        examinee.education = u"دانشگاهي"_s;
        examinee.responses = QStringList(store::kItemCount, u"2"_s);
        {
            FrmNemudar screen(env.ctx, examinee);
            auto* exporter = new ProfileExport(env.ctx, screen);
            exporter->setDocumentsFolder(documents.path());
            QSignalSpy ready(&screen, &FrmNemudar::profileReady);
            screen.show();
            screen.activateWindow();
            QVERIFY(ready.wait(3000));
            QSignalSpy finished(exporter, &ProfileExport::finished);
            screen.Cmdword->click();
            QVERIFY(finished.wait(3000));
            screen.Command3->click();
            QVERIFY(finished.wait(3000));
            QVERIFY(exporter->preview());
            env.dialogs.fileAnswers.enqueue(documents.filePath(code + u".pdf"_s));
            exporter->preview()->saveAsPdf();
            delete exporter->preview();
        }
        // The group workbook, and a backup.
        env.dialogs.fileAnswers.enqueue(documents.filePath(u"group.xlsx"_s));
        GroupExport group(env.ctx, nullptr);
        group.setDocumentsFolder(documents.path());
        QCOMPARE(group.run({code}, u"كد"_s), GroupExport::Outcome::Written);
        {
            Frmbackup backup(env.ctx);
            env.dialogs.fileAnswers.enqueue(env.path(u"Back/run.mdbB"_s));
            backup.b1->click();
            QSignalSpy copied(&backup, &Frmbackup::copyFinished);
            backup.VisualButtonEx2->click();
            QVERIFY(copied.wait(10000));
            QCOMPARE(copied.first().first().toBool(), true);
        }
        for (const QString& made : {u"Tavora71.mdb"_s, u"1024.bmp"_s, u"Back/run.mdbB"_s, u"skin/1.skn"_s})
            QVERIFY2(QFileInfo::exists(env.path(made)), qPrintable(made));
        for (const QString& made : {u"tavora71IR.docx"_s, u"1024.pdf"_s, u"group.xlsx"_s})
            QVERIFY2(QFileInfo::exists(documents.filePath(made)), qPrintable(made));
        QVERIFY(QFileInfo(oldDocument).size() > 3);

        const QStringList open = openToOthers({env.folder(), documents.path()});
        QVERIFY2(open.isEmpty(), qPrintable(open.join(u'\n')));
    }

    void startTightensWhatOthersCouldReadAndSaysSoOnce()
    {
        TestEnv env;
        QVERIFY(env.isValid());
        QVERIFY(QDir(env.folder()).mkdir(u"Back"_s));
        QVERIFY(writeFile(env.path(u"Back/old.mdbB"_s), "backup"));
        QVERIFY(writeFile(env.path(u"Back/cut.mdbB.part"_s), "killed copy")); // a copy cut short
        const QFile::Permissions open = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther;
        const QStringList shared = {env.path(store::kExamineeFile), env.path(u"Back/old.mdbB"_s)};
        for (const QString& path : shared)
            QVERIFY(QFile::setPermissions(path, open));
        QVERIFY(QFile::setPermissions(env.folder(), open | QFile::ExeOwner | QFile::ExeGroup | QFile::ExeOther));

        for (int start = 0; start < 2; ++start) {
            SingleInstanceGuard guard(env.folder());
            QVERIFY(StartProgram(env.ctx, guard));
        }
        QCOMPARE(env.dialogs.messages().size(), 1); // told once
        const ScriptedDialogs::Shown told = env.dialogs.messages().first();
        QCOMPARE(told.title, titles::kAttention);
        for (const QString& path : shared + QStringList{env.folder()}) {
            QVERIFY(told.text.contains(path));
            QCOMPARE(QFileInfo(path).permissions() & kOthers, QFile::Permissions());
        }
        QVERIFY(!QFileInfo::exists(env.path(u"Back/cut.mdbB.part"_s)));
    }
};

TAVORA_TEST(TestPrivateFiles)
#include "tst_private_files.moc"
