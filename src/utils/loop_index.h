#pragma once

#include <cstdint>

#include "runtime/runtime_error.h"

namespace vtx {

// Steps a 16-bit loop index the way the language's Integer arithmetic does:
// past 32767 it raises run-time error 6 (overflow) instead of wrapping, so a
// walk over a host collection of more than 32767 items fails as it would in
// the add-in's original runtime.
//
// Every walk over a host collection runs
//   for (int16_t i = 0; i < list->GetCount(); i = NextIndex(i))
// asking the host for the count again before each step, as Korvel sees the
// add-in do; a count that fails part-way reaches the walk's handler. Only a
// walk whose count is read in a step of its own keeps it in a local.
inline int16_t NextIndex(int16_t index) {
  if (index == INT16_MAX) Raise(err::kOverflow);
  return static_cast<int16_t>(index + 1);
}

}  // namespace vtx
