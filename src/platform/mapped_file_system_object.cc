#include "platform/mapped_file_system_object.h"

#include <system_error>
#include <utility>

#include "runtime/runtime_error.h"
#include "runtime/text.h"

namespace vtx {

namespace fs = std::filesystem;

namespace {

constexpr int32_t kFileNotFound = 53;
constexpr int32_t kFileAlreadyExists = 58;
constexpr int32_t kPermissionDenied = 70;
constexpr int32_t kPathNotFound = 76;

void ExpectArgs(const std::vector<Variant>& args, size_t count) {
  if (args.size() != count) Raise(450);
}

}  // namespace

MappedFileSystemObject::MappedFileSystemObject(std::shared_ptr<const WindowsPaths> paths,
                                               FileChangeObserver observer)
    : paths_(std::move(paths)), observer_(std::move(observer)) {}

fs::path MappedFileSystemObject::Resolve(const std::string& windows_path) {
  char letter = WindowsPaths::DriveLetterOf(windows_path);
  if (letter != 0 || (!windows_path.empty() && (windows_path[0] == '\\'))) {
    std::error_code ec;
    fs::create_directories(paths_->DriveFolder(letter ? letter : 'C'), ec);
  }
  return paths_->ToHost(windows_path);
}

void MappedFileSystemObject::Report(FileChange change, const fs::path& host_path) {
  if (observer_) observer_(change, paths_->ToWindows(host_path));
}

bool MappedFileSystemObject::FileExists(const std::string& path) {
  if (path.empty()) return false;
  std::error_code ec;
  fs::file_status status = fs::status(Resolve(path), ec);
  return fs::exists(status) && !fs::is_directory(status);
}

bool MappedFileSystemObject::FolderExists(const std::string& path) {
  if (path.empty()) return false;
  std::error_code ec;
  return fs::is_directory(Resolve(path), ec);
}

void MappedFileSystemObject::CreateFolder(const std::string& path) {
  if (path.empty()) Raise(kPathNotFound);
  fs::path host = Resolve(path);
  std::error_code ec;
  if (fs::exists(fs::symlink_status(host, ec))) Raise(kFileAlreadyExists);
  if (!fs::is_directory(host.parent_path(), ec)) Raise(kPathNotFound);
  if (!fs::create_directory(host, ec) || ec) Raise(kPermissionDenied);
  Report(FileChange::kFolderCreated, host);
}

std::string MappedFileSystemObject::BuildPath(const std::string& path, const std::string& name) {
  if (path.empty()) return name;
  size_t end = path.size();
  while (end > 0 && path[end - 1] == '\\') --end;
  size_t start = 0;
  while (start < name.size() && name[start] == '\\') ++start;
  return path.substr(0, end) + "\\" + name.substr(start);
}

void MappedFileSystemObject::DeleteFile(const std::string& path) {
  if (path.empty()) Raise(kFileNotFound);
  fs::path host = Resolve(path);
  std::error_code ec;
  fs::file_status status = fs::symlink_status(host, ec);
  if (!fs::exists(status) || fs::is_directory(status)) Raise(kFileNotFound);
  if (!fs::remove(host, ec) || ec) Raise(kPermissionDenied);
  Report(FileChange::kFileDeleted, host);
}

Variant MappedFileSystemObject::Invoke(std::string_view name, InvokeKind kind,
                                       std::vector<Variant>& args) {
  if (kind == InvokeKind::kPropertyPut) Raise(err::kNotSupported);
  if (text::SameNoCase(name, "FileExists")) {
    ExpectArgs(args, 1);
    return FileExists(args[0].ToString());
  }
  if (text::SameNoCase(name, "FolderExists")) {
    ExpectArgs(args, 1);
    return FolderExists(args[0].ToString());
  }
  if (text::SameNoCase(name, "CreateFolder")) {
    ExpectArgs(args, 1);
    CreateFolder(args[0].ToString());
    return Variant();
  }
  if (text::SameNoCase(name, "BuildPath")) {
    ExpectArgs(args, 2);
    return BuildPath(args[0].ToString(), args[1].ToString());
  }
  if (text::SameNoCase(name, "DeleteFile")) {
    ExpectArgs(args, 1);
    DeleteFile(args[0].ToString());
    return Variant();
  }
  Raise(err::kNotSupported);
}

}  // namespace vtx
