#include "registration/server_module.h"

#include <memory>
#include <string>

#include "app/application.h"
#include "nls/cls_nls.h"
#include "registration/com_identity.h"
#include "runtime/text.h"

namespace vtx::registration {

ServerModule& ServerModule::Instance() {
  static ServerModule module;
  return module;
}

template <class T>
Ref<Dispatch> ServerModule::CreateCounted() {
  ++live_objects_;
  // The count drops when the host releases its last reference, wherever that
  // happens.
  return Ref<Dispatch>(std::shared_ptr<T>(new T(), [this](T* object) {
    delete object;
    --live_objects_;
  }));
}

Ref<Dispatch> ServerModule::CreateInstance(std::string_view clsid) {
  const std::string wanted = text::UCase(clsid);
  if (wanted == kApplicationClass.clsid) return CreateCounted<Application>();
  if (wanted == kNlsClass.clsid) return CreateCounted<clsNLS>();
  return nullptr;
}

void ServerModule::RegisterClasses(ClassRegistry& registry) {
  for (const ClassIdentity& identity : kPublicClasses) {
    const std::string clsid(identity.clsid);
    registry.Register(std::string(identity.prog_id), clsid,
                      [this, clsid] { return CreateInstance(clsid); });
  }
}

void ServerModule::UnregisterClasses(ClassRegistry& registry) {
  for (const ClassIdentity& identity : kPublicClasses) {
    registry.Unregister(std::string(identity.prog_id));
  }
}

void ServerModule::LockServer(bool lock) {
  if (lock) {
    ++locks_;
  } else {
    --locks_;
  }
}

}  // namespace vtx::registration
