// How a run reaches the add-in's classes: by default in this process, each
// call made directly; a front end may route them elsewhere (vtx.exe through
// COM and the registered DLL).
#pragma once

#include <vector>

#include "cli/scenario/addin_classes.h"

namespace vtx::cli {

// Thread-safety: used on the run's thread only.
class AddinBinding {
 public:
  virtual ~AddinBinding() = default;
  // A new instance of `add_in_class`, kept for the rest of the run.
  virtual Ref<Dispatch> Create(const AddinClass& add_in_class) { return add_in_class.create(); }
  // Calls `method` on an instance made by Create; by-reference arguments
  // come back through `args`, also when the call raises.
  virtual Variant Invoke(const AddinClass& add_in_class, Dispatch& instance,
                         const MethodInfo& method, std::vector<Variant>& args) {
    return add_in_class.invoke(instance, method, args);
  }
};

}  // namespace vtx::cli
