#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "emulator/call_monitor.h"
#include "emulator/session/environment.h"
#include "emulator/session/recorder.h"
#include "emulator/session/scripted_answers.h"
#include "emulator/sql/database_location.h"
#include "emulator/store/store.h"
#include "platform/class_registry.h"
#include "platform/scripted_platform.h"

namespace vtx::emu {

// What the session, its user interface and its components share: the store,
// the call monitor, the environment, the scripted answers, the recorder, the
// platform the add-in sees, the host's component registry and where reports
// go.
//
// Ownership: created by the EmulatedHost; every object the host hands out
// holds a shared reference, so a session, view or component stays usable
// while anybody holds it. HostState refers to none of them (no cycles); the
// store reaches it only through weak references.
// Thread-safety: none; one host is used on one thread.
class HostState : public std::enable_shared_from_this<HostState> {
 public:
  HostState();
  ~HostState();
  HostState(const HostState&) = delete;
  HostState& operator=(const HostState&) = delete;

  // Every host operation starts here: counted, traced, failed when due.
  template <typename... Args>
  void Enter(OperationName operation, const Args&... args) {
    monitor->Enter(operation, args...);
  }
  void EnterNamed(std::string_view operation) { monitor->EnterNamed(operation); }
  // Before anything that waits for the user (a modal view, a message box, a
  // dialog, the editor): what the call wrote so far is committed, so that
  // the wait holds no lock and the user's time cannot cost it.
  void BeforeUserWait();
  // The class id of a class name of the model, or 0 when the model has none.
  int16_t ClassIdOf(std::string_view class_name) const;
  // Local date and time as the host reports it (the environment's clock, or
  // the real one), as an OLE date.
  double Now() const;

  // Where the quick report writes: the folder set with SetReportFolder, else
  // "<stem>_reports" beside a database file, else C:\Korvel\Reports on the
  // emulated drives (a fresh temporary folder unless C: is mapped).
  std::filesystem::path ReportFolder();
  void SetReportFolder(std::filesystem::path folder) { report_folder_ = std::move(folder); }
  // A path of this machine as the user sees it: its Windows form when it lies
  // in a drive folder, else the path itself.
  std::string DisplayPath(const std::filesystem::path& path);

  std::shared_ptr<CallMonitor> monitor;
  std::shared_ptr<Store> store;
  DatabaseLocation database;
  Environment environment;
  ScriptedAnswers answers;
  Recorder recorder;
  // Message boxes, dialogs, environment, drives and the file-system object.
  std::unique_ptr<ScriptedPlatform> platform;
  // Components created with CreateObject (the quick report, the language
  // catalog, the record list); looked up before the process-wide registry.
  ClassRegistry registry;
  int64_t reports_written = 0;

 private:
  std::optional<std::filesystem::path> report_folder_;
};

}  // namespace vtx::emu
