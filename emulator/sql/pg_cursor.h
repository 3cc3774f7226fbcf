#pragma once

#include <memory>
#include <string>

#include "emulator/sql/sql_connection.h"

namespace vtx::emu {

class PgConnection;

// A statement of `owner`'s, prepared on the server under a name of its own
// (a command such as SAVEPOINT runs as a simple query instead). Parameters
// are sent as text for the server to type, as SQLite takes any value; values
// come back as SQLite types them. `guarded`: see SqlConnection::Prepare.
// Thread-safety: none; must not outlive `owner`.
std::unique_ptr<SqlCursor> MakePgCursor(PgConnection& owner, const std::string& sql, bool guarded);

}  // namespace vtx::emu
