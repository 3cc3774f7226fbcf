// Reading JSON text that people write (scenarios, models): stricter than the
// library's reader, so that a mistake is reported with its path instead of
// being taken silently or crashing the command.
#pragma once

#include <cstddef>
#include <string>

#include "cli/scenario/json_path.h"

namespace vtx::cli {

// Objects and arrays nested deeper than this are refused; deeper documents
// would only exhaust the stack of the code that walks them.
inline constexpr std::size_t kMaxJsonDepth = 512;

// Parses `text`. Raises JsonPathError: "not valid JSON (byte N)" for a
// syntax error, and with the path of the offending entry for nesting deeper
// than kMaxJsonDepth, a key given twice in one object, or a number out of
// the range of a double.
Json ParseJsonText(const std::string& text);

}  // namespace vtx::cli
