#pragma once
// The tables on a database server: created by the program on an empty database, completed by a
// later version, never touched by an older one.
#include "store/result.h"
#include "store/server.h"

namespace store {

class Connection;

// The server's tables as this program needs them, in one transaction: on an empty database every
// table with the delivered data and the schema version; on one made by an earlier version what is
// missing (tables with their delivered rows, columns, indexes). A database whose recorded version
// is newer than this program's is refused unchanged. When nothing is missing only reads run, so
// a role with no right to create tables can use a prepared database.
Result PrepareServer(const ServerAddress& address);

// The same on a connection whose transaction the caller holds (the move of a clinic's files).
Result PrepareServerIn(Connection& admin);

// The schema version recorded on the server; 0 when none is.
Result ServerSchemaVersion(Connection& admin, int& version);

} // namespace store
