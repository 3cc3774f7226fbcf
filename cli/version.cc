#include "cli/version.h"

namespace vtx::cli {

std::string_view VersionText() { return "vtx " VTX_VERSION; }

}  // namespace vtx::cli
