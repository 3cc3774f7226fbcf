#pragma once

#include <span>
#include <string_view>

#include "com/com_object.h"
#include "com/module.h"
#include "com/server_core.h"

namespace vtx::com {

// A COM object serving an add-in object through `Interface`: IDispatch
// itself, or a dual interface of the type library (then derived classes add
// the interface's own slots). Deletes itself, and with it its reference to
// the add-in object, at the last Release (ComObject). Reports errors through
// ISupportErrorInfo for early-bound callers.
// Thread-safety: apartment model; the count itself is atomic.
template <class Interface>
class ServerObject : public ComObject<Interface>, public ServerCore {
 public:
  // `iid` is the interface's identity (IID_IDispatch for none of our own).
  ServerObject(Ref<Dispatch> target, const IID& iid, std::span<const std::string_view> members)
      : ComObject<Interface>(iid, ServerCoreIid(), static_cast<ServerCore*>(this)),
        ServerCore(std::move(target), members) {}

  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    if (!count) return E_POINTER;
    *count = HasTypeInfo() ? 1 : 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID, ITypeInfo** info) override {
    if (!info) return E_POINTER;
    *info = nullptr;
    if (index != 0 || !HasTypeInfo()) return DISP_E_BADINDEX;
    ITypeLib* library = nullptr;
    HRESULT hr = LoadModuleTypeLib(&library);
    if (FAILED(hr)) return hr;
    hr = library->GetTypeInfoOfGuid(this->InterfaceId(), info);
    library->Release();
    return hr;
  }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID,
                                          DISPID* ids) override {
    return IdsOfNames(names, count, ids);
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params,
                                   VARIANT* result, EXCEPINFO* info, UINT* bad_argument) override {
    return InvokeMember(id, flags, params, result, info, bad_argument);
  }

 protected:
  ~ServerObject() override = default;

 private:
  bool HasTypeInfo() const { return this->InterfaceId() != IID_IDispatch; }
};

}  // namespace vtx::com
