#pragma once

#include <string>

#include "com/windows_api.h"

namespace vtx::com {

// The class object COM asks DllGetClassObject for: makes instances of one
// public class of the add-in and forwards server locks to the server module.
// Thread-safety: the counts are atomic; instances follow the apartment model.
class ClassFactory final : public IClassFactory {
 public:
  explicit ClassFactory(std::string clsid);

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;
  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID riid, void** object) override;
  HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override;

  // Class objects alive in this process, for DllCanUnloadNow.
  static long LiveFactories();

 private:
  ~ClassFactory();

  std::string clsid_;
  LONG references_ = 1;
};

}  // namespace vtx::com
