#pragma once

namespace vtx::text {

// Case mapping of one code point beyond ASCII, by the operating system's
// Unicode tables (case_mapping_posix.cc, case_mapping_windows.cc). A code
// point without a case, or a machine without the tables, maps to itself.
// Pure functions; safe from any thread.
char32_t UpperNonAscii(char32_t cp);
char32_t LowerNonAscii(char32_t cp);

}  // namespace vtx::text
