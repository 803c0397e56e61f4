#include "support/test_registry.h"
#include "kit/program_folder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

class TestProgramFolder : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void chosen_data();
    void chosen();
    void fileRefused();
    void uncreatableRefused();
    void unwritableRefused();
};

namespace {

// Stands in for the executable's folder and for everything the variable may name.
struct Place {
    QTemporaryDir root;
    QString exe = root.filePath(QStringLiteral("exe"));
    Place() { QDir().mkpath(exe); }
};

} // namespace

void TestProgramFolder::chosen_data()
{
    // value: the variable's value, with {root} standing for a temporary folder;
    // expected: the folder chosen, below the same root.
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("expected");
    QTest::newRow("unset: the executable's folder") << "" << "{root}/exe";
    QTest::newRow("an existing folder") << "{root}/exe/../data" << "{root}/data";
    QTest::newRow("a missing folder is created, parents too") << "{root}/clinic/2026/data" << "{root}/clinic/2026/data";
    QTest::newRow("relative: from the current folder") << "here" << "{root}/here";
    QTest::newRow("tilde: from the home folder") << "~/Tavora71" << "{root}/home/Tavora71";
    QTest::newRow("a name with blanks and Persian letters") << "{root}/داده ها" << "{root}/داده ها";
}

void TestProgramFolder::chosen()
{
    QFETCH(QString, value);
    QFETCH(QString, expected);
    Place p;
    const QString root = QDir(p.root.path()).canonicalPath();
    QDir().mkpath(root + QStringLiteral("/data"));
    QDir().mkpath(root + QStringLiteral("/home"));
    const QByteArray oldHome = qgetenv("HOME");
    const QString oldCurrent = QDir::currentPath();
    qputenv("HOME", (root + QStringLiteral("/home")).toUtf8());
    QDir::setCurrent(root);

    const ProgramFolderChoice c = ChooseProgramFolder(value.replace(QStringLiteral("{root}"), root), root + QStringLiteral("/exe"));

    qputenv("HOME", oldHome);
    QDir::setCurrent(oldCurrent);
    QVERIFY2(c.accepted(), qPrintable(c.refusal));
    QCOMPARE(c.folder, expected.replace(QStringLiteral("{root}"), root));
    QVERIFY(QFileInfo(c.folder).isDir());
}

void TestProgramFolder::fileRefused()
{
    Place p;
    const QString file = p.root.filePath(QStringLiteral("Tavora71"));
    QFile f(file);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("clinic notes");
    f.close();

    const ProgramFolderChoice c = ChooseProgramFolder(file, p.exe);
    QVERIFY(!c.accepted());
    QVERIFY2(c.refusal.contains(file), qPrintable(c.refusal));
    QVERIFY(c.refusal.contains(QStringLiteral("فايل است")));
    // Left exactly as it was.
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), QByteArray("clinic notes"));
}

void TestProgramFolder::uncreatableRefused()
{
    Place p;
    const QString file = p.root.filePath(QStringLiteral("file"));
    QFile f(file);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.close();
    const QString below = file + QStringLiteral("/Tavora71");

    const ProgramFolderChoice c = ChooseProgramFolder(below, p.exe);
    QVERIFY(!c.accepted());
    QVERIFY2(c.refusal.contains(below), qPrintable(c.refusal));
    QVERIFY(c.refusal.contains(QStringLiteral("ساخته نشد")));
}

void TestProgramFolder::unwritableRefused()
{
    if (geteuid() == 0)
        QSKIP("root may write in any folder");
    Place p;
    QVERIFY(QFile::setPermissions(p.exe, QFile::ReadOwner | QFile::ExeOwner));
    // Unset: the executable's folder, as when the program is started without its launcher.
    const ProgramFolderChoice c = ChooseProgramFolder(QString(), p.exe);
    QFile::setPermissions(p.exe, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QVERIFY(!c.accepted());
    QVERIFY2(c.refusal.contains(p.exe), qPrintable(c.refusal));
}

TAVORA_TEST(TestProgramFolder)
#include "tst_program_folder.moc"
