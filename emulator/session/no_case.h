#pragma once

#include "runtime/text.h"

namespace vtx::emu {

// ASCII comparison without regard to letter case, as COM compares ProgIDs and
// Windows compares registry and configuration paths.
using text::SameNoCase;

}  // namespace vtx::emu
