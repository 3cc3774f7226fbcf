#include <locale.h>

#include <cwctype>

#include "runtime/case_mapping.h"

namespace vtx::text {

namespace {

// The UTF-8 locale for case mapping, created once per process; null when the
// machine has none.
locale_t CaseLocale() {
  static const locale_t locale = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(0));
  return locale;
}

}  // namespace

char32_t UpperNonAscii(char32_t cp) {
  locale_t loc = CaseLocale();
  if (!loc) return cp;
  return static_cast<char32_t>(towupper_l(static_cast<wint_t>(cp), loc));
}

char32_t LowerNonAscii(char32_t cp) {
  locale_t loc = CaseLocale();
  if (!loc) return cp;
  return static_cast<char32_t>(towlower_l(static_cast<wint_t>(cp), loc));
}

}  // namespace vtx::text
