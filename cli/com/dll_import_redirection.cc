#include "cli/com/dll_import_redirection.h"

#include <cmath>
#include <cstring>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "com/com_variant.h"
#include "host/kv_components.h"
#include "platform/file_system_object.h"
#include "platform/platform.h"
#include "runtime/ole_date.h"
#include "runtime/runtime_error.h"
#include "runtime/text.h"

namespace vtx::cli {
namespace {

std::string Utf8(const wchar_t* wide) {
  if (!wide) return {};
  return text::ToUtf8(std::u16string(wide, wide + wcslen(wide)));
}

std::u16string Utf16(const std::string& utf8) { return text::ToUtf16(utf8); }

// `value` in the system's code page, as the ANSI calls give it.
std::string Ansi(const std::string& utf8) {
  const std::u16string wide = Utf16(utf8);
  if (wide.empty()) return {};
  const auto* w = reinterpret_cast<const wchar_t*>(wide.c_str());
  const int length = WideCharToMultiByte(CP_ACP, 0, w, -1, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(length), '\0');
  WideCharToMultiByte(CP_ACP, 0, w, -1, out.data(), length, nullptr, nullptr);
  out.resize(static_cast<size_t>(length) - 1);
  return out;
}

// Copies `value` and its NUL when `*size` holds them, as the name calls do.
BOOL GiveName(const std::string& value, LPSTR buffer, LPDWORD size, DWORD too_small,
              bool count_nul) {
  const DWORD needed = static_cast<DWORD>(value.size() + 1);
  if (!size || *size < needed || !buffer) {
    if (size) *size = needed;
    SetLastError(too_small);
    return FALSE;
  }
  std::memcpy(buffer, value.c_str(), needed);
  *size = count_nul ? needed : needed - 1;
  return TRUE;
}

BOOL WINAPI ScenarioComputerName(LPSTR buffer, LPDWORD size) {
  try {
    return GiveName(Ansi(Platform::Current().GetComputerName()), buffer, size,
                    ERROR_BUFFER_OVERFLOW, false);
  } catch (...) {
    SetLastError(ERROR_INTERNAL_ERROR);
    return FALSE;
  }
}

BOOL WINAPI ScenarioUserName(LPSTR buffer, LPDWORD size) {
  try {
    return GiveName(Ansi(Platform::Current().GetUserName()), buffer, size,
                    ERROR_INSUFFICIENT_BUFFER, true);
  } catch (...) {
    SetLastError(ERROR_INTERNAL_ERROR);
    return FALSE;
  }
}

DWORD WINAPI ScenarioEnvironment(LPCWSTR name, LPWSTR buffer, DWORD size) {
  try {
    const std::optional<std::string> value = Platform::Current().GetEnvironmentVariable(Utf8(name));
    if (!value) {
      SetLastError(ERROR_ENVVAR_NOT_FOUND);
      return 0;
    }
    const std::u16string wide = Utf16(*value);
    SetLastError(ERROR_SUCCESS);
    if (wide.size() >= size || !buffer) return static_cast<DWORD>(wide.size() + 1);
    std::memcpy(buffer, wide.c_str(), (wide.size() + 1) * sizeof(wchar_t));
    return static_cast<DWORD>(wide.size());
  } catch (...) {
    SetLastError(ERROR_ENVVAR_NOT_FOUND);
    return 0;
  }
}

void WINAPI ScenarioLocalTime(LPSYSTEMTIME time) {
  double now = 0;
  try {
    now = Platform::Current().Now();
  } catch (...) {
  }
  const date::DateParts parts = date::ToParts(now);
  *time = SYSTEMTIME{};
  time->wYear = static_cast<WORD>(parts.year);
  time->wMonth = static_cast<WORD>(parts.month);
  time->wDay = static_cast<WORD>(parts.day);
  time->wHour = static_cast<WORD>(parts.hour);
  time->wMinute = static_cast<WORD>(parts.minute);
  time->wSecond = static_cast<WORD>(parts.second);
  // Day 0, 1899-12-30, was a Saturday.
  const long long day = static_cast<long long>(std::floor(now));
  time->wDayOfWeek = static_cast<WORD>(((day % 7) + 13) % 7);
}

// The DLL writes its own name as the title of a box given none, which is
// how the scenario's log records such a box: without a title.
constexpr const wchar_t* kUntitledCaption = L"VTX_HA";

int WINAPI ScenarioMessageBox(HWND, LPCWSTR text, LPCWSTR caption, UINT style) {
  try {
    std::optional<std::string> title;
    if (caption && std::wcscmp(caption, kUntitledCaption) != 0) title = Utf8(caption);
    return Platform::Current().MessageBox(Utf8(text), static_cast<int32_t>(style), title);
  } catch (...) {
    return 0;
  }
}

// Kill: the file goes from the scenario's machine, whose files the
// platform's file-system object maps; its run-time errors become the
// system's.
BOOL WINAPI ScenarioDeleteFile(LPCWSTR path) {
  try {
    CastTo<FileSystemObject>(Platform::Current().CreateObject(progid::kFileSystemObject))
        ->DeleteFile(Utf8(path));
    return TRUE;
  } catch (const RuntimeError& e) {
    SetLastError(e.Number() == 53   ? ERROR_FILE_NOT_FOUND
                 : e.Number() == 70 ? ERROR_ACCESS_DENIED
                                    : ERROR_GEN_FAILURE);
  } catch (...) {
    SetLastError(ERROR_GEN_FAILURE);
  }
  return FALSE;
}

// A ProgID the DLL asked for is named by a class id of this program's own:
// its index in this list, under a fixed tail.
std::vector<std::string>& ProgIds() {
  static std::vector<std::string> prog_ids;
  return prog_ids;
}
constexpr GUID kProgIdClass = {0, 0x7674, 0x7878, {0x9c, 0x2e, 0x51, 0x0a, 0x8d, 0x36, 0x4b, 0x70}};

bool IsProgIdClass(REFCLSID clsid, size_t& index) {
  GUID tail = clsid;
  tail.Data1 = 0;
  if (!IsEqualGUID(tail, kProgIdClass) || clsid.Data1 >= ProgIds().size()) return false;
  index = clsid.Data1;
  return true;
}

HRESULT WINAPI ScenarioClassId(LPCOLESTR prog_id, LPCLSID clsid) {
  if (!prog_id || !clsid) return E_INVALIDARG;
  const std::string name = Utf8(prog_id);
  std::vector<std::string>& known = ProgIds();
  size_t index = 0;
  while (index < known.size() && known[index] != name) ++index;
  if (index == known.size()) known.push_back(name);
  *clsid = kProgIdClass;
  clsid->Data1 = static_cast<unsigned long>(index);
  return S_OK;
}

HRESULT WINAPI ScenarioCreateInstance(REFCLSID clsid, LPUNKNOWN outer, DWORD context, REFIID iid,
                                      LPVOID* out) {
  size_t index = 0;
  if (!IsProgIdClass(clsid, index)) return CoCreateInstance(clsid, outer, context, iid, out);
  if (!out) return E_POINTER;
  *out = nullptr;
  try {
    com::VariantHolder object;
    com::ToVariant(Variant(Platform::Current().CreateObject(ProgIds()[index])), object.value);
    if (V_VT(&object.value) != VT_DISPATCH || !V_DISPATCH(&object.value))
      return REGDB_E_CLASSNOTREG;
    return V_DISPATCH(&object.value)->QueryInterface(iid, out);
  } catch (...) {
    return REGDB_E_CLASSNOTREG;
  }
}

// Sets the import address slot of `function` from `dll` in `module` to
// `replacement`: the import directory's descriptors, each with its names
// (OriginalFirstThunk) and the slots the loader filled (FirstThunk).
void Redirect(HMODULE module, const char* dll, const char* function, void* replacement) {
  auto* base = reinterpret_cast<BYTE*>(module);
  const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
  const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  const IMAGE_DATA_DIRECTORY& imports =
      nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  if (!imports.VirtualAddress) return;
  for (auto* entry = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress);
       entry->Name; ++entry) {
    if (_stricmp(reinterpret_cast<const char*>(base + entry->Name), dll) != 0) continue;
    const DWORD names_at =
        entry->OriginalFirstThunk ? entry->OriginalFirstThunk : entry->FirstThunk;
    auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + names_at);
    auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + entry->FirstThunk);
    for (; names->u1.AddressOfData; ++names, ++slots) {
      if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
      const auto* by_name =
          reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
      if (std::strcmp(reinterpret_cast<const char*>(by_name->Name), function) != 0) continue;
      DWORD protection = 0;
      VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, PAGE_READWRITE, &protection);
      slots->u1.Function = reinterpret_cast<ULONG_PTR>(replacement);
      VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, protection, &protection);
    }
  }
}

}  // namespace

void RedirectDllImports(HMODULE module) {
  static std::set<HMODULE> done;
  if (!module || !done.insert(module).second) return;
  Redirect(module, "kernel32.dll", "GetComputerNameA",
           reinterpret_cast<void*>(&ScenarioComputerName));
  Redirect(module, "advapi32.dll", "GetUserNameA", reinterpret_cast<void*>(&ScenarioUserName));
  Redirect(module, "kernel32.dll", "GetEnvironmentVariableW",
           reinterpret_cast<void*>(&ScenarioEnvironment));
  Redirect(module, "kernel32.dll", "GetLocalTime", reinterpret_cast<void*>(&ScenarioLocalTime));
  Redirect(module, "kernel32.dll", "DeleteFileW", reinterpret_cast<void*>(&ScenarioDeleteFile));
  Redirect(module, "user32.dll", "MessageBoxW", reinterpret_cast<void*>(&ScenarioMessageBox));
  Redirect(module, "ole32.dll", "CLSIDFromProgID", reinterpret_cast<void*>(&ScenarioClassId));
  Redirect(module, "ole32.dll", "CoCreateInstance",
           reinterpret_cast<void*>(&ScenarioCreateInstance));
}

}  // namespace vtx::cli
