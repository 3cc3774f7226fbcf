#include "cli/check_model_command.h"

#include <fstream>
#include <memory>
#include <ostream>
#include <sstream>
#include <stdexcept>

#include "cli/exit_status.h"
#include "cli/model_check.h"
#include "cli/scenario/json_text.h"
#include "emulator/sql/database.h"
#include "emulator/store/schema.h"
#include "platform/utf8_path.h"

namespace vtx::cli {
namespace {

using Json = nlohmann::ordered_json;

std::string ReadFile(const std::string& path) {
  std::ifstream in(PathFromUtf8(path), std::ios::binary);
  if (!in) throw std::runtime_error(path + ": cannot open the file");
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

}  // namespace

int CheckModelCommand(const std::string& model_file, const std::string& database,
                      const std::vector<std::string>& managed, std::ostream& out,
                      std::ostream& err) {
  if (model_file.empty() == database.empty()) {
    err << "vtx check-model: give either MODEL.json or --db FILE\n";
    return kExitUsage;
  }
  emu::Model model;
  try {
    if (model_file.empty()) {
      // Opened read-only: checking must not change (or create) the database.
      emu::Database db(database, emu::OpenMode::kRead);
      model = emu::ReadStoredModel(db);
    } else {
      try {
        model = emu::ParseModel(ParseJsonText(ReadFile(model_file)));
      } catch (const std::exception& e) {
        throw std::runtime_error(model_file + ": " + e.what());
      }
    }
    for (const std::string& name : managed)
      if (!model.ByName(name)) throw std::runtime_error("no class named \"" + name + "\"");
  } catch (const std::exception& e) {
    err << "vtx check-model: " << e.what() << "\n";
    return kExitUsage;
  }
  const std::vector<std::string> gaps = FindModelGaps(model, managed);
  if (gaps.empty()) {
    out << "The model holds everything VTX_HA needs.\n";
    return kExitOk;
  }
  out << "VTX_HA needs what the model does not hold:\n";
  for (const std::string& gap : gaps) out << "- " << gap << "\n";
  return kExitFailed;
}

}  // namespace vtx::cli
