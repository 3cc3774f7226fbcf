#include "com/server_core.h"

#include <atomic>
#include <cctype>

#include "com/com_error.h"
#include "com/com_string.h"
#include "com/com_variant.h"
#include "com/module.h"

namespace vtx::com {

namespace {

std::atomic<long> g_live_objects{0};

}  // namespace

const IID& ServerCoreIid() {
  // {0B6F1C1E-3D52-4D8A-9A4C-5E7A2F9C1D10}, made this module's own.
  static const IID iid =
      ModuleLocalIid({0x0b6f1c1e, 0x3d52, 0x4d8a, {0x9a, 0x4c, 0x5e, 0x7a, 0x2f, 0x9c, 0x1d, 0x10}},
                     &g_live_objects);
  return iid;
}

namespace {

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) !=
        std::tolower(static_cast<unsigned char>(b[i])))
      return false;
  }
  return true;
}

InvokeKind KindOf(WORD flags) {
  if (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) return InvokeKind::kPropertyPut;
  if (flags & DISPATCH_METHOD) return InvokeKind::kMethod;
  return InvokeKind::kPropertyGet;
}

}  // namespace

ServerCore::ServerCore(Ref<Dispatch> target, std::span<const std::string_view> members)
    : target_(std::move(target)), fixed_(!members.empty()) {
  for (std::string_view member : members) names_.emplace_back(member);
  ++g_live_objects;
}

ServerCore::~ServerCore() { --g_live_objects; }

long ServerCore::LiveObjects() { return g_live_objects.load(); }

std::string_view ServerCore::NameOf(DISPID id) const {
  if (id < 1 || static_cast<size_t>(id) > names_.size()) return {};
  return names_[static_cast<size_t>(id) - 1];
}

HRESULT ServerCore::IdsOfNames(LPOLESTR* names, UINT count, DISPID* ids) {
  return GuardEntry(nullptr, [&]() -> HRESULT {
    if (!names || !ids) return E_POINTER;
    if (count == 0) return S_OK;
    // Only the member name is looked up; named arguments are not supported.
    for (UINT i = 1; i < count; ++i) ids[i] = DISPID_UNKNOWN;
    const std::string wanted = FromBstr(names[0]);
    for (size_t i = 0; i < names_.size(); ++i) {
      if (SameName(names_[i], wanted)) {
        ids[0] = static_cast<DISPID>(i + 1);
        return count == 1 ? S_OK : DISP_E_UNKNOWNNAME;
      }
    }
    if (fixed_) {
      ids[0] = DISPID_UNKNOWN;
      return DISP_E_UNKNOWNNAME;
    }
    names_.push_back(wanted);
    ids[0] = static_cast<DISPID>(names_.size());
    return count == 1 ? S_OK : DISP_E_UNKNOWNNAME;
  });
}

HRESULT ServerCore::InvokeMember(DISPID id, WORD flags, DISPPARAMS* params, VARIANT* result,
                                 EXCEPINFO* info, UINT* bad_argument) {
  return GuardEntry(info, [&]() -> HRESULT {
    if (!params) return E_POINTER;
    const InvokeKind kind = KindOf(flags);
    const UINT named = params->cNamedArgs;
    if (named > 1 || (named == 1 && (kind != InvokeKind::kPropertyPut ||
                                     params->rgdispidNamedArgs[0] != DISPID_PROPERTYPUT)))
      return DISP_E_NONAMEDARGS;
    const std::string_view name = NameOf(id);
    if (name.empty() && id != DISPID_VALUE) return DISP_E_MEMBERNOTFOUND;

    // rgvarg holds the arguments last to first; the value of a property put
    // is its first entry and our last argument.
    const UINT count = params->cArgs;
    std::vector<Variant> args;
    args.reserve(count);
    for (UINT i = 0; i < count; ++i) {
      const UINT slot = count - 1 - i;
      try {
        args.push_back(FromVariant(params->rgvarg[slot]));
      } catch (...) {
        if (bad_argument) *bad_argument = slot;
        throw;
      }
    }
    if (id == DISPID_VALUE && name.empty()) {
      if (kind != InvokeKind::kPropertyGet || count != 0) return DISP_E_MEMBERNOTFOUND;
      Variant value = target_->GetDefaultValue();
      if (result) ToVariant(value, *result);
      return S_OK;
    }
    Variant value = target_->Invoke(name, kind, args);
    for (UINT i = 0; i < count; ++i) {
      VARIANT& passed = params->rgvarg[count - 1 - i];
      if (V_VT(&passed) & VT_BYREF) WriteByRef(args[i], passed);
    }
    if (result) {
      VariantInit(result);
      ToVariant(value, *result);
    }
    return S_OK;
  });
}

Variant ServerCore::CallMember(std::string_view name, std::vector<Variant>& args) {
  return target_->Invoke(name, InvokeKind::kMethod, args);
}

}  // namespace vtx::com
