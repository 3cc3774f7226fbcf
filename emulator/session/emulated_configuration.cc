#include "emulator/session/emulated_configuration.h"

namespace vtx::emu {

Variant EmulatedConfiguration::GetValue(const std::string& path) {
  state_->Enter(op::KvConfiguration::GetValue, path);
  const Variant* value = FindConfiguration(state_->environment, path);
  return value ? *value : Variant(std::string());
}

}  // namespace vtx::emu
