#pragma once

#include <cctype>
#include <string_view>

namespace vtx::emu {

// ASCII comparison without regard to letter case, as COM compares ProgIDs and
// Windows compares registry and configuration paths.
inline bool SameNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (std::toupper(static_cast<unsigned char>(a[i])) !=
        std::toupper(static_cast<unsigned char>(b[i])))
      return false;
  return true;
}

}  // namespace vtx::emu
