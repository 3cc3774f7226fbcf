#include "emulator/session/host_state.h"

#include "emulator/sql/database.h"
#include "emulator/sql/database_location.h"

#include "platform/local_clock.h"
#include "platform/utf8_path.h"

namespace vtx::emu {

HostState::HostState()
    : monitor(std::make_shared<CallMonitor>()),
      recorder(monitor),
      platform(std::make_unique<ScriptedPlatform>()) {}

HostState::~HostState() = default;

int16_t HostState::ClassIdOf(std::string_view class_name) const {
  const ClassDef* def = store ? store->GetModel().ByName(class_name) : nullptr;
  return def ? def->id : 0;
}

double HostState::Now() const {
  return environment.clock ? *environment.clock : LocalNowAsOleDate();
}

std::filesystem::path HostState::ReportFolder() {
  if (!report_folder_) {
    if (database.IsFile()) {
      std::filesystem::path db = std::filesystem::absolute(PathFromUtf8(database.Text()));
      report_folder_ = db.parent_path() / PathFromUtf8(Utf8FromPath(db.stem()) + "_reports");
    } else {
      report_folder_ = platform->Paths().ToHost("C:\\Korvel\\Reports");
    }
  }
  return *report_folder_;
}

std::string HostState::DisplayPath(const std::filesystem::path& path) {
  std::string windows = platform->Paths().ToWindows(path);
  if (windows.size() >= 2 && windows[1] == ':') return windows;
  return Utf8FromPath(path);
}

void HostState::BeforeUserWait() {
  if (store) store->Db().CommitCallWrites();
}

}  // namespace vtx::emu
