#include "emulator/host_objects/emu_options.h"

#include <string>

namespace vtx::emu {

Ref<KvOptions> EmuOptions::Copy() {
  monitor_->Enter(op::KvOptions::Copy);
  return MakeRef<EmuOptions>(monitor_, settings_);
}

void EmuOptions::Record(const char* name, int32_t value) { settings_.emplace_back(name, value); }

void EmuOptions::SetMode(int32_t mode) {
  monitor_->Enter(op::KvOptions::SetMode, mode);
  Record("SetMode", mode);
}

void EmuOptions::SetModeB(int32_t mode) {
  monitor_->Enter(op::KvOptions::SetModeB, mode);
  Record("SetModeB", mode);
}

void EmuOptions::SetModeC(int32_t mode) {
  monitor_->Enter(op::KvOptions::SetModeC, mode);
  Record("SetModeC", mode);
}

void EmuOptions::SetFlagA(bool flag) {
  monitor_->Enter(op::KvOptions::SetFlagA, flag);
  Record("SetFlagA", flag ? -1 : 0);
}

void EmuOptions::SetFlagB(bool flag) {
  monitor_->Enter(op::KvOptions::SetFlagB, flag);
  Record("SetFlagB", flag ? -1 : 0);
}

void EmuOptions::SetFlagC(bool flag) {
  monitor_->Enter(op::KvOptions::SetFlagC, flag);
  Record("SetFlagC", flag ? -1 : 0);
}

}  // namespace vtx::emu
