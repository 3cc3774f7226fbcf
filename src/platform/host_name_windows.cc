#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <vector>

#include "platform/host_name.h"
#include "runtime/text.h"

namespace vtx {

std::string HostName() {
  DWORD size = 0;
  GetComputerNameExW(ComputerNameDnsHostname, nullptr, &size);
  if (size == 0) return {};
  std::vector<wchar_t> buffer(size);
  if (!GetComputerNameExW(ComputerNameDnsHostname, buffer.data(), &size)) return {};
  return text::ToUtf8(std::u16string(buffer.data(), buffer.data() + size));
}

}  // namespace vtx
