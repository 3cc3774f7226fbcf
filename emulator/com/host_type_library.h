#pragma once

#include "com/windows_api.h"

namespace vtx::emu {

// The type information of the host interface `iid` (IKvSession, ...) in the
// host's type library, which travels in this module as resource 2 of type
// TYPELIB (korvel_host.rc). Loaded once; the answer stays valid for the
// life of the process and is not AddRef'd.
// Returns nullptr when the library cannot be loaded or has no such interface.
// Thread-safety: safe from any thread.
ITypeInfo* HostTypeInfo(REFIID iid);

}  // namespace vtx::emu
