#include "emulator/session/emulated_platform.h"

namespace vtx::emu {

Ref<Dispatch> EmulatedPlatform::CreateObject(const std::string& prog_id) {
  state_->EnterNamed("CreateObject:" + prog_id);
  if (state_->registry.IsRegistered(prog_id)) return state_->registry.Create(prog_id);
  return state_->platform->CreateObject(prog_id);
}

}  // namespace vtx::emu
