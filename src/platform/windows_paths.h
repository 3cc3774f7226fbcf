#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <string_view>

namespace vtx {

// Maps the Windows paths the add-in works with ("C:\Temp\VTX_Temp") onto
// folders of this machine, and host paths back to their Windows form so that
// tools report what the add-in would have seen.
//
// Each drive letter lives in a folder: one configured with MapDrive, else
// `default_root`/<LETTER>. Windows paths are case-insensitive: an existing
// file or folder is found whatever the letter case of the path, a missing
// component keeps the case it was written in. "." and ".." are resolved
// lexically and never leave the drive. A path without a drive is on drive C:
// when rooted ("\Temp") and relative to the current host folder otherwise.
// Thread-safety: const methods may run concurrently; MapDrive may not.
class WindowsPaths {
 public:
  explicit WindowsPaths(std::filesystem::path default_root);

  // `drive` is "C:", "c:" or "C". `folder` is made absolute against the
  // current host folder.
  void MapDrive(std::string_view drive, const std::filesystem::path& folder);
  // The folder drive `letter` lives in (configured or default).
  std::filesystem::path DriveFolder(char letter) const;

  // The host path of a Windows path.
  std::filesystem::path ToHost(std::string_view windows_path) const;
  // The Windows form of a host path inside one of the drive folders ("C:\x");
  // a path outside every drive folder comes back with "\" separators only.
  std::string ToWindows(const std::filesystem::path& host_path) const;

  // The drive letter (upper case) of a Windows path, or 0 when it has none.
  static char DriveLetterOf(std::string_view windows_path);

 private:
  std::filesystem::path default_root_;
  std::map<char, std::filesystem::path> drives_;  // upper-case letter -> folder
};

}  // namespace vtx
