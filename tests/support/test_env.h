#pragma once
// A program folder for one test: a temporary folder seeded from the delivered data, with
// scripted dialogs, a fixed clock and a recording desktop in its AppContext.
#include "kit/app_context.h"
#include "store/server.h"
#include "support/scripted_dialogs.h"

#include <QTemporaryDir>
#include <optional>
#include <memory>

class FixedClock final : public Clock {
public:
    QDateTime current{QDate(2022, 8, 21), QTime(10, 30, 15)};
    QDateTime now() const override { return current; }
};

class RecordingDesktop final : public Desktop {
public:
    QList<QUrl> openedUrls;
    QStringList openedFiles;
    QList<QPair<QString, QStringList>> startedPrograms;
    QList<int> endCalls;

    bool openUrl(const QUrl& url) override { openedUrls << url; return true; }
    bool openFile(const QString& path) override { openedFiles << path; return true; }
    bool startProgram(const QString& program, const QStringList& arguments) override
    {
        startedPrograms << qMakePair(program, arguments);
        return true;
    }
    void endProgram(int exitCode) override { endCalls << exitCode; }
};

// A program folder on the engine the test runs on: its four SQLite files, or, when the test runs
// against the test server (TAVORA71_TEST_ENGINE=server), an empty database there.
class TestEnv {
public:
    // seeded: create the four data files (or the server's tables) and the skin folder from the
    // delivered data.
    explicit TestEnv(bool seeded = true);
    ~TestEnv();
    TestEnv(const TestEnv&) = delete;
    TestEnv& operator=(const TestEnv&) = delete;

    QString folder() const { return dir_.path(); }
    QString path(const QString& relative) const { return ctx.path(relative); }
    bool isValid() const { return dir_.isValid() && seedError_.isEmpty(); }
    const QString& seedError() const { return seedError_; }

private:
    QTemporaryDir dir_; // first: the context below names its path

public:
    ScriptedDialogs dialogs;
    FixedClock clock;
    RecordingDesktop desktop;
    AppContext ctx;

private:
    QString seedError_;
};

// Small helpers for tests that write rows directly.
namespace testing_support {
// Adds a registered examinee (IDE row and Answer row) with the given responses ("" = empty).
bool addExaminee(const QString& folder, const QString& code, const QStringList& responses = {},
                 const QHash<QString, QString>& identity = {});
// Runs SQL statements on a data file from outside the program (to plant rows or failures); on the
// server, in the file's schema.
bool execSql(const QString& file, const QStringList& statements);
}

namespace testing_support {
// The test runs against the test server.
bool onServer();
// The test server as its administrator reaches it (database "postgres"); empty without a server.
std::optional<store::ServerAddress> testServerAdmin();
// A new empty database on the test server for this test program (made once, emptied for each use).
std::optional<store::ServerAddress> freshTestDatabase(QString* error = nullptr);
// Stops the test server (keeping its data) and starts it again.
bool haltTestServer();
bool resumeTestServer();
}

// For a test of what only the SQLite files do (their creation, links, journals).
#define TAVORA_SKIP_ON_SERVER()                                                      \
    do {                                                                              \
        if (testing_support::onServer())                                              \
            QSKIP("a property of the SQLite files; the server has no files to test"); \
    } while (false)

namespace testing_support {
// Whether the Persian faces the screens and the report are drawn with are installed.
bool persianFontsInstalled();
}

// For tests that look at drawn Persian text: without the fonts they cannot tell anything.
#define TAVORA_SKIP_WITHOUT_PERSIAN_FONTS()                                                               \
    do {                                                                                                  \
        if (!testing_support::persianFontsInstalled())                                                    \
            QSKIP("the Persian fonts are not installed (apt-get install fonts-noto-core fonts-farsiweb)"); \
    } while (false)
