// File names are UTF-8 inside the program; std::filesystem::path reads a
// narrow string in the system's narrow encoding, which on Windows is not
// UTF-8 (mingw-w64's library takes each byte for a character). These convert
// through char8_t, which is UTF-8 on every system.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace vtx {

inline std::filesystem::path PathFromUtf8(std::string_view utf8) {
  return std::filesystem::path(
      std::u8string_view(reinterpret_cast<const char8_t*>(utf8.data()), utf8.size()));
}

inline std::string Utf8FromPath(const std::filesystem::path& path) {
  const std::u8string utf8 = path.u8string();
  return std::string(utf8.begin(), utf8.end());
}

}  // namespace vtx
