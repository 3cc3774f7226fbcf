#include "emulator/com/host_type_library.h"

#include <mutex>
#include <string>
#include <unordered_map>

namespace vtx::emu {

namespace {

struct IidHash {
  size_t operator()(const IID& iid) const {
    return iid.Data1 ^ (static_cast<size_t>(iid.Data2) << 16) ^ iid.Data3;
  }
};

ITypeLib* LoadLibraryOfThisModule() {
  HMODULE module = nullptr;
  if (!GetModuleHandleExW(
          GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
          reinterpret_cast<LPCWSTR>(&HostTypeInfo), &module))
    return nullptr;
  std::wstring path(MAX_PATH, L'\0');
  const DWORD length = GetModuleFileNameW(module, path.data(), static_cast<DWORD>(path.size()));
  if (length == 0 || length >= path.size()) return nullptr;
  path.resize(length);
  path += L"\\2";
  ITypeLib* library = nullptr;
  if (FAILED(LoadTypeLibEx(path.c_str(), REGKIND_NONE, &library))) return nullptr;
  return library;
}

}  // namespace

ITypeInfo* HostTypeInfo(REFIID iid) {
  // Both live as long as the process: the stubs hand the type information
  // to oleaut32 on every call.
  static ITypeLib* const library = LoadLibraryOfThisModule();
  static std::mutex mutex;
  static std::unordered_map<IID, ITypeInfo*, IidHash> infos;
  if (!library) return nullptr;
  std::lock_guard lock(mutex);
  ITypeInfo*& info = infos[iid];
  if (!info && FAILED(library->GetTypeInfoOfGuid(iid, &info))) info = nullptr;
  return info;
}

}  // namespace vtx::emu
