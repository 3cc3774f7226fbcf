#pragma once

#include "com/windows_api.h"

#include "runtime/dispatch.h"

namespace vtx::com {

// Object references across the COM boundary, in both directions. An object
// that crosses twice comes back as itself: a host object the add-in hands
// back is the host's own IDispatch, an add-in object the host hands back is
// the add-in's own object.
// Thread-safety: apartment model; objects are used on the creating thread.

// The add-in's reference to `object` (not consumed; null is Nothing): the
// add-in's own object when `object` is one the add-in exported, otherwise a
// late-bound object that calls it by name.
Ref<Dispatch> ImportObject(IDispatch* object);

// An IDispatch for `object` that the caller owns (one reference), or null
// for Nothing: the host's own pointer for an imported object, otherwise a new
// COM server object over the add-in's object.
IDispatch* ExportObject(const Ref<Dispatch>& object);

// Which side of the boundary VARIANTs are converted for: how that side
// imports an object reference it receives and exports one it hands out
// (both as ImportObject and ExportObject above).
struct ObjectBridge {
  Ref<Dispatch> (*import_object)(IDispatch* object);
  IDispatch* (*export_object)(const Ref<Dispatch>& object);
};

// The add-in's side: ImportObject and ExportObject.
extern const ObjectBridge kAddInObjects;

}  // namespace vtx::com
