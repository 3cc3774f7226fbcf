#pragma once

#include <ostream>

// Lets a table-driven test print its case by name, so that a listing or a
// failure reads "Configured" instead of the case's raw bytes. Put it after the
// case struct, in the struct's namespace; the struct needs a `name`.
#define VTX_PRINT_CASE_BY_NAME(Case) \
  [[maybe_unused]] inline void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }
