#include "registration/entry_points.h"

#include "platform/class_registry.h"
#include "registration/server_module.h"

namespace vtx {

using registration::ServerModule;

HResult DllRegisterServer() {
  try {
    ServerModule::Instance().RegisterClasses(ClassRegistry::Global());
    return kSOk;
  } catch (const RuntimeError&) {
    return kSelfRegClassError;
  }
}

HResult DllUnregisterServer() {
  try {
    ServerModule::Instance().UnregisterClasses(ClassRegistry::Global());
    return kSOk;
  } catch (const RuntimeError&) {
    return kSelfRegClassError;
  }
}

HResult DllGetClassObject(const std::string& clsid, Ref<Dispatch>& object) {
  object = ServerModule::Instance().CreateInstance(clsid);
  return object ? kSOk : kClassNotAvailable;
}

HResult DllCanUnloadNow() { return ServerModule::Instance().CanUnload() ? kSOk : kSFalse; }

}  // namespace vtx
