#include "com/object_bridge.h"

#include "com/foreign_object.h"
#include "com/server_object.h"

namespace vtx::com {

Ref<Dispatch> ImportObject(IDispatch* object) {
  if (!object) return nullptr;
  void* core = nullptr;
  if (SUCCEEDED(object->QueryInterface(ServerCoreIid(), &core)) && core)
    return static_cast<ServerCore*>(core)->Target();
  return MakeRef<LateBoundObject>(object);
}

IDispatch* ExportObject(const Ref<Dispatch>& object) {
  if (!object) return nullptr;
  if (auto* foreign = dynamic_cast<ForeignObject*>(object.get()); foreign && foreign->Pointer()) {
    foreign->Pointer()->AddRef();
    return foreign->Pointer();
  }
  return new ServerObject<IDispatch>(object, IID_IDispatch, {});
}

const ObjectBridge kAddInObjects{&ImportObject, &ExportObject};

}  // namespace vtx::com
