#pragma once

#include "com/windows_api.h"

namespace vtx::com {

// Self-registration of the DLL, as regsvr32 asks for it: for each public
// class its CLSID key (in-process server at this DLL's path, threading model
// Apartment, ProgID, type library) and its ProgID key, then the type library
// and its interfaces. Unregistering removes the same keys and the type
// library; keys already gone are not an error.
// Thread-safety: called once, from the registering process.
HRESULT RegisterServer();
HRESULT UnregisterServer();

}  // namespace vtx::com
