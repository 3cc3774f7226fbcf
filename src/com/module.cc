#include "com/module.h"

#include <cstdint>
#include <vector>

namespace vtx::com {

namespace {

HINSTANCE g_module = nullptr;

}  // namespace

void SetModule(HINSTANCE module) { g_module = module; }

HINSTANCE Module() { return g_module; }

std::wstring ModulePath() {
  std::vector<wchar_t> buffer(MAX_PATH);
  for (;;) {
    const DWORD length =
        GetModuleFileNameW(g_module, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0) return {};
    if (length < buffer.size()) return std::wstring(buffer.data(), length);
    buffer.resize(buffer.size() * 2);
  }
}

HRESULT LoadModuleTypeLib(ITypeLib** library) {
  const std::wstring path = ModulePath();
  if (path.empty()) return HRESULT_FROM_WIN32(GetLastError());
  return LoadTypeLibEx(path.c_str(), REGKIND_NONE, library);
}

IID ModuleLocalIid(IID base, const void* anchor) {
  const auto address = static_cast<uint64_t>(reinterpret_cast<uintptr_t>(anchor));
  base.Data1 ^= static_cast<uint32_t>(address);
  base.Data2 ^= static_cast<uint16_t>(address >> 32);
  return base;
}

}  // namespace vtx::com
