#pragma once

#include "host/kv_forward.h"

namespace vtx {

// The start-up steps that every public call of Application runs first. They
// write this thread's module values (Globals()).

// Stores KvSession.GetLanguage into SessionLanguage. True when it is not
// empty. A failing host call is not trapped: it escapes to the caller.
bool ReadSessionLanguage(const Ref<KvSession>& KvSession);

// Stores the configured dialog font into InterfaceFontName, "MS Sans Serif"
// when the configuration has none. Never raises; False when reading failed
// (the font then is "MS Sans Serif" too).
bool ReadInterfaceFont(const Ref<KvSession>& KvSession);

}  // namespace vtx
