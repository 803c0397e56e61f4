#include "support/test_registry.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

// The launcher installed as bin/tavora71, run in an installed layout whose program is a stand-in
// that reports the folder it was given and where it was started from.
class TestLauncher : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void folderGiven_data();
    void folderGiven();
    void startedThroughLink();
    void startsEvenWhenFolderCannotBeMade();
};

namespace {

struct Installed {
    QTemporaryDir root;
    QString home = root.filePath(QStringLiteral("home"));
    QString launcher = root.filePath(QStringLiteral("usr/bin/tavora71"));
    QString report = root.filePath(QStringLiteral("report"));

    Installed()
    {
        QDir().mkpath(home);
        QDir().mkpath(root.filePath(QStringLiteral("usr/bin")));
        QDir().mkpath(root.filePath(QStringLiteral("usr/lib/tavora71")));
        QFile::copy(QStringLiteral(TAVORA_LAUNCHER), launcher);
        const QString program = root.filePath(QStringLiteral("usr/lib/tavora71/tavora71"));
        QFile f(program);
        if (f.open(QIODevice::WriteOnly))
            f.write("#!/bin/sh\nprintf '%s\\n%s\\n%s\\n' \"$TAVORA71_HOME\" \"$*\" \"$(umask)\" > \"$REPORT\"\n");
        f.close();
        QFile::setPermissions(program, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QFile::setPermissions(launcher, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    // Runs `command` with HOME set to the temporary home; the variable is left out when unset.
    int run(const QString& command, const std::optional<QString>& variable, const QStringList& arguments = {})
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("HOME"), home);
        env.insert(QStringLiteral("REPORT"), report);
        env.remove(QStringLiteral("TAVORA71_HOME"));
        if (variable)
            env.insert(QStringLiteral("TAVORA71_HOME"), *variable);
        QProcess p;
        p.setProcessEnvironment(env);
        p.start(command, arguments);
        if (!p.waitForFinished(10000))
            return -1;
        return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    }

    QStringList reported() const
    {
        QFile f(report);
        if (!f.open(QIODevice::ReadOnly))
            return {};
        return QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'));
    }
};

} // namespace

void TestLauncher::folderGiven_data()
{
    // {home} and {root} stand for the temporary home and the folder around it.
    QTest::addColumn<std::optional<QString>>("variable");
    QTest::addColumn<QString>("expected");
    QTest::newRow("unset: ~/Tavora71") << std::optional<QString>() << "{home}/Tavora71";
    QTest::newRow("empty: as unset") << std::optional<QString>(QString()) << "{home}/Tavora71";
    QTest::newRow("set, missing: created")
        << std::optional<QString>(QStringLiteral("{root}/clinic data/سال ۱۴۰۵")) << "{root}/clinic data/سال ۱۴۰۵";
}

void TestLauncher::folderGiven()
{
    QFETCH(std::optional<QString>, variable);
    QFETCH(QString, expected);
    Installed i;
    const auto place = [&](QString s) {
        return s.replace(QStringLiteral("{home}"), i.home).replace(QStringLiteral("{root}"), i.root.path());
    };
    if (variable)
        variable = place(*variable);
    expected = place(expected);

    QCOMPARE(i.run(i.launcher, variable, {QStringLiteral("a b")}), 0);
    QCOMPARE(i.reported().value(0), expected);
    QCOMPARE(i.reported().value(1), QStringLiteral("a b")); // arguments pass through
    QVERIFY(QFileInfo(expected).isDir());
    // The clinic's records are the user's alone: the folder made, and all the program makes.
    const QFile::Permissions others = QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup | QFile::ReadOther
                                      | QFile::WriteOther | QFile::ExeOther;
    QCOMPARE(QFileInfo(expected).permissions() & others, QFile::Permissions());
    QCOMPARE(i.reported().value(2), QStringLiteral("0077"));
}

void TestLauncher::startedThroughLink()
{
    // A link elsewhere (a user's ~/bin, say) still finds the program beside the real launcher.
    Installed i;
    const QString link = i.root.filePath(QStringLiteral("link-to-launcher"));
    QVERIFY(QFile::link(i.launcher, link));
    QCOMPARE(i.run(link, std::nullopt), 0);
    QCOMPARE(i.reported().value(0), i.home + QStringLiteral("/Tavora71"));
}

void TestLauncher::startsEvenWhenFolderCannotBeMade()
{
    // The program explains the refusal in its own box; the launcher must not end silently first.
    Installed i;
    const QString file = i.home + QStringLiteral("/Tavora71");
    QFile f(file);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.close();
    QCOMPARE(i.run(i.launcher, std::nullopt), 0);
    QCOMPARE(i.reported().value(0), file);
    QVERIFY(QFileInfo(file).isFile());
}

TAVORA_TEST(TestLauncher)
#include "tst_launcher.moc"
