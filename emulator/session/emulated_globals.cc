#include "emulator/session/emulated_globals.h"

namespace vtx::emu {

Variant EmulatedGlobals::GetValue(const std::string& name) {
  state_->Enter(op::KvGlobals::GetValue, name);
  return Peek(name);
}

void EmulatedGlobals::SetValue(const std::string& name, const Variant& value) {
  state_->Enter(op::KvGlobals::SetValue, name, value);
  Put(name, value);
}

Variant EmulatedGlobals::Peek(const std::string& name) const {
  auto it = values_.find(name);
  return it == values_.end() ? Variant::Null() : it->second;
}

}  // namespace vtx::emu
