#pragma once

#include <string_view>

namespace vtx::emu {

// Whether a database argument names a PostgreSQL database (a libpq
// connection URI) rather than an SQLite file.
inline bool IsServerDatabase(std::string_view location) {
  return location.rfind("postgresql://", 0) == 0 || location.rfind("postgres://", 0) == 0;
}

}  // namespace vtx::emu
