#include "platform/scripted_platform.h"

#include <cctype>
#include <cstdlib>
#include <system_error>
#include <utility>

#include "platform/fresh_folder.h"
#include "platform/local_clock.h"
#include "platform/message_box_style.h"
#include "runtime/runtime_error.h"
#include "runtime/text.h"

namespace vtx {

namespace fs = std::filesystem;

namespace {

constexpr const char* kFileSystemObjectProgId = "Scripting.FileSystemObject";

}  // namespace

ScriptedPlatform::ScriptedPlatform() = default;

ScriptedPlatform::ScriptedPlatform(fs::path drive_root) : drive_root_(std::move(drive_root)) {}

ScriptedPlatform::~ScriptedPlatform() {
  if (!owned_root_.empty()) {
    std::error_code ec;
    fs::remove_all(owned_root_, ec);
  }
}

void ScriptedPlatform::SetEnvironment(std::map<std::string, std::string> variables) {
  environment_ = std::move(variables);
}

void ScriptedPlatform::SetEnvironmentVariable(const std::string& name, std::string value) {
  UnsetEnvironmentVariable(name);
  environment_[name] = std::move(value);
}

void ScriptedPlatform::UnsetEnvironmentVariable(const std::string& name) {
  for (auto it = environment_.begin(); it != environment_.end();) {
    it = text::SameNoCase(it->first, name) ? environment_.erase(it) : std::next(it);
  }
}

void ScriptedPlatform::MapDrive(const std::string& drive, const fs::path& folder) {
  drives_[drive] = folder;
  if (paths_) paths_->MapDrive(drive, folder);
}

std::shared_ptr<WindowsPaths> ScriptedPlatform::EnsurePaths() {
  if (!paths_) {
    if (!drive_root_) {
      owned_root_ = MakeFreshFolder("vtx_drives_");
      if (owned_root_.empty()) Raise(75, "Cannot create a folder for the drives");
      drive_root_ = owned_root_;
    }
    paths_ = std::make_shared<WindowsPaths>(*drive_root_);
    for (const auto& [drive, folder] : drives_) paths_->MapDrive(drive, folder);
  }
  return paths_;
}

const WindowsPaths& ScriptedPlatform::Paths() { return *EnsurePaths(); }

PlatformRecordings ScriptedPlatform::TakeRecordings() {
  return std::exchange(recordings_, PlatformRecordings{});
}

std::optional<std::string> ScriptedPlatform::GetEnvironmentVariable(const std::string& name) {
  if (name.empty()) return std::nullopt;
  for (const auto& [key, value] : environment_)
    if (text::SameNoCase(key, name)) return value;
  return std::nullopt;
}

int32_t ScriptedPlatform::MessageBox(const std::string& text, int32_t style,
                                     const std::optional<std::string>& title) {
  recordings_.messages.push_back(ShownMessage{text, style, title});
  return message_box::DefaultButton(style);
}

DialogAction ScriptedPlatform::AskDialog(const DialogSnapshot& dialog) {
  // One entry per showing, however many clicks it takes to close.
  if (!dialog.again) recordings_.dialogs.push_back(dialog);
  if (answers_.empty() && fallback_) return fallback_(dialog);
  if (answers_.empty()) {
    answer_missing_ = true;
    Raise(err::kHostFailure,
          "A dialog answer is missing: nothing left to answer the dialog \"" + dialog.name + "\"");
  }
  DialogAction action = answers_.front();
  answers_.pop_front();
  return action;
}

double ScriptedPlatform::Now() { return clock_ ? *clock_ : LocalNowAsOleDate(); }

Ref<Dispatch> ScriptedPlatform::CreateObject(const std::string& prog_id) {
  if (text::SameNoCase(prog_id, kFileSystemObjectProgId)) {
    return MakeRef<MappedFileSystemObject>(EnsurePaths(), [this](FileChange change,
                                                                 const std::string& path) {
      (change == FileChange::kFolderCreated ? recordings_.files_created : recordings_.files_deleted)
          .push_back(path);
    });
  }
  return (registry_ ? *registry_ : ClassRegistry::Global()).Create(prog_id);
}

}  // namespace vtx
