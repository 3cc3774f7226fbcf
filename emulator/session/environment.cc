#include "emulator/session/environment.h"

#include "emulator/session/no_case.h"

namespace vtx::emu {

const Variant* FindConfiguration(const Environment& environment, const std::string& path) {
  for (const auto& [key, value] : environment.configuration)
    if (SameNoCase(key, path)) return &value;
  return nullptr;
}

}  // namespace vtx::emu
