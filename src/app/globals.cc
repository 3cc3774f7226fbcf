#include "app/globals.h"

namespace vtx {

ModuleValues& Globals() {
  // The add-in is apartment-threaded: each host thread keeps its own values,
  // so no call ever sees another thread's language or font.
  thread_local ModuleValues values;
  return values;
}

}  // namespace vtx
