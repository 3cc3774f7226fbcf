// The four entry points of the in-process server (exported by vtx_ha.def)
// and DllMain. They only hand over: to the class factory, the server module's
// counts and the self-registration.
#include <olectl.h>

#include <string>

#include "com/class_factory.h"
#include "com/com_error.h"
#include "com/module.h"
#include "com/self_registration.h"
#include "com/server_core.h"
#include "registration/com_identity.h"
#include "registration/server_module.h"
#include "runtime/text.h"

BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) vtx::com::SetModule(module);
  return TRUE;
}

STDAPI DllRegisterServer() {
  return vtx::com::GuardEntry(nullptr, [] { return vtx::com::RegisterServer(); });
}

STDAPI DllUnregisterServer() {
  return vtx::com::GuardEntry(nullptr, [] { return vtx::com::UnregisterServer(); });
}

STDAPI DllGetClassObject(REFCLSID clsid, REFIID riid, LPVOID* object) {
  if (!object) return E_POINTER;
  *object = nullptr;
  return vtx::com::GuardEntry(nullptr, [&]() -> HRESULT {
    wchar_t text[40] = {};
    if (StringFromGUID2(clsid, text, 40) == 0) return CLASS_E_CLASSNOTAVAILABLE;
    const std::u16string wide(text, text + wcslen(text));
    const std::string wanted = vtx::text::UCase(vtx::text::ToUtf8(wide));
    for (const auto& identity : vtx::registration::kPublicClasses) {
      if (wanted != identity.clsid) continue;
      auto* factory = new vtx::com::ClassFactory(wanted);
      const HRESULT hr = factory->QueryInterface(riid, object);
      factory->Release();
      return hr;
    }
    return CLASS_E_CLASSNOTAVAILABLE;
  });
}

STDAPI DllCanUnloadNow() {
  const bool idle = vtx::registration::ServerModule::Instance().CanUnload() &&
                    vtx::com::ServerCore::LiveObjects() == 0 &&
                    vtx::com::ClassFactory::LiveFactories() == 0;
  return idle ? S_OK : S_FALSE;
}
