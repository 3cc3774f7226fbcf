#include "com/com_string.h"

#include <new>

#include "runtime/text.h"

namespace vtx::com {

BSTR NewBstr(std::string_view utf8) {
  const std::u16string wide = text::ToUtf16(utf8);
  // wchar_t is UTF-16 on Windows, so the code units carry over unchanged.
  BSTR value = SysAllocStringLen(reinterpret_cast<const OLECHAR*>(wide.data()),
                                 static_cast<UINT>(wide.size()));
  if (!value) throw std::bad_alloc();
  return value;
}

std::string FromBstr(const BSTR value) {
  if (!value) return {};
  return text::ToUtf8(
      std::u16string_view(reinterpret_cast<const char16_t*>(value), SysStringLen(value)));
}

}  // namespace vtx::com
