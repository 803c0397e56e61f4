// Renders the program's screens offscreen into PNG files, for the README and for review.
// Usage: tavora71-screenshots <output-folder> [theme-number]
#include "app/frm1.h"
#include "app/persian_display.h"
#include "app/startup.h"
#include "settings/apply_theme.h"
#include "support/scripted_dialogs.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>

namespace {

class StillClock final : public Clock {
public:
    QDateTime now() const override { return QDateTime(QDate(2024, 10, 12), QTime(9, 41, 7)); }
};

class NoDesktop final : public Desktop {
public:
    bool openUrl(const QUrl&) override { return true; }
    bool openFile(const QString&) override { return true; }
    bool startProgram(const QString&, const QStringList&) override { return true; }
    void endProgram(int) override {}
};

bool save(QWidget* w, const QString& folder, const QString& name)
{
    w->show();
    QCoreApplication::processEvents();
    const bool ok = w->grab().save(QDir(folder).filePath(name + QStringLiteral(".png")));
    std::printf("%s %s\n", ok ? "wrote" : "FAILED", qPrintable(name));
    return ok;
}

} // namespace

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ConfigurePersianDisplay(app);
    const QStringList args = app.arguments();
    if (args.size() < 2) {
        std::fprintf(stderr, "usage: %s <output-folder> [theme]\n", qPrintable(args.first()));
        return 2;
    }
    const QString out = args.at(1);
    QDir().mkpath(out);

    QTemporaryDir folder;
    ScriptedDialogs dialogs;
    StillClock clock;
    NoDesktop desktop;
    AppContext ctx(folder.path(), dialogs, clock, desktop);
    SingleInstanceGuard guard(folder.path());
    std::unique_ptr<Frm1> main = StartProgram(ctx, guard);
    if (!main)
        return 1;
    if (args.size() > 2)
        LoadAndApplyTheme(ctx.programFolder(), main.get(), args.at(2));
    save(main.get(), out, QStringLiteral("main-window"));
    return 0;
}
