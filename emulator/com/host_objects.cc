#include "emulator/com/host_objects.h"

#include "com/foreign_object.h"
#include "com/module.h"

namespace vtx::emu {

const IID& HostStubIid() {
  // {4E2B9C61-7D35-4A0F-8B6E-1C9D3F5A7E22}, made this module's own.
  static const IID iid = com::ModuleLocalIid(
      {0x4e2b9c61, 0x7d35, 0x4a0f, {0x8b, 0x6e, 0x1c, 0x9d, 0x3f, 0x5a, 0x7e, 0x22}}, &iid);
  return iid;
}

Ref<Dispatch> ImportHostObject(IDispatch* object) {
  if (!object) return nullptr;
  void* identity = nullptr;
  if (SUCCEEDED(object->QueryInterface(HostStubIid(), &identity)) && identity)
    return static_cast<HostStubIdentity*>(identity)->Target();
  return MakeRef<com::LateBoundObject>(object);
}

IDispatch* ExportHostObject(const Ref<Dispatch>& object) {
  if (!object) return nullptr;
  if (auto* foreign = dynamic_cast<com::ForeignObject*>(object.get());
      foreign && foreign->Pointer()) {
    foreign->Pointer()->AddRef();
    return foreign->Pointer();
  }
  if (IDispatch* stub = NewHostStub(object)) return stub;
  return com::ExportObject(object);
}

const com::ObjectBridge kHostObjects{&ImportHostObject, &ExportHostObject};

}  // namespace vtx::emu
