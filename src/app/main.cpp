#include "kit/app_context.h"
#include "kit/system_desktop.h"
#include "app/frm1.h"
#include "kit/persian_display.h"
#include "kit/qt_dialogs.h"
#include "app/startup.h"
#include "maintenance/update_version.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    ConfigurePersianDisplay(app);

    QtDialogs dialogs;
    SystemClock clock;
    SystemDesktop desktop;
    PublisherAddresses publisher;
    // A clinic may fetch its updates from a mirror of its own.
    if (const auto server = maintenance::UpdateServerOverride(qEnvironmentVariable("TAVORA71_UPDATE_SERVER")))
        publisher.updateServer = *server;
    AppContext ctx(QCoreApplication::applicationDirPath(), dialogs, clock, desktop, publisher);
    SingleInstanceGuard guard(ctx.programFolder());

    std::unique_ptr<Frm1> window = StartProgram(ctx, guard);
    if (!window)
        return 1;
    window->show();
    return app.exec();
}
