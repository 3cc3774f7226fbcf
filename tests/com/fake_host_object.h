#pragma once

#include <functional>
#include <string>
#include <vector>

#include "com/com_string.h"
#include "com/windows_api.h"

namespace vtx::com::testing {

// A host COM object for the tests: answers GetIDsOfNames for the names it
// knows (ids from 1), records every Invoke, and lets a test answer it.
// Counts its references, so that a test sees every AddRef matched.
class FakeHostObject : public IDispatch {
 public:
  struct Call {
    std::string name;
    WORD flags = 0;
    std::vector<VARTYPE> types;  // as passed, first argument first
    UINT named = 0;
  };
  // Answers a call: fills `result`, may write through by-reference
  // arguments (first argument first), returns the HRESULT of Invoke.
  using Answer = std::function<HRESULT(DISPPARAMS& params, VARIANT* result, EXCEPINFO* info)>;

  explicit FakeHostObject(std::vector<std::string> names) : names_(std::move(names)) {}

  std::vector<Call> calls;
  Answer answer = [](DISPPARAMS&, VARIANT*, EXCEPINFO*) { return S_OK; };
  LONG references = 1;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
    if (riid == IID_IUnknown || riid == IID_IDispatch) {
      *object = this;
      AddRef();
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references; }
  ULONG STDMETHODCALLTYPE Release() override { return --references; }
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT, LCID,
                                          DISPID* ids) override {
    const std::string name = FromBstr(names[0]);
    for (size_t i = 0; i < names_.size(); ++i) {
      if (names_[i] == name) {
        ids[0] = static_cast<DISPID>(i + 1);
        return S_OK;
      }
    }
    return DISP_E_UNKNOWNNAME;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params,
                                   VARIANT* result, EXCEPINFO* info, UINT*) override {
    Call call;
    call.name = id == DISPID_VALUE ? "(default)" : names_.at(static_cast<size_t>(id) - 1);
    call.flags = flags;
    call.named = params->cNamedArgs;
    for (UINT i = params->cArgs; i > 0; --i) call.types.push_back(V_VT(&params->rgvarg[i - 1]));
    calls.push_back(call);
    return answer(*params, result, info);
  }

 private:
  std::vector<std::string> names_;
};

// The argument `index` (first argument 0) of an Invoke.
inline VARIANT& ArgumentOf(DISPPARAMS& params, UINT index) {
  return params.rgvarg[params.cArgs - 1 - index];
}

}  // namespace vtx::com::testing
