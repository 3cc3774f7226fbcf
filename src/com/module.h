#pragma once

#include <string>

#include "com/windows_api.h"

namespace vtx::com {

// The DLL itself: its handle (set once by DllMain), its path and the type
// library it carries as resource 1.
// Thread-safety: SetModule runs in DllMain before any other call; the rest
// may run on any thread.

void SetModule(HINSTANCE module);
HINSTANCE Module();
// The full path of the DLL, as COM registers it.
std::wstring ModulePath();
// The type library "VTX_HA" read from the DLL; the caller releases it.
HRESULT LoadModuleTypeLib(ITypeLib** library);

}  // namespace vtx::com
