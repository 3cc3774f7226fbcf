#include "com/module.h"

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

}  // namespace vtx::com
