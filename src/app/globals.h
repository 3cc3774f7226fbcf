#pragma once

#include <string>

namespace vtx {

// The add-in's module values: one copy per calling thread, rewritten by the
// start-up of every public call. The only state that outlives an operation.
struct ModuleValues {
  std::string SessionLanguage;    // the session's language code, possibly empty
  std::string InterfaceFontName;  // font of the add-in's dialogs
};

// This thread's module values.
ModuleValues& Globals();

}  // namespace vtx
