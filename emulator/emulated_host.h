#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "emulator/call_monitor.h"
#include "emulator/session/environment.h"
#include "emulator/session/recorder.h"
#include "emulator/session/scripted_answers.h"
#include "emulator/sql/database_location.h"
#include "emulator/store/store.h"
#include "platform/platform.h"
#include "platform/scripted_platform.h"

namespace vtx::emu {

class HostState;
class EmulatedSession;
class EmulatedPlatform;

// The answers a script gives to everything that waits for the user.
struct HostAnswers {
  std::vector<DialogAction> template_dialog;  // the add-in's template dialog
  std::vector<EditorAnswer> integration_editor;
  std::vector<std::optional<ObjectKey>> modal_views;  // nullopt: no selection
};

// Everything the user saw and the host did during one step.
struct StepRecordings {
  PlatformRecordings platform;    // message boxes, dialogs, files created/deleted
  HostRecordings host;            // views, change notifications, reports
  std::vector<TraceEntry> trace;  // host calls, while tracing is on
};

struct HostOptions {
  // Where unmapped drive letters live; nullopt: a fresh temporary folder,
  // removed with the host.
  std::optional<std::filesystem::path> drive_root;
  // Where the quick report writes; nullopt: beside a database file, or
  // C:\Korvel\Reports on the emulated drives for ":memory:".
  std::optional<std::filesystem::path> report_folder;
  // Whether the database file may be created or written.
  OpenMode open_mode = OpenMode::kCreate;
};

// An emulated Korvel: the object store (on SQLite or PostgreSQL), one
// session over it, the
// environment the session reports, the scripted user, and a recorder of what
// the user would see. A front end or a test creates one, installs Platform()
// while the add-in runs, hands Session() to the add-in and takes the
// recordings after each step.
//
//   EmulatedHost host(":memory:", model);
//   ScopedPlatform platform(&host.Platform());
//   app.ViewHistory(host.Session(), list);
//   StepRecordings seen = host.TakeRecordings();
//
// Every host operation the add-in calls passes Monitor() (counted, traced,
// failed as the faults say); the host actions on Store() and the setters here
// do not. Two hosts in one process share nothing: components created by
// ProgID are registered in each host's own registry.
//
// Ownership: the host owns the store, the session and the platform; objects
// handed to the add-in keep what they need alive, so they stay usable after
// the host is destroyed (but are no longer recorded by anyone).
// Thread-safety: none; a host and everything it hands out are used on one
// thread.
class EmulatedHost {
 public:
  // Opens (or creates) the database `database` (a file, ":memory:" or a
  // PostgreSQL URI) with `model`. Raises ModelError for an invalid model and
  // RuntimeError when the database cannot be opened or holds another model.
  EmulatedHost(const DatabaseLocation& database, const nlohmann::json& model,
               HostOptions options = {});
  ~EmulatedHost();
  EmulatedHost(const EmulatedHost&) = delete;
  EmulatedHost& operator=(const EmulatedHost&) = delete;

  // The session to hand to the add-in (the same one on every call).
  Ref<KvSession> Session() const;
  // The session's object store, for building arguments (objects, lists).
  Ref<KvObjectStore> ObjectStore() const;
  // The store, for Korvel's own actions (insert, update, delete, link, dump).
  Store& GetStore() const;
  // Faults and tracing.
  CallMonitor& Monitor() const;
  // The platform to install (ScopedPlatform) while the add-in runs.
  Platform& GetPlatform() const;
  ScriptedPlatform& Scripted() const;

  const Environment& GetEnvironment() const;
  // Replaces the environment; takes effect at the next call.
  void SetEnvironment(Environment environment);

  // Appends answers to those still pending.
  void AddAnswers(const HostAnswers& answers);
  ScriptedAnswers& Answers() const;
  // True once an answer was missing or unusable (the add-in may have caught
  // the error; the run still failed).
  bool AnswerWasMissing() const;

  // Session globals as Korvel itself sets and reads them (not monitored).
  void SetGlobal(const std::string& name, const Variant& value);
  Variant GetGlobal(const std::string& name) const;

  std::filesystem::path ReportFolder() const;
  void SetReportFolder(std::filesystem::path folder);
  // A path of this machine as the user sees it (Windows form on a drive).
  std::string DisplayPath(const std::filesystem::path& path) const;

  // Hands over what was recorded since the last call (see StepRecordings).
  StepRecordings TakeRecordings();
  // The view the user sees now (the one shown last), or null.
  std::shared_ptr<const ViewRecord> ViewOnScreen() const;

 private:
  std::shared_ptr<HostState> state_;
  Ref<EmulatedSession> session_;
  std::unique_ptr<EmulatedPlatform> platform_;
};

}  // namespace vtx::emu
