// The version string of the vtx command, fixed at build time.
#pragma once

#include <string_view>

namespace vtx::cli {

// Returns the version text printed by `vtx --version`, e.g. "vtx 0.1.0".
std::string_view VersionText();

}  // namespace vtx::cli
