#pragma once

#include <cstdint>

#include "runtime/runtime_error.h"

namespace vtx {

// Steps a 16-bit loop index the way the language's Integer arithmetic does:
// past 32767 it raises run-time error 6 (overflow) instead of wrapping, so a
// walk over a host collection of more than 32767 items fails as it would in
// the add-in's original runtime.
inline int16_t NextIndex(int16_t index) {
  if (index == INT16_MAX) Raise(err::kOverflow);
  return static_cast<int16_t>(index + 1);
}

}  // namespace vtx
