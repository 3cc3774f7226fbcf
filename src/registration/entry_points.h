#pragma once

#include <cstdint>
#include <string>

#include "runtime/dispatch.h"

namespace vtx {

// The four standard entry points of the in-process server, in their portable
// form: results are HRESULT values, classes are named by their CLSID string.
// They only hand over to the server module and the global class registry.
// Thread-safety: registration at set-up only; the other two may be called
// from any thread.

using HResult = int32_t;
inline constexpr HResult kSOk = 0;
inline constexpr HResult kSFalse = 1;
inline constexpr HResult kClassNotAvailable = static_cast<HResult>(0x80040111u);
inline constexpr HResult kSelfRegClassError = static_cast<HResult>(0x80040201u);

// Enters Application and clsNLS into ClassRegistry::Global().
HResult DllRegisterServer();
// Removes them again.
HResult DllUnregisterServer();
// A new object of the add-in class `clsid` in `object` (the caller owns it);
// kClassNotAvailable and Nothing for any other CLSID.
HResult DllGetClassObject(const std::string& clsid, Ref<Dispatch>& object);
// kSOk when no object of the add-in is alive and the server is not locked,
// kSFalse otherwise.
HResult DllCanUnloadNow();

}  // namespace vtx
