#pragma once

#include <string>
#include <string_view>

namespace vtx::emu {

// Whether a database argument names a PostgreSQL database (a libpq
// connection URI) rather than an SQLite file.
inline bool IsServerDatabase(std::string_view location) {
  return location.rfind("postgresql://", 0) == 0 || location.rfind("postgres://", 0) == 0;
}

// The database name of a server URI ("korvel" of postgresql://u@h/korvel?x=y),
// or "korvel" when it names none.
inline std::string ServerDatabaseName(std::string_view uri) {
  const size_t scheme = uri.find("://");
  const size_t slash = scheme == std::string_view::npos ? scheme : uri.find('/', scheme + 3);
  if (slash == std::string_view::npos) return "korvel";
  const std::string_view name = uri.substr(slash + 1, uri.find('?', slash) - slash - 1);
  return name.empty() ? "korvel" : std::string(name);
}

}  // namespace vtx::emu
