// Reads the type library VTX_HA.dll carries and checks it against the COM
// identity the add-in registers: library name and id, the two classes with
// their CLSIDs, their default dual interfaces and the operations of each in
// slot order. Prints one line per mismatch; exit code 0 when none.
// Usage: type_library_check VTX_HA.dll
#include <array>
#include <cstdio>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "com/com_string.h"
#include "registration/com_identity.h"
#include "runtime/text.h"

namespace {

using vtx::com::FromBstr;
using vtx::registration::ClassIdentity;

int g_failures = 0;

void Expect(const std::string& what, const std::string& actual, std::string_view expected) {
  if (actual == expected) return;
  ++g_failures;
  std::printf("FAIL %s: expected \"%.*s\", got \"%s\"\n", what.c_str(),
              static_cast<int>(expected.size()), expected.data(), actual.c_str());
}

std::string GuidText(const GUID& guid) {
  wchar_t text[40] = {};
  StringFromGUID2(guid, text, 40);
  return vtx::text::ToUtf8(std::u16string(text, text + wcslen(text)));
}

std::string NameOf(ITypeInfo* info, MEMBERID id) {
  BSTR name = nullptr;
  if (FAILED(info->GetDocumentation(id, &name, nullptr, nullptr, nullptr))) return "?";
  std::string text = FromBstr(name);
  SysFreeString(name);
  return text;
}

// The operations of a dual interface, in slot order after IDispatch's own.
std::vector<std::string> OperationsOf(ITypeInfo* dual) {
  std::vector<std::string> names;
  ITypeInfo* vtable = dual;
  HREFTYPE reference = 0;
  // A dual interface is described twice; the vtable side orders the slots.
  if (SUCCEEDED(dual->GetRefTypeOfImplType(-1, &reference)))
    dual->GetRefTypeInfo(reference, &vtable);
  TYPEATTR* attributes = nullptr;
  vtable->GetTypeAttr(&attributes);
  std::vector<std::pair<SHORT, std::string>> slots;
  for (UINT i = 0; i < attributes->cFuncs; ++i) {
    FUNCDESC* function = nullptr;
    vtable->GetFuncDesc(i, &function);
    slots.emplace_back(function->oVft, NameOf(vtable, function->memid));
    vtable->ReleaseFuncDesc(function);
  }
  vtable->ReleaseTypeAttr(attributes);
  if (vtable != dual) vtable->Release();
  for (size_t i = 1; i < slots.size(); ++i)
    if (slots[i].first <= slots[i - 1].first) names.push_back("(slots out of order)");
  for (const auto& slot : slots) names.push_back(slot.second);
  return names;
}

template <size_t N>
void CheckClass(ITypeLib* library, const ClassIdentity& identity,
                const std::array<std::string_view, N>& operations) {
  const std::string name(identity.name);
  CLSID clsid{};
  std::u16string wide = vtx::text::ToUtf16(identity.clsid);
  CLSIDFromString(reinterpret_cast<LPCOLESTR>(wide.c_str()), &clsid);
  ITypeInfo* coclass = nullptr;
  if (FAILED(library->GetTypeInfoOfGuid(clsid, &coclass))) {
    Expect(name + " CLSID", "missing", identity.clsid);
    return;
  }
  Expect(name + " class name", NameOf(coclass, MEMBERID_NIL), identity.name);
  HREFTYPE reference = 0;
  ITypeInfo* dual = nullptr;
  coclass->GetRefTypeOfImplType(0, &reference);
  coclass->GetRefTypeInfo(reference, &dual);
  TYPEATTR* attributes = nullptr;
  dual->GetTypeAttr(&attributes);
  Expect(name + " interface", NameOf(dual, MEMBERID_NIL), identity.interface_name);
  Expect(name + " interface id", GuidText(attributes->guid), identity.interface_id);
  Expect(name + " interface is dual",
         (attributes->wTypeFlags & TYPEFLAG_FDUAL) ? "dual" : "not dual", "dual");
  dual->ReleaseTypeAttr(attributes);
  const std::vector<std::string> found = OperationsOf(dual);
  std::string expected_list;
  for (std::string_view operation : operations) expected_list += std::string(operation) + " ";
  std::string found_list;
  for (const std::string& operation : found) found_list += operation + " ";
  Expect(name + " operations in slot order", found_list, expected_list);
  std::printf("%s %s: %s: %s\n", name.c_str(), GuidText(clsid).c_str(),
              std::string(identity.interface_name).c_str(), found_list.c_str());
  dual->Release();
  coclass->Release();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::printf("usage: type_library_check VTX_HA.dll\n");
    return 2;
  }
  const std::u16string path = vtx::text::ToUtf16(argv[1]);
  ITypeLib* library = nullptr;
  if (FAILED(LoadTypeLibEx(reinterpret_cast<LPCOLESTR>(path.c_str()), REGKIND_NONE, &library))) {
    std::printf("FAIL no type library in %s\n", argv[1]);
    return 1;
  }
  BSTR name = nullptr;
  library->GetDocumentation(-1, &name, nullptr, nullptr, nullptr);
  Expect("library name", FromBstr(name), vtx::registration::kTypeLibraryName);
  SysFreeString(name);
  TLIBATTR* attributes = nullptr;
  library->GetLibAttr(&attributes);
  Expect("library id", GuidText(attributes->guid), vtx::registration::kTypeLibraryId);
  library->ReleaseTLibAttr(attributes);
  CheckClass(library, vtx::registration::kApplicationClass,
             vtx::registration::kApplicationOperations);
  CheckClass(library, vtx::registration::kNlsClass, vtx::registration::kNlsOperations);
  library->Release();
  std::printf("%s\n", g_failures ? "type library differs" : "type library matches");
  return g_failures ? 1 : 0;
}
