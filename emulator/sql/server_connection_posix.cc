#include "emulator/sql/pg_connection.h"
#include "emulator/sql/server_connection.h"

namespace vtx::emu {

std::unique_ptr<SqlConnection> OpenServerConnection(const std::string& uri,
                                                    const std::string& display, OpenMode mode) {
  return std::make_unique<PgConnection>(uri, display, mode);
}

}  // namespace vtx::emu
