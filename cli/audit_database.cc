#include "cli/audit_database.h"

#include <charconv>
#include <filesystem>
#include <ostream>

#include <fmt/format.h>

#include "emulator/sql/database.h"
#include "emulator/sql/database_location.h"
#include "emulator/store/schema.h"

namespace vtx::cli {

std::shared_ptr<emu::Store> OpenAuditDatabase(const std::string& path, emu::OpenMode mode) {
  emu::Model model;
  {
    emu::Database db(path, emu::OpenMode::kRead);
    model = emu::ReadStoredModel(db);
  }
  return emu::Store::Open(path, std::move(model), {}, nullptr, mode);
}

emu::ObjectRef FindAuditObject(emu::Store& store, const std::string& class_name,
                               const std::string& key) {
  if (!store.GetModel().ByName(class_name))
    throw UsageError(fmt::format("unknown class '{}'", class_name));
  std::optional<emu::ObjectRef> found;
  int32_t id = 0;
  const char* end = key.data() + key.size();
  if (key.size() > 1 && key[0] == '#') {
    auto [ptr, ec] = std::from_chars(key.data() + 1, end, id);
    if (ec == std::errc() && ptr == end) found = store.Find(class_name, id);
  } else {
    found = store.FindByKey(class_name, key);
  }
  if (!found) throw UsageError(fmt::format("no {} '{}' in the database", class_name, key));
  return *found;
}

int ReportAuditFailure(const char* command, const std::string& database,
                       const std::exception& error, std::ostream& err) {
  const int status = CommandExitStatus(error);
  err << "vtx " << command << ": "
      << (status == kExitUsage ? "" : emu::WithoutPasswords(database) + ": ") << error.what()
      << "\n";
  return status;
}

}  // namespace vtx::cli
