#pragma once

#include "app/globals.h"

namespace vtx::testing {

// Saves this thread's module values and puts them back at the end of the
// scope, so a test that changes the language or the font leaves later tests
// on the same thread as it found them.
class ScopedModuleValues {
 public:
  ScopedModuleValues() : saved_(Globals()) {}
  ~ScopedModuleValues() { Globals() = saved_; }
  ScopedModuleValues(const ScopedModuleValues&) = delete;
  ScopedModuleValues& operator=(const ScopedModuleValues&) = delete;

 private:
  ModuleValues saved_;
};

}  // namespace vtx::testing
