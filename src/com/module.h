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

// An interface id only this module answers to: `base` mixed with the address
// of `anchor`, an object of this module. Another module holding the same code
// in the same process (the DLL and a program linking the COM layer) has
// another address, hence another id, so that neither takes the other's
// objects for its own.
IID ModuleLocalIid(IID base, const void* anchor);

}  // namespace vtx::com
