#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include "runtime/case_mapping.h"

namespace vtx::text {

namespace {

// The system's invariant mapping, which is what string functions of the
// language use on Windows. Code points beyond the 16-bit plane map to
// themselves, as they do there.
char32_t MapCase(char32_t cp, DWORD how) {
  if (cp > 0xFFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return cp;
  wchar_t in = static_cast<wchar_t>(cp);
  wchar_t out = in;
  if (LCMapStringEx(LOCALE_NAME_INVARIANT, how, &in, 1, &out, 1, nullptr, nullptr, 0) != 1)
    return cp;
  return static_cast<char32_t>(out);
}

}  // namespace

char32_t UpperNonAscii(char32_t cp) { return MapCase(cp, LCMAP_UPPERCASE); }

char32_t LowerNonAscii(char32_t cp) { return MapCase(cp, LCMAP_LOWERCASE); }

}  // namespace vtx::text
