#include "cli/audit_database.h"

#include <charconv>
#include <filesystem>
#include <ostream>

#include <fmt/format.h>

#include "emulator/store/database.h"
#include "emulator/store/database_location.h"

namespace vtx::cli {

std::shared_ptr<emu::Store> OpenAuditDatabase(const std::string& path, emu::OpenMode mode) {
  if (!emu::IsServerDatabase(path) && !std::filesystem::is_regular_file(path))
    throw UsageError(fmt::format("{}: no such database file", path));
  std::string model;
  try {
    emu::Database db(path, emu::OpenMode::kRead);
    emu::Statement s = db.Prepare("SELECT VALUE FROM KV_META WHERE KEY = 'model'");
    if (s.Step()) model = s.Text(0);
  } catch (const std::exception&) {
    // Not ours or unreadable: told below as not a database of ours.
  }
  if (model.empty())
    throw UsageError(fmt::format("{}: not a database of the emulated Korvel host", path));
  return emu::Store::Open(path, emu::ParseModel(nlohmann::ordered_json::parse(model)), {}, nullptr,
                          mode);
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
  err << "vtx " << command << ": " << (status == kExitUsage ? "" : database + ": ") << error.what()
      << "\n";
  return status;
}

}  // namespace vtx::cli
