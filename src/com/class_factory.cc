#include "com/class_factory.h"

#include <atomic>

#include "com/com_error.h"
#include "com/public_servers.h"
#include "registration/server_module.h"

namespace vtx::com {

namespace {

std::atomic<long> g_live_factories{0};

}  // namespace

ClassFactory::ClassFactory(std::string clsid) : clsid_(std::move(clsid)) { ++g_live_factories; }

ClassFactory::~ClassFactory() { --g_live_factories; }

long ClassFactory::LiveFactories() { return g_live_factories.load(); }

HRESULT ClassFactory::QueryInterface(REFIID riid, void** object) {
  if (!object) return E_POINTER;
  if (riid != IID_IUnknown && riid != IID_IClassFactory) {
    *object = nullptr;
    return E_NOINTERFACE;
  }
  *object = static_cast<IClassFactory*>(this);
  AddRef();
  return S_OK;
}

ULONG ClassFactory::AddRef() { return static_cast<ULONG>(InterlockedIncrement(&references_)); }

ULONG ClassFactory::Release() {
  const LONG left = InterlockedDecrement(&references_);
  if (left == 0) delete this;
  return static_cast<ULONG>(left);
}

HRESULT ClassFactory::CreateInstance(IUnknown* outer, REFIID riid, void** object) {
  if (!object) return E_POINTER;
  *object = nullptr;
  if (outer) return CLASS_E_NOAGGREGATION;
  return GuardEntry(nullptr, [&]() -> HRESULT {
    Ref<Dispatch> instance = registration::ServerModule::Instance().CreateInstance(clsid_);
    if (!instance) return CLASS_E_CLASSNOTAVAILABLE;
    IDispatch* server = NewPublicServer(clsid_, std::move(instance));
    if (!server) return CLASS_E_CLASSNOTAVAILABLE;
    const HRESULT hr = server->QueryInterface(riid, object);
    server->Release();
    return hr;
  });
}

HRESULT ClassFactory::LockServer(BOOL lock) {
  registration::ServerModule::Instance().LockServer(lock != FALSE);
  return S_OK;
}

}  // namespace vtx::com
