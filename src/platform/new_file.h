#pragma once

#include <cstdint>
#include <filesystem>
#include <string_view>

namespace vtx {

// A file this process creates only when nothing of its name exists, so it
// never replaces another's file, also when several processes pick names at
// once (new_file_posix.cc, new_file_windows.cc).
// Thread-safety: one object on one thread.
class NewFile {
 public:
  enum class Created { kYes, kNameTaken, kFailed };

  NewFile() = default;
  ~NewFile();  // closes the file if still open
  NewFile(const NewFile&) = delete;
  NewFile& operator=(const NewFile&) = delete;

  // Creates `path` for writing; kNameTaken when a file or folder of that
  // name exists. REQUIRE: no file open yet.
  Created Create(const std::filesystem::path& path);
  // Writes all of `content`, flushes it to the disk and closes the file;
  // false when any of that failed (the file is closed either way).
  bool WriteAndClose(std::string_view content);
  // Closes the file, if open, without writing.
  void Close();

 private:
  std::intptr_t handle_ = -1;  // the descriptor or HANDLE; -1 when none is open
};

}  // namespace vtx
