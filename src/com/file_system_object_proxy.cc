#include "com/host_proxies.h"
#include "runtime/text.h"

namespace vtx::com {

// Deletion is the system's own (the statement Kill), with its error numbers,
// not a method of the script runtime's object.
void HostProxy<FileSystemObject>::DeleteFile(const std::string& path) {
  const std::u16string wide = text::ToUtf16(path);
  if (DeleteFileW(reinterpret_cast<const wchar_t*>(wide.c_str()))) return;
  switch (GetLastError()) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
      Raise(53, "File not found");
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
      Raise(70, "Permission denied");
    default:
      Raise(75, "Path/File access error");
  }
}

}  // namespace vtx::com
