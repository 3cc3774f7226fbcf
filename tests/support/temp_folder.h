// A folder of the test's own under the temporary directory ($TMPDIR), made
// fresh (MakeFreshFolder): tests of two checkouts, or two runs, at the same
// time never share one. Removed, with what it holds, when the test ends.
#pragma once

#include <filesystem>
#include <stdexcept>
#include <string>

#include "platform/fresh_folder.h"

namespace vtx::test {

class TempFolder {
 public:
  explicit TempFolder(const std::string& stem) : path_(MakeFreshFolder(stem + "_")) {
    if (path_.empty()) throw std::runtime_error("cannot create a folder " + stem + "_...");
  }
  ~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::filesystem::path& Path() const { return path_; }
  std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

 private:
  std::filesystem::path path_;
};

}  // namespace vtx::test
