#pragma once

#include <functional>
#include <memory>
#include <string>

#include "platform/file_system_object.h"
#include "platform/windows_paths.h"

namespace vtx {

// What the file-system object changed on disk, for transcripts and logs.
enum class FileChange { kFolderCreated, kFileDeleted };

// Receives every change with the path in its Windows form.
using FileChangeObserver = std::function<void(FileChange change, const std::string& windows_path)>;

// The file-system object over this machine's files: Windows paths are mapped
// onto host folders through `paths`. A drive always exists: its folder is
// created on first use.
// Thread-safety: used on the thread that created it. It shares `paths` and
// reads it only.
class MappedFileSystemObject : public FileSystemObject {
 public:
  explicit MappedFileSystemObject(std::shared_ptr<const WindowsPaths> paths,
                                  FileChangeObserver observer = {});

  bool FileExists(const std::string& path) override;
  bool FolderExists(const std::string& path) override;
  void CreateFolder(const std::string& path) override;
  // Joins with exactly one "\" between `path` and `name`; an empty `path`
  // gives `name` unchanged.
  std::string BuildPath(const std::string& path, const std::string& name) override;
  void DeleteFile(const std::string& path) override;
  // Late-bound calls of the five methods above by name (any letter case).
  Variant Invoke(std::string_view name, InvokeKind kind, std::vector<Variant>& args) override;

 private:
  std::filesystem::path Resolve(const std::string& windows_path);
  void Report(FileChange change, const std::filesystem::path& host_path);

  std::shared_ptr<const WindowsPaths> paths_;
  FileChangeObserver observer_;
};

}  // namespace vtx
