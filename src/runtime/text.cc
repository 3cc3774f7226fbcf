#include "runtime/text.h"

#include <algorithm>

#include "runtime/case_mapping.h"
#include "runtime/runtime_error.h"

namespace vtx::text {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

// Decodes one code point at `i`, advancing it; malformed input gives U+FFFD
// for one byte so that decoding always makes progress.
char32_t DecodeUtf8(std::string_view s, size_t& i) {
  const auto byte = [&](size_t k) { return static_cast<unsigned char>(s[k]); };
  unsigned char b0 = byte(i);
  if (b0 < 0x80) {
    ++i;
    return b0;
  }
  int extra = 0;
  char32_t cp = 0;
  char32_t min = 0;
  if ((b0 & 0xE0) == 0xC0) {
    extra = 1, cp = b0 & 0x1F, min = 0x80;
  } else if ((b0 & 0xF0) == 0xE0) {
    extra = 2, cp = b0 & 0x0F, min = 0x800;
  } else if ((b0 & 0xF8) == 0xF0) {
    extra = 3, cp = b0 & 0x07, min = 0x10000;
  } else {
    ++i;
    return kReplacement;
  }
  if (i + extra >= s.size()) {
    ++i;
    return kReplacement;
  }
  for (int k = 1; k <= extra; ++k) {
    unsigned char b = byte(i + k);
    if ((b & 0xC0) != 0x80) {
      ++i;
      return kReplacement;
    }
    cp = (cp << 6) | (b & 0x3F);
  }
  if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
    ++i;
    return kReplacement;
  }
  i += extra + 1;
  return cp;
}

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

bool IsAscii(std::string_view s) {
  for (char c : s)
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  return true;
}

template <class Map>
std::string MapCodePoints(std::string_view s, Map map) {
  std::string out;
  out.reserve(s.size());
  size_t i = 0;
  while (i < s.size()) AppendUtf8(out, map(DecodeUtf8(s, i)));
  return out;
}

char32_t Upper(char32_t cp) {
  if (cp < 0x80) return (cp >= 'a' && cp <= 'z') ? cp - 32 : cp;
  return UpperNonAscii(cp);
}

char32_t Lower(char32_t cp) {
  if (cp < 0x80) return (cp >= 'A' && cp <= 'Z') ? cp + 32 : cp;
  return LowerNonAscii(cp);
}

}  // namespace

std::u16string ToUtf16(std::string_view utf8) {
  std::u16string out;
  out.reserve(utf8.size());
  size_t i = 0;
  while (i < utf8.size()) {
    char32_t cp = DecodeUtf8(utf8, i);
    if (cp >= 0x10000) {
      cp -= 0x10000;
      out.push_back(static_cast<char16_t>(0xD800 | (cp >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 | (cp & 0x3FF)));
    } else {
      out.push_back(static_cast<char16_t>(cp));
    }
  }
  return out;
}

std::string ToUtf8(std::u16string_view utf16) {
  std::string out;
  out.reserve(utf16.size());
  for (size_t i = 0; i < utf16.size(); ++i) {
    char32_t u = utf16[i];
    if (u >= 0xD800 && u <= 0xDBFF && i + 1 < utf16.size() && utf16[i + 1] >= 0xDC00 &&
        utf16[i + 1] <= 0xDFFF) {
      AppendUtf8(out, 0x10000 + ((u - 0xD800) << 10) + (utf16[i + 1] - 0xDC00));
      ++i;
    } else if (u >= 0xD800 && u <= 0xDFFF) {
      // Half of a pair cut off by Left/Mid/Right: UTF-8 cannot carry it.
      AppendUtf8(out, kReplacement);
    } else {
      AppendUtf8(out, u);
    }
  }
  return out;
}

int32_t Len(std::string_view s) {
  if (IsAscii(s)) return static_cast<int32_t>(s.size());
  return static_cast<int32_t>(ToUtf16(s).size());
}

bool IsValidUtf8(std::string_view s) {
  for (size_t i = 0; i < s.size();) {
    const size_t start = i;
    // A replacement character read from its own three bytes is text like any other.
    if (DecodeUtf8(s, i) == kReplacement && s.substr(start, i - start) != "\xEF\xBF\xBD")
      return false;
  }
  return true;
}

std::string Left(std::string_view s, int32_t length) {
  if (length < 0) Raise(err::kInvalidProcedureCall);
  if (IsAscii(s)) return std::string(s.substr(0, static_cast<size_t>(length)));
  std::u16string u = ToUtf16(s);
  return ToUtf8(std::u16string_view(u).substr(0, static_cast<size_t>(length)));
}

std::string Right(std::string_view s, int32_t length) {
  if (length < 0) Raise(err::kInvalidProcedureCall);
  std::u16string u = ToUtf16(s);
  size_t n = std::min(u.size(), static_cast<size_t>(length));
  return ToUtf8(std::u16string_view(u).substr(u.size() - n));
}

std::string Mid(std::string_view s, int32_t start) {
  if (start < 1) Raise(err::kInvalidProcedureCall);
  std::u16string u = ToUtf16(s);
  if (static_cast<size_t>(start) > u.size()) return {};
  return ToUtf8(std::u16string_view(u).substr(static_cast<size_t>(start) - 1));
}

std::string Mid(std::string_view s, int32_t start, int32_t length) {
  if (start < 1 || length < 0) Raise(err::kInvalidProcedureCall);
  std::u16string u = ToUtf16(s);
  if (static_cast<size_t>(start) > u.size()) return {};
  return ToUtf8(
      std::u16string_view(u).substr(static_cast<size_t>(start) - 1, static_cast<size_t>(length)));
}

int32_t InStr(int32_t start, std::string_view haystack, std::string_view needle) {
  if (start < 1) Raise(err::kInvalidProcedureCall);
  std::u16string h = ToUtf16(haystack);
  std::u16string n = ToUtf16(needle);
  if (static_cast<size_t>(start) > h.size() + 1) return 0;
  if (n.empty()) return start;
  size_t pos = h.find(n, static_cast<size_t>(start) - 1);
  return pos == std::u16string::npos ? 0 : static_cast<int32_t>(pos) + 1;
}

bool SameNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) !=
        std::tolower(static_cast<unsigned char>(b[i])))
      return false;
  return true;
}

std::string UCase(std::string_view s) { return MapCodePoints(s, Upper); }

std::string LCase(std::string_view s) { return MapCodePoints(s, Lower); }

std::string LTrim(std::string_view s) {
  size_t b = s.find_first_not_of(' ');
  return b == std::string_view::npos ? std::string() : std::string(s.substr(b));
}

std::string RTrim(std::string_view s) {
  size_t e = s.find_last_not_of(' ');
  return e == std::string_view::npos ? std::string() : std::string(s.substr(0, e + 1));
}

std::string Trim(std::string_view s) { return LTrim(RTrim(s)); }

std::string Replace(std::string_view s, std::string_view find, std::string_view with) {
  if (find.empty()) return std::string(s);
  std::string out;
  size_t pos = 0;
  for (size_t hit; (hit = s.find(find, pos)) != std::string_view::npos; pos = hit + find.size()) {
    out.append(s.substr(pos, hit - pos));
    out.append(with);
  }
  out.append(s.substr(pos));
  return out;
}

std::string Repeat(int32_t count, char16_t ch) {
  if (count < 0) Raise(err::kInvalidProcedureCall);
  std::u16string u(static_cast<size_t>(count), ch);
  return ToUtf8(u);
}

}  // namespace vtx::text
