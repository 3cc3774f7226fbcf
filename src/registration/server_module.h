#pragma once

#include <atomic>
#include <string_view>

#include "platform/class_registry.h"
#include "runtime/dispatch.h"

namespace vtx::registration {

// The add-in as an in-process server: creates its public classes, counts the
// objects alive and the server locks (so the server knows when it may be
// unloaded), and enters or removes its classes in a class registry.
// Thread-safety: the counters are atomic, so objects may be created and
// released on any thread; registering is done once, at set-up.
class ServerModule {
 public:
  static ServerModule& Instance();

  // Enters every public class (ProgID, CLSID, factory) into `registry`.
  void RegisterClasses(ClassRegistry& registry);
  // Removes the public classes; classes not registered are skipped.
  void UnregisterClasses(ClassRegistry& registry);

  // A new object of the class `clsid` (compared without letter case), or
  // Nothing when the class is not one of the add-in's. The object is counted
  // until its last reference goes; the caller owns it.
  Ref<Dispatch> CreateInstance(std::string_view clsid);

  void LockServer(bool lock);
  long LiveObjects() const { return live_objects_.load(); }
  long Locks() const { return locks_.load(); }
  bool CanUnload() const { return LiveObjects() == 0 && Locks() == 0; }

 private:
  template <class T>
  Ref<Dispatch> CreateCounted();

  std::atomic<long> live_objects_{0};
  std::atomic<long> locks_{0};
};

}  // namespace vtx::registration
