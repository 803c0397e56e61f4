#pragma once
// A program folder for one test: a temporary folder seeded from the delivered data, with
// scripted dialogs, a fixed clock and a recording desktop in its AppContext.
#include "kit/app_context.h"
#include "support/scripted_dialogs.h"

#include <QTemporaryDir>
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

class TestEnv {
public:
    // seeded: create the four data files and the skin folder from the delivered data.
    explicit TestEnv(bool seeded = true);

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
// Runs SQL statements on a data file from outside the program (to plant rows or failures).
bool execSql(const QString& file, const QStringList& statements);
}

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
