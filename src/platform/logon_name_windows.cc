#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <vector>

#include "platform/logon_name.h"
#include "runtime/text.h"

namespace vtx {

std::string LogonName() {
  std::vector<wchar_t> buffer(257);
  DWORD size = static_cast<DWORD>(buffer.size());
  if (!GetUserNameW(buffer.data(), &size)) {
    if (GetLastError() != ERROR_INSUFFICIENT_BUFFER) return {};
    buffer.resize(size);
    if (!GetUserNameW(buffer.data(), &size)) return {};
  }
  return text::ToUtf8(std::u16string(buffer.data(), buffer.data() + size - 1));
}

}  // namespace vtx
