#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include "platform/folder_access.h"

namespace vtx {

bool MayWriteIn(const std::filesystem::path& folder) {
  // GetTempFileNameW creates a file of a name nobody holds; it goes at once.
  wchar_t name[MAX_PATH] = {};
  if (GetTempFileNameW(folder.c_str(), L"vtx", 0, name) == 0) return false;
  DeleteFileW(name);
  return true;
}

}  // namespace vtx
