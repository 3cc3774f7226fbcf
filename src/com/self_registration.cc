#include "com/self_registration.h"

#include <string>
#include <string_view>

#include <olectl.h>

#include "com/module.h"
#include "registration/com_identity.h"
#include "runtime/text.h"

namespace vtx::com {

namespace {

using registration::ClassIdentity;
using registration::kPublicClasses;

std::wstring Wide(std::string_view utf8) {
  const std::u16string wide = text::ToUtf16(utf8);
  return std::wstring(wide.begin(), wide.end());
}

// Creates HKEY_CLASSES_ROOT\`key` and sets its value `name` (default when
// empty) to `value`.
LSTATUS SetClassesValue(const std::wstring& key, const std::wstring& name,
                        const std::wstring& value) {
  HKEY handle = nullptr;
  LSTATUS status = RegCreateKeyExW(HKEY_CLASSES_ROOT, key.c_str(), 0, nullptr,
                                   REG_OPTION_NON_VOLATILE, KEY_WRITE, nullptr, &handle, nullptr);
  if (status != ERROR_SUCCESS) return status;
  status = RegSetValueExW(handle, name.empty() ? nullptr : name.c_str(), 0, REG_SZ,
                          reinterpret_cast<const BYTE*>(value.c_str()),
                          static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
  RegCloseKey(handle);
  return status;
}

LSTATUS RemoveClassesKey(const std::wstring& key) {
  const LSTATUS status = RegDeleteTreeW(HKEY_CLASSES_ROOT, key.c_str());
  return status == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : status;
}

LSTATUS WriteClassKeys(const ClassIdentity& identity, const std::wstring& server_path,
                       const std::wstring& library_id) {
  const std::wstring clsid_key = L"CLSID\\" + Wide(identity.clsid);
  const std::wstring prog_id = Wide(identity.prog_id);
  const std::wstring entries[][3] = {
      {clsid_key, L"", prog_id},
      {clsid_key + L"\\InprocServer32", L"", server_path},
      {clsid_key + L"\\InprocServer32", L"ThreadingModel", Wide(registration::kThreadingModel)},
      {clsid_key + L"\\ProgID", L"", prog_id},
      {clsid_key + L"\\TypeLib", L"", library_id},
      {clsid_key + L"\\VERSION", L"", L"1.0"},
      {clsid_key + L"\\Programmable", L"", L""},
      {prog_id, L"", prog_id},
      {prog_id + L"\\CLSID", L"", Wide(identity.clsid)},
  };
  for (const auto& [key, name, value] : entries) {
    if (LSTATUS status = SetClassesValue(key, name, value); status != ERROR_SUCCESS) return status;
  }
  return ERROR_SUCCESS;
}

}  // namespace

HRESULT RegisterServer() {
  const std::wstring path = ModulePath();
  if (path.empty()) return SELFREG_E_CLASS;
  const std::wstring library_id = Wide(registration::kTypeLibraryId);
  for (const ClassIdentity& identity : kPublicClasses) {
    if (WriteClassKeys(identity, path, library_id) != ERROR_SUCCESS) {
      UnregisterServer();
      return SELFREG_E_CLASS;
    }
  }
  ITypeLib* library = nullptr;
  if (FAILED(LoadTypeLibEx(path.c_str(), REGKIND_REGISTER, &library))) {
    UnregisterServer();
    return SELFREG_E_TYPELIB;
  }
  library->Release();
  return S_OK;
}

HRESULT UnregisterServer() {
  HRESULT result = S_OK;
  for (const ClassIdentity& identity : kPublicClasses) {
    if (RemoveClassesKey(L"CLSID\\" + Wide(identity.clsid)) != ERROR_SUCCESS ||
        RemoveClassesKey(Wide(identity.prog_id)) != ERROR_SUCCESS)
      result = SELFREG_E_CLASS;
  }
  ITypeLib* library = nullptr;
  if (SUCCEEDED(LoadModuleTypeLib(&library))) {
    TLIBATTR* attributes = nullptr;
    if (SUCCEEDED(library->GetLibAttr(&attributes))) {
      const HRESULT hr =
          UnRegisterTypeLib(attributes->guid, attributes->wMajorVerNum, attributes->wMinorVerNum,
                            attributes->lcid, attributes->syskind);
      // A type library that was never registered leaves nothing to remove.
      if (FAILED(hr) && hr != TYPE_E_REGISTRYACCESS && hr != TYPE_E_CANTLOADLIBRARY)
        result = SELFREG_E_TYPELIB;
      library->ReleaseTLibAttr(attributes);
    }
    library->Release();
  }
  return result;
}

}  // namespace vtx::com
