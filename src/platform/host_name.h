// The network name of this machine.
#pragma once

#include <string>

namespace vtx {

// The machine's host name as the system gives it (gethostname; on Windows
// its DNS host name), not shortened; empty when the system has none.
// Thread-safe.
std::string HostName();

}  // namespace vtx
