#pragma once

#include <atomic>
#include <span>
#include <string_view>

#include "com/module.h"
#include "com/server_core.h"

namespace vtx::com {

// A COM object serving an add-in object through `Interface`: IDispatch
// itself, or a dual interface of the type library (then derived classes add
// the interface's own slots). Reference-counted as COM counts; deletes
// itself, and with it its reference to the add-in object, at the last
// Release. Reports errors through ISupportErrorInfo for early-bound callers.
// Thread-safety: apartment model; the count itself is atomic.
template <class Interface>
class ServerObject : public Interface, public ISupportErrorInfo, public ServerCore {
 public:
  // `iid` is the interface's identity (IID_IDispatch for none of our own).
  ServerObject(Ref<Dispatch> target, const IID& iid, std::span<const std::string_view> members)
      : ServerCore(std::move(target), members), iid_(iid) {}

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
    if (!object) return E_POINTER;
    if (riid == kServerCoreIid) {
      *object = static_cast<ServerCore*>(this);
      return S_OK;
    }
    if (riid == IID_IUnknown || riid == IID_IDispatch || riid == iid_) {
      *object = static_cast<Interface*>(this);
    } else if (riid == IID_ISupportErrorInfo) {
      *object = static_cast<ISupportErrorInfo*>(this);
    } else {
      *object = nullptr;
      return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = --references_;
    if (left == 0) delete this;
    return left;
  }

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
    hr = library->GetTypeInfoOfGuid(iid_, info);
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

  HRESULT STDMETHODCALLTYPE InterfaceSupportsErrorInfo(REFIID riid) override {
    return riid == iid_ || riid == IID_IDispatch ? S_OK : S_FALSE;
  }

 protected:
  ~ServerObject() override = default;

 private:
  bool HasTypeInfo() const { return iid_ != IID_IDispatch; }

  const IID iid_;
  std::atomic<ULONG> references_{1};
};

}  // namespace vtx::com
