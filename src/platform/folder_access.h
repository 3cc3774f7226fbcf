#pragma once

#include <filesystem>

namespace vtx {

// Whether this process may create files in the existing folder `folder`:
// access(W_OK) on POSIX; on Windows, whose access check reads only the
// read-only attribute, not the folder's permissions, by creating a file there
// that is removed again at once (folder_access_posix.cc, _windows.cc).
bool MayWriteIn(const std::filesystem::path& folder);

}  // namespace vtx
