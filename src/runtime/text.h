#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// The language's string functions over UTF-8 text. Lengths, positions and
// counts are in UTF-16 code units, as COM strings count them; positions are
// 1-based as in the language. Case mapping covers non-ASCII letters (é <-> É).
// Malformed UTF-8 reads as U+FFFD; a surrogate pair cut in half by Left, Mid
// or Right comes back as U+FFFD, since UTF-8 cannot carry half a pair.
// Pure functions returning values; safe from any thread.
namespace vtx::text {

std::u16string ToUtf16(std::string_view utf8);
std::string ToUtf8(std::u16string_view utf16);

int32_t Len(std::string_view s);
// Whether `s` is well-formed UTF-8: no byte would read as U+FFFD.
bool IsValidUtf8(std::string_view s);
std::string Left(std::string_view s, int32_t length);   // raises 5 when length < 0
std::string Right(std::string_view s, int32_t length);  // raises 5 when length < 0
// Mid(s, start) and Mid(s, start, length); raises 5 when start < 1 or length < 0.
std::string Mid(std::string_view s, int32_t start);
std::string Mid(std::string_view s, int32_t start, int32_t length);
// InStr(start, haystack, needle), binary (case-sensitive) compare; 0 when absent.
// An empty needle gives start (when start <= Len + 1). Raises 5 when start < 1.
int32_t InStr(int32_t start, std::string_view haystack, std::string_view needle);
inline int32_t InStr(std::string_view haystack, std::string_view needle) {
  return InStr(1, haystack, needle);
}
// Equal texts ignoring the letter case of ASCII letters, as names of
// Automation members, environment variables and files compare.
bool SameNoCase(std::string_view a, std::string_view b);
std::string UCase(std::string_view s);
std::string LCase(std::string_view s);
std::string Trim(std::string_view s);  // removes leading and trailing spaces (U+0020) only
std::string LTrim(std::string_view s);
std::string RTrim(std::string_view s);
// Replace every occurrence of `find` (binary compare); an empty `find` returns s.
std::string Replace(std::string_view s, std::string_view find, std::string_view with);
// String(n, ch): n copies of one character.
std::string Repeat(int32_t count, char16_t ch);

}  // namespace vtx::text
