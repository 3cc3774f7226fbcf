// The registered DLL's view of the machine, turned to the scenario's.
#pragma once

#include "com/windows_api.h"

namespace vtx::cli {

// Points the imports of `module` (VTX_HA.dll, loaded into this process) for
// the computer and user names (GetComputerNameA, GetUserNameA), the
// environment (GetEnvironmentVariableW), the clock (GetLocalTime), message
// boxes (MessageBoxW), the statement Kill (DeleteFileW) and objects by ProgID (CLSIDFromProgID,
// CoCreateInstance) at functions of this program that answer from
// Platform::Current(), the run's scripted machine. Only this process's copy
// of the DLL changes; the file and its registration stay as shipped. Once per
// module; a null module is ignored.
void RedirectDllImports(HMODULE module);

}  // namespace vtx::cli
