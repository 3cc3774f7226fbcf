#include "emulator/host_objects/emu_header.h"

namespace vtx::emu {

int32_t EmuHeader::GetCount() {
  monitor_->Enter(op::KvHeader::GetCount);
  return static_cast<int32_t>(columns_.size());
}

Ref<KvHeaderField> EmuHeader::Item(int32_t index) {
  monitor_->Enter(op::KvHeader::Item, index);
  if (index < 0 || static_cast<size_t>(index) >= columns_.size()) Raise(err::kSubscriptOutOfRange);
  return MakeRef<EmuHeaderField>(monitor_, columns_[index]);
}

bool EmuHeader::HasColumn(const std::string& name) {
  monitor_->Enter(op::KvHeader::HasColumn, name);
  for (const Column& c : columns_)
    if (SameName(c.name, name)) return true;
  return false;
}

std::string EmuHeaderField::GetName() {
  monitor_->Enter(op::KvHeaderField::GetName);
  return column_.name;
}

int32_t EmuHeaderField::GetLength() {
  monitor_->Enter(op::KvHeaderField::GetLength);
  return column_.length;
}

int32_t EmuHeaderField::GetType() {
  monitor_->Enter(op::KvHeaderField::GetType);
  return column_.type;
}

}  // namespace vtx::emu
