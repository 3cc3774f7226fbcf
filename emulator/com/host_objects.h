#pragma once

#include "com/object_bridge.h"

namespace vtx::emu {

// Object references crossing COM on the host's side. The host hands out each
// of its objects as a COM stub of the host interface the object implements
// (host_stub.h), and receives:
// - one of its own stubs back as the host's own C++ object;
// - any other object (one of the add-in's) as an object it calls by name,
//   which also casts to a host interface (calling it by the operations'
//   names); handed out again, it is the very IDispatch that came in.
// An object that implements no host interface goes out as a late-bound
// server object (called by name through Dispatch::Invoke).
// Thread-safety: apartment model; objects are used on the thread that got them.

// What the host's side receives for `object` (not consumed; null is Nothing).
Ref<Dispatch> ImportHostObject(IDispatch* object);
// An IDispatch for `object` that the caller owns, or null for Nothing.
IDispatch* ExportHostObject(const Ref<Dispatch>& object);

// The host's side, for com::FromVariant, com::ToVariant and com::Declared.
extern const com::ObjectBridge kHostObjects;

// The stub of the host interface `object` implements (the first in
// declaration order), or null when it implements none. The caller owns it.
IDispatch* NewHostStub(const Ref<Dispatch>& object);

// Identifies a host stub of this module to QueryInterface: the answer is the
// stub's HostStubIdentity, with no reference added. The id is this module's
// own (com::ModuleLocalIid).
class HostStubIdentity {
 public:
  virtual Ref<Dispatch> Target() const = 0;

 protected:
  ~HostStubIdentity() = default;
};
const IID& HostStubIid();

}  // namespace vtx::emu
