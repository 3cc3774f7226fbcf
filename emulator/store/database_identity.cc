#include "emulator/store/database_identity.h"

#include <random>

#include <fmt/format.h>

namespace vtx::emu {

std::string NewDatabaseId() {
  // random_device draws from the operating system's random source on every
  // platform the host is built for.
  std::random_device random;
  std::string id;
  for (int i = 0; i < 4; ++i) id += fmt::format("{:08x}", static_cast<uint32_t>(random()));
  return id;
}

std::string ReadDatabaseId(Database& db) {
  Statement s = db.Prepare("SELECT VALUE FROM KV_META WHERE KEY = 'database_id'");
  return s.Step() ? s.Text(0) : std::string();
}

void StoreDatabaseId(Database& db, const std::string& id) {
  db.Prepare("INSERT INTO KV_META (KEY, VALUE) VALUES ('database_id', ?)").BindText(1, id).Run();
}

}  // namespace vtx::emu
