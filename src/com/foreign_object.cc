#include "com/foreign_object.h"

#include "com/com_error.h"
#include "com/com_string.h"
#include "com/com_variant.h"

namespace vtx::com {

namespace {

WORD FlagsOf(InvokeKind kind) {
  switch (kind) {
    case InvokeKind::kMethod:
      return DISPATCH_METHOD | DISPATCH_PROPERTYGET;
    case InvokeKind::kPropertyGet:
      return DISPATCH_PROPERTYGET;
    case InvokeKind::kPropertyPut:
      return DISPATCH_PROPERTYPUT;
  }
  return DISPATCH_METHOD;
}

}  // namespace

ForeignObject::ForeignObject(IDispatch* object) : object_(object) {
  if (object_) object_->AddRef();
}

ForeignObject::~ForeignObject() {
  if (object_) object_->Release();
}

DISPID ForeignObject::IdOf(std::string_view name) {
  const std::string key(name);
  if (auto found = ids_.find(key); found != ids_.end()) return found->second;
  BstrHolder wide(name);
  LPOLESTR names[] = {wide.get()};
  DISPID id = DISPID_UNKNOWN;
  const HRESULT hr = object_->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
  if (FAILED(hr)) RaiseHResult(hr, name);
  ids_.emplace(key, id);
  return id;
}

Variant ForeignObject::CallByName(std::string_view name, InvokeKind kind,
                                  std::vector<Variant>& args, Passing passing) {
  if (!object_) RaiseObjectNotSet();
  return InvokeId(IdOf(name), name, kind, args, passing);
}

Variant ForeignObject::DefaultValue() {
  std::vector<Variant> none;
  if (!object_) RaiseObjectNotSet();
  return InvokeId(DISPID_VALUE, "", InvokeKind::kPropertyGet, none, Passing::kByValue);
}

Variant ForeignObject::InvokeId(DISPID id, std::string_view name, InvokeKind kind,
                                std::vector<Variant>& args, Passing passing) {
  const size_t count = args.size();
  // Each argument's value, and for a call by reference the VARIANT that
  // points at it. Invoke takes the arguments last to first.
  std::vector<VariantHolder> values(count);
  std::vector<VARIANT> passed(count);
  for (size_t i = 0; i < count; ++i) {
    VARIANT& value = values[i].value;
    ToVariant(args[i], value);
    VARIANT& slot = passed[count - 1 - i];
    if (passing == Passing::kByReference) {
      VariantInit(&slot);
      V_VT(&slot) = VT_BYREF | VT_VARIANT;
      V_VARIANTREF(&slot) = &value;
    } else {
      slot = value;
    }
  }
  DISPPARAMS params{};
  params.rgvarg = passed.empty() ? nullptr : passed.data();
  params.cArgs = static_cast<UINT>(count);
  DISPID put_id = DISPID_PROPERTYPUT;
  const WORD flags = FlagsOf(kind);
  if (flags == DISPATCH_PROPERTYPUT) {
    params.rgdispidNamedArgs = &put_id;
    params.cNamedArgs = 1;
  }
  VariantHolder result;
  InvokeRaw(id, name, flags, params, result.value);
  if (passing == Passing::kByReference) {
    for (size_t i = 0; i < count; ++i) args[i] = FromVariant(values[i].value);
  }
  return FromVariant(result.value);
}

void ForeignObject::CallWith(std::string_view name, VARIANT* args, UINT count, VARIANT& result) {
  if (!object_) RaiseObjectNotSet();
  DISPPARAMS params{};
  params.rgvarg = count ? args : nullptr;
  params.cArgs = count;
  InvokeRaw(IdOf(name), name, FlagsOf(InvokeKind::kMethod), params, result);
}

void ForeignObject::InvokeRaw(DISPID id, std::string_view name, WORD flags, DISPPARAMS& params,
                              VARIANT& result) {
  EXCEPINFO info{};
  UINT bad_argument = 0;
  const HRESULT hr = object_->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, &result,
                                     &info, &bad_argument);
  if (FAILED(hr)) RaiseInvokeFailure(hr, info, name);
}

Ref<Dispatch> LateBoundObject::AdaptTo(const std::type_info& type) {
  return AdaptForeign(Pointer(), type);
}

}  // namespace vtx::com
