#include "kit/app_context.h"
#include "kit/system_desktop.h"
#include "app/main_window.h"
#include "kit/persian_display.h"
#include "kit/program_folder.h"
#include "kit/shipped_fonts.h"
#include "kit/qt_dialogs.h"
#include "app/startup.h"
#include "app/store_setup.h"
#include "maintenance/update_version.h"
#include "store/private_files.h"

#include <QApplication>
#include <QIcon>
#include <cstdio>

int main(int argc, char* argv[])
{
    // Everything the program creates holds or may hold clinical records: the user's alone.
    store::RestrictNewFilesToOwner();
    // Moving a clinic's files onto its server, from a terminal.
    if (argc == 2 && qstrcmp(argv[1], "--copy-to-server") == 0) {
        QCoreApplication app(argc, argv);
        const ProgramFolderChoice folder =
            ChooseProgramFolder(qEnvironmentVariable(kProgramFolderVariable), QCoreApplication::applicationDirPath());
        if (!folder.accepted()) {
            fprintf(stderr, "%s\n", qPrintable(folder.refusal));
            return 1;
        }
        return CopyToServerCommand(folder.folder, qEnvironmentVariable("TAVORA71_DATABASE"));
    }
    fonts::UseShippedFonts(); // before the application: without the faces, the system's are used
    QApplication app(argc, argv);
    // Ties the windows to the installed menu entry and its icon (Wayland and X11 alike).
    QGuiApplication::setDesktopFileName(QStringLiteral(TAVORA71_APP_ID));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral(TAVORA71_APP_ID)));
    ConfigurePersianDisplay(app);

    QtDialogs dialogs;
    SystemClock clock;
    SystemDesktop desktop;
    PublisherAddresses publisher;
    // A clinic may fetch its updates from a mirror of its own.
    if (const auto server = maintenance::UpdateServerOverride(qEnvironmentVariable("TAVORA71_UPDATE_SERVER")))
        publisher.updateServer = *server;
    const ProgramFolderChoice folder =
        ChooseProgramFolder(qEnvironmentVariable(kProgramFolderVariable), QCoreApplication::applicationDirPath());
    if (!folder.accepted()) {
        dialogs.message(nullptr, titles::kError, folder.refusal, Dialogs::Icon::Critical, 0);
        return 1;
    }
    AppContext ctx(folder.folder, dialogs, clock, desktop, publisher);
    SingleInstanceGuard guard(ctx.programFolder());

    std::unique_ptr<Frm1> window = StartProgram(ctx, guard);
    if (!window)
        return 1;
    window->show();
    return app.exec();
}
