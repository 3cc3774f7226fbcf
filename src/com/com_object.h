#pragma once

#include "com/windows_api.h"

#include <atomic>

namespace vtx::com {

// IUnknown and ISupportErrorInfo of a COM object served through `Interface`
// (derived from IDispatch), whose own identity is `iid`: it answers
// IUnknown, IDispatch and `iid` with `Interface`, ISupportErrorInfo, and the
// module-private id `own_iid` with `own` (no reference added; see
// ModuleLocalIid). Reference-counted as COM counts; deletes itself at the
// last Release.
// Thread-safety: apartment model; the count itself is atomic.
template <class Interface>
class ComObject : public Interface, public ISupportErrorInfo {
 public:
  ComObject(const IID& iid, const IID& own_iid, void* own)
      : iid_(iid), own_iid_(own_iid), own_(own) {}

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
    if (!object) return E_POINTER;
    if (riid == own_iid_) {
      *object = own_;
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

  HRESULT STDMETHODCALLTYPE InterfaceSupportsErrorInfo(REFIID riid) override {
    return riid == iid_ || riid == IID_IDispatch ? S_OK : S_FALSE;
  }

 protected:
  virtual ~ComObject() = default;
  const IID& InterfaceId() const { return iid_; }

 private:
  const IID iid_;
  const IID own_iid_;
  void* const own_;
  std::atomic<ULONG> references_{1};
};

}  // namespace vtx::com
