#pragma once

#include <filesystem>
#include <string_view>

namespace vtx {

// Creates a new, empty folder in the system's temporary folder, named
// `prefix` and a unique suffix, that no other process can have created or be
// given (fresh_folder_posix.cc, fresh_folder_windows.cc). The caller owns it.
// Empty path when it cannot be created. Thread-safe.
std::filesystem::path MakeFreshFolder(std::string_view prefix);

}  // namespace vtx
