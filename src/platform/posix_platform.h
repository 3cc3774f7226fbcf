#pragma once

#include <memory>
#include <optional>
#include <string>

#include "platform/mapped_file_system_object.h"
#include "platform/platform.h"
#include "platform/presenter.h"
#include "platform/windows_paths.h"

namespace vtx {

// The real machine: its host name, logon user, environment and clock.
// Windows drives are folders (see WindowsPaths; by default a folder per
// letter under "vtx_drives" in the system's temporary folder). Message boxes
// and dialogs go to the presenter the front end chose; until it chooses one,
// boxes are written to standard error and answered with their default button,
// and dialogs are cancelled.
// Thread-safety: used on the thread that installed it.
class PosixPlatform : public Platform {
 public:
  PosixPlatform();
  explicit PosixPlatform(std::shared_ptr<WindowsPaths> paths);
  ~PosixPlatform() override;

  // `presenter` is not owned and must outlive its use; null: none.
  void SetPresenter(Presenter* presenter);
  // Drive configuration; file-system objects created later see changes.
  WindowsPaths& Paths() { return *paths_; }
  // Told about every folder created and file deleted by file-system objects
  // created from now on.
  void SetFileObserver(FileChangeObserver observer) { observer_ = std::move(observer); }

  std::string GetComputerName() override;
  std::string GetUserName() override;
  std::optional<std::string> GetEnvironmentVariable(const std::string& name) override;
  int32_t MessageBox(const std::string& text, int32_t style,
                     const std::optional<std::string>& title) override;
  DialogAction AskDialog(const DialogSnapshot& dialog) override;
  double Now() override;
  // "Scripting.FileSystemObject" gives a MappedFileSystemObject over Paths();
  // any other ProgID is created from ClassRegistry::Global().
  Ref<Dispatch> CreateObject(const std::string& prog_id) override;

 private:
  std::shared_ptr<WindowsPaths> paths_;
  Presenter* presenter_ = nullptr;
  FileChangeObserver observer_;
};

}  // namespace vtx
