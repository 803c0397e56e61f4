#include "app/store_setup.h"
#include "kit/app_context.h"
#include "store/server.h"
#include "store/server_move.h"

#include <QTextStream>
#include <cstdio>
#include <termios.h>
#include <unistd.h>

namespace {

const QString kBadSetting = QStringLiteral("تنظيم اتصال به سرور پايگاه داده در %1 درست نيست و برنامه بسته مي شود:\n%2");
const QString kUnreachable = QStringLiteral("سرور پايگاه داده %1 در دسترس نيست.\n%2\n\nدوباره تلاش شود؟");
const QString kPasswordTitle = QStringLiteral("گذرواژه سرور");
const QString kPasswordPrompt = QStringLiteral("گذرواژه کاربر %1 در سرور پايگاه داده %2:");
const QString kNoServerSet = QStringLiteral("سروري تنظيم نشده است: نشاني آن را در متغير %1 يا فايل %2 پوشه برنامه بنويسيد.");

// The server of the setting, reached: a password asked through ask() while libpq has none.
// std::nullopt when the user gave up; why says what went wrong last.
template <typename Ask, typename Retry>
std::optional<store::ServerAddress> reach(store::ServerAddress address, Ask ask, Retry retry)
{
    for (;;) {
        QString why;
        const store::Reach reached = store::TryServer(address, why);
        if (reached == store::Reach::Reached)
            return address;
        if (reached == store::Reach::NeedsPassword) {
            const std::optional<QString> password = ask(address);
            if (!password)
                return std::nullopt;
            address.password = *password;
            continue;
        }
        if (!retry(address, why))
            return std::nullopt;
        if (!address.password.isEmpty()) { // perhaps a mistyped password: asked again
            const std::optional<QString> password = ask(address);
            if (!password)
                return std::nullopt;
            address.password = *password;
        }
    }
}

QString userOf(const store::ServerAddress& address)
{
    const QString user = address.param(QStringLiteral("user"));
    return user.isEmpty() ? qEnvironmentVariable("USER") : user;
}

} // namespace

bool ConnectStore(AppContext& ctx, const QString& environmentValue)
{
    const std::optional<store::ServerSetting> setting = store::FindServerSetting(ctx.programFolder(), environmentValue);
    if (!setting) {
        store::UseLocalFiles(ctx.programFolder());
        return true;
    }
    store::ServerAddress address;
    if (const store::Result r = store::ParseServerAddress(setting->text, address); !r) {
        ctx.dialogs().message(nullptr, titles::kError, kBadSetting.arg(setting->source, r.error), Dialogs::Icon::Critical);
        return false;
    }
    const std::optional<store::ServerAddress> reached = reach(
        address,
        [&ctx](const store::ServerAddress& a) {
            return ctx.dialogs().secretText(nullptr, kPasswordTitle, kPasswordPrompt.arg(userOf(a), a.shown()));
        },
        [&ctx](const store::ServerAddress& a, const QString& why) {
            return ctx.dialogs().question(nullptr, titles::kError, kUnreachable.arg(a.shown(), why), Dialogs::Icon::Critical);
        });
    if (!reached)
        return false;
    store::UseServer(ctx.programFolder(), *reached);
    return true;
}

int CopyToServerCommand(const QString& programFolder, const QString& environmentValue)
{
    QTextStream out(stdout);
    QTextStream err(stderr);
    const std::optional<store::ServerSetting> setting = store::FindServerSetting(programFolder, environmentValue);
    if (!setting) {
        err << kNoServerSet.arg(store::kServerVariable, store::kServerSettingFile) << Qt::endl;
        return 2;
    }
    store::ServerAddress address;
    if (const store::Result r = store::ParseServerAddress(setting->text, address); !r) {
        err << kBadSetting.arg(setting->source, r.error) << Qt::endl;
        return 2;
    }
    const std::optional<store::ServerAddress> reached = reach(
        address,
        [&err](const store::ServerAddress& a) -> std::optional<QString> {
            err << kPasswordPrompt.arg(userOf(a), a.shown()) << ' ' << Qt::flush;
            termios saved{};
            const bool terminal = isatty(STDIN_FILENO) && tcgetattr(STDIN_FILENO, &saved) == 0;
            if (terminal) {
                termios hidden = saved;
                hidden.c_lflag &= ~tcflag_t(ECHO);
                tcsetattr(STDIN_FILENO, TCSANOW, &hidden);
            }
            QTextStream in(stdin);
            const QString line = in.readLine();
            if (terminal)
                tcsetattr(STDIN_FILENO, TCSANOW, &saved);
            err << Qt::endl;
            if (line.isNull())
                return std::nullopt;
            return line;
        },
        [&err](const store::ServerAddress& a, const QString& why) {
            err << kUnreachable.arg(a.shown(), why).section(QStringLiteral("\n\n"), 0, 0) << Qt::endl;
            return false;
        });
    if (!reached)
        return 1;
    const store::MoveReport report = store::CopyFilesToServer(programFolder, *reached);
    (report.ok ? out : err) << store::DescribeMove(report, *reached) << Qt::endl;
    return report.ok ? 0 : 1;
}
