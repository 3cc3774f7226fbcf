#pragma once

#include <memory>
#include <string>

#include "emulator/sql/open_mode.h"
#include "emulator/sql/sql_connection.h"

namespace vtx::emu {

// A connection to the database server a URI names ("postgresql://..."):
// PostgreSQL through libpq (server_connection_posix.cc). The Windows build
// has no client library: it raises DatabaseOpenError saying so
// (server_connection_windows.cc). `display` is the URI as messages show it.
std::unique_ptr<SqlConnection> OpenServerConnection(const std::string& uri,
                                                    const std::string& display, OpenMode mode);

}  // namespace vtx::emu
