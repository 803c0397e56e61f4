// Serves the phone page for the browser test: a temporary program folder, the program's own
// PhoneDesk on 127.0.0.1, and a few commands on standard input, each answered by one JSON line:
//   register <code>          an examinee with his empty Answer row
//   open <code>              a session: {"id", "link"}
//   reopen <id> | close <id> {"link"} | {}
//   age <seconds>            the clock moves on
//   score <code>             raw scores of the stored responses: {"raw": [11]}
//   key <code> <pattern>     the same answers keyed on the on-screen test (y yes, n no, - none)
//   row <code>               the 71 stored responses, read through the store: {"row": [...]}
//   item <n>                 the item's stored text: {"text"}
//   quit
// Starts with {"folder": <program folder>}. The program folder is on the engine the test runs on.
#include "support/test_env.h"
#include "capture/test_screen.h"
#include "phone/phone_desk.h"
#include "phone/stored_answers.h"
#include "scoring/scoring_key.h"
#include "store/schema.h"
#include "store/view.h"

#include <QApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSocketNotifier>
#include <QTextStream>
#include <cstdio>
#include <unistd.h>

namespace {

void reply(const QJsonObject& o)
{
    std::printf("%s\n", QJsonDocument(o).toJson(QJsonDocument::Compact).constData());
    std::fflush(stdout);
}

QJsonObject failure(const QString& why)
{
    return {{QStringLiteral("error"), why}};
}

bool keyOnScreen(AppContext& ctx, const QString& code, const QString& pattern, QString& error)
{
    FrmTest test(ctx);
    bool found = false;
    if (const store::Result r = test.selectExaminee(code, found); !r || !found) {
        error = r ? QStringLiteral("no examinee ") + code : r.error;
        return false;
    }
    test.show();
    test.start();
    for (int item = 1; item <= 71; ++item) {
        if (test.currentItem() != item) {
            error = QStringLiteral("the screen shows item %1, not %2").arg(test.currentItem()).arg(item);
            return false;
        }
        const QChar c = item <= pattern.size() ? pattern.at(item - 1) : QChar(u'-');
        if (c == u'y')
            test.Option1->click();
        else if (c == u'n')
            test.Option2->click();
        test.CmdNext->click();
    }
    test.Command5->click();
    return true;
}

} // namespace

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    app.setQuitOnLastWindowClosed(false); // the keyed test screen is a window that closes
    TestEnv env;
    if (!env.isValid()) {
        reply(failure(env.seedError()));
        return 1;
    }
    env.clock.current = QDateTime::currentDateTime();
    phone::PhoneDesk desk(env.folder(), env.clock);
    desk.setPort(0);
    QString ignored;
    (void)desk.setAddress(QHostAddress(QHostAddress::LocalHost), ignored);
    phone::StoredAnswers rows(env.folder());

    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QByteArray pending;
    QObject::connect(&input, &QSocketNotifier::activated, &app, [&] {
        char buffer[4096];
        const ssize_t n = ::read(STDIN_FILENO, buffer, sizeof buffer);
        if (n <= 0) {
            app.quit();
            return;
        }
        pending.append(buffer, n);
        qsizetype end;
        while ((end = pending.indexOf('\n')) >= 0) {
            const QStringList words = QString::fromUtf8(pending.left(end)).split(u' ', Qt::SkipEmptyParts);
            pending.remove(0, end + 1);
            const QString command = words.value(0);
            const QString arg = words.value(1);
            QString error;
            if (command == u"quit") {
                app.quit();
                return;
            } else if (command == u"register") {
                reply(testing_support::addExaminee(env.folder(), arg, {}, {{QStringLiteral("FName"), QStringLiteral("سارا")}})
                          ? QJsonObject{} : failure(QStringLiteral("not registered")));
            } else if (command == u"open") {
                int id = 0;
                reply(desk.open(arg, id, error) ? QJsonObject{{QStringLiteral("id"), id}, {QStringLiteral("link"), desk.link(id).toString()}}
                                                : failure(error));
            } else if (command == u"reopen") {
                reply(desk.reopen(arg.toInt(), error) ? QJsonObject{{QStringLiteral("link"), desk.link(arg.toInt()).toString()}}
                                                      : failure(error));
            } else if (command == u"close") {
                desk.close(arg.toInt());
                reply({});
            } else if (command == u"age") {
                env.clock.current = env.clock.current.addSecs(arg.toLongLong());
                desk.checkSessions();
                reply({});
            } else if (command == u"score") {
                QStringList responses;
                if (const store::Result r = rows.readResponses(arg, responses); !r) {
                    reply(failure(r.error));
                } else {
                    QJsonArray raw;
                    for (int score : scoring::RawScores(responses))
                        raw.append(score);
                    reply({{QStringLiteral("raw"), raw}});
                }
            } else if (command == u"row") {
                QStringList responses;
                if (const store::Result r = rows.readResponses(arg, responses); !r)
                    reply(failure(r.error));
                else
                    reply({{QStringLiteral("row"), QJsonArray::fromStringList(responses)}});
            } else if (command == u"item") {
                store::View items(env.path(store::kExamineeFile), QStringLiteral("QUS"));
                store::Result r = items.setFilter(QStringLiteral("ID"), arg);
                if (r && !items.hasCurrent())
                    r = store::Result::failure(QStringLiteral("no item ") + arg);
                reply(r ? QJsonObject{{QStringLiteral("text"), items.value(QStringLiteral("QU"))}} : failure(r.error));
            } else if (command == u"key") {
                reply(keyOnScreen(env.ctx, arg, words.value(2), error) ? QJsonObject{} : failure(error));
            } else {
                reply(failure(QStringLiteral("unknown command")));
            }
        }
    });
    reply({{QStringLiteral("folder"), env.folder()}});
    return app.exec();
}
