#include "emulator/host_objects/emu_strings.h"

#include <algorithm>

namespace vtx::emu {

int32_t EmuStrings::GetCount() {
  monitor_->Enter(op::KvStrings::GetCount);
  return static_cast<int32_t>(items_.size());
}

std::string EmuStrings::Item(int32_t index) {
  monitor_->Enter(op::KvStrings::Item, index);
  if (index < 0 || static_cast<size_t>(index) >= items_.size()) Raise(err::kSubscriptOutOfRange);
  return items_[index];
}

void EmuStrings::Add(const std::string& value) {
  monitor_->Enter(op::KvStrings::Add, value);
  items_.push_back(value);
}

int32_t EmuStrings::IndexOf(const std::string& value) {
  monitor_->Enter(op::KvStrings::IndexOf, value);
  auto it = std::find(items_.begin(), items_.end(), value);
  return it == items_.end() ? -1 : static_cast<int32_t>(it - items_.begin());
}

}  // namespace vtx::emu
