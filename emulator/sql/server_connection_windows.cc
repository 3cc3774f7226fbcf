#include <fmt/format.h>

#include "emulator/sql/database_open_error.h"
#include "emulator/sql/server_connection.h"

namespace vtx::emu {

std::unique_ptr<SqlConnection> OpenServerConnection(const std::string&, const std::string& display,
                                                    OpenMode) {
  throw DatabaseOpenError(fmt::format(
      "{}: PostgreSQL databases cannot be used on Windows (this build has no PostgreSQL client); "
      "name an SQLite file",
      display));
}

}  // namespace vtx::emu
