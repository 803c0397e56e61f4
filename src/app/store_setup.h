#pragma once
// Which store the program folder uses: its four files, or the clinic's database server named by
// TAVORA71_DATABASE or database.conf. The server is reached once at start (a password is asked
// then when libpq finds none) and registered for the folder; every view goes there from then on.
#include <QString>

class AppContext;

// false: the program must end (the reason has been shown). Nothing set: the four files.
bool ConnectStore(AppContext& ctx, const QString& environmentValue);

// tavora71 --copy-to-server: moves the program folder's files onto the server, reporting on the
// terminal. Returns the exit code.
int CopyToServerCommand(const QString& programFolder, const QString& environmentValue);
