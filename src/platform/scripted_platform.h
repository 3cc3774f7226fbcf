#pragma once

#include <deque>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/class_registry.h"
#include "platform/mapped_file_system_object.h"
#include "platform/platform.h"
#include "platform/windows_paths.h"

namespace vtx {

// One message box as the add-in showed it.
struct ShownMessage {
  std::string text;
  int32_t style = 0;
  std::optional<std::string> title;  // nullopt: the box was given no title
  friend bool operator==(const ShownMessage&, const ShownMessage&) = default;
};

// What the add-in showed and changed through the platform, in order.
struct PlatformRecordings {
  std::vector<ShownMessage> messages;
  std::vector<DialogSnapshot> dialogs;     // every showing of a dialog
  std::vector<std::string> files_created;  // folders, Windows form
  std::vector<std::string> files_deleted;  // Windows form
};

// A platform whose every answer comes from the caller (a scenario, a test)
// and which records everything the add-in shows or changes.
//
// Unset computer and user names are empty, the environment is empty, the
// clock is the real one until SetClock. Drives are folders: configured with
// MapDrive, else a folder per letter under a fresh temporary folder that the
// platform creates on first use and removes when destroyed. A message box
// answers with its default button. Dialog answers are taken from a queue;
// when it is empty the fallback set with SetDialogFallback answers (a person
// at a terminal), and without one AskDialog raises a RuntimeError saying that
// an answer is missing, and AnswerWasMissing() turns true.
// Thread-safety: used on one thread. Recordings are owned by the platform
// until taken.
class ScriptedPlatform : public Platform {
 public:
  ScriptedPlatform();
  // `drive_root`: where unmapped drive letters live (not removed at the end).
  explicit ScriptedPlatform(std::filesystem::path drive_root);
  ~ScriptedPlatform() override;
  ScriptedPlatform(const ScriptedPlatform&) = delete;
  ScriptedPlatform& operator=(const ScriptedPlatform&) = delete;

  void SetComputerName(std::string name) { computer_name_ = std::move(name); }
  void SetUserName(std::string name) { user_name_ = std::move(name); }
  void SetEnvironment(std::map<std::string, std::string> variables);
  void SetEnvironmentVariable(const std::string& name, std::string value);
  void UnsetEnvironmentVariable(const std::string& name);
  // nullopt: the real clock.
  void SetClock(std::optional<double> ole_date) { clock_ = ole_date; }
  void MapDrive(const std::string& drive, const std::filesystem::path& folder);
  // Classes for CreateObject; not owned. Null: ClassRegistry::Global().
  void SetRegistry(const ClassRegistry* registry) { registry_ = registry; }
  void QueueDialogAnswer(DialogAction action) { answers_.push_back(action); }
  void SetDialogFallback(std::function<DialogAction(const DialogSnapshot&)> ask) {
    fallback_ = std::move(ask);
  }
  bool AnswerWasMissing() const { return answer_missing_; }

  // The path mapping in use (for reporting paths, or resolving them in tests).
  const WindowsPaths& Paths();

  const std::vector<ShownMessage>& Messages() const { return recordings_.messages; }
  const std::vector<DialogSnapshot>& Dialogs() const { return recordings_.dialogs; }
  const std::vector<std::string>& FilesCreated() const { return recordings_.files_created; }
  const std::vector<std::string>& FilesDeleted() const { return recordings_.files_deleted; }
  // Moves everything recorded so far out, leaving the recordings empty.
  PlatformRecordings TakeRecordings();

  std::string GetComputerName() override { return computer_name_; }
  std::string GetUserName() override { return user_name_; }
  // Names match in any letter case, as on Windows.
  std::optional<std::string> GetEnvironmentVariable(const std::string& name) override;
  int32_t MessageBox(const std::string& text, int32_t style,
                     const std::optional<std::string>& title) override;
  DialogAction AskDialog(const DialogSnapshot& dialog) override;
  double Now() override;
  // "Scripting.FileSystemObject" gives a MappedFileSystemObject whose changes
  // are recorded; other ProgIDs come from the registry.
  Ref<Dispatch> CreateObject(const std::string& prog_id) override;

 private:
  std::shared_ptr<WindowsPaths> EnsurePaths();

  std::string computer_name_;
  std::string user_name_;
  std::map<std::string, std::string> environment_;
  std::optional<double> clock_;
  std::map<std::string, std::filesystem::path> drives_;
  std::optional<std::filesystem::path> drive_root_;
  std::filesystem::path owned_root_;  // the fresh folder to remove, if any
  std::shared_ptr<WindowsPaths> paths_;
  const ClassRegistry* registry_ = nullptr;
  std::deque<DialogAction> answers_;
  std::function<DialogAction(const DialogSnapshot&)> fallback_;
  bool answer_missing_ = false;
  PlatformRecordings recordings_;
};

}  // namespace vtx
