// Deterministic, readable JSON text for transcripts: a container that fits on
// its line is written on one line ({"i2": 0}), a longer one is broken into one
// member per line, indented by two spaces.
#pragma once

#include <cstddef>
#include <string>

#include "cli/scenario/json_path.h"

namespace vtx::cli {

// Members keep their order; strings are UTF-8 (invalid bytes become U+FFFD);
// no trailing newline. `width` is the longest line a one-line container may
// make, counting its indentation.
std::string FormatJson(const Json& value, std::size_t width = 100);

// The value on one line, whatever its length.
std::string FormatJsonOneLine(const Json& value);

}  // namespace vtx::cli
