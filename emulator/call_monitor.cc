#include "call_monitor.h"

#include <cstdint>

namespace vtx::emu {

int64_t CallMonitor::Count(OperationName operation) {
  const std::string_view text = operation.Text();
  // Names lie close together: the address is mixed before it picks a slot.
  const uint64_t mixed = reinterpret_cast<uintptr_t>(text.data()) * 0x9E3779B97F4A7C15ull;
  Recent& recent = recent_[mixed >> (64 - kRecentBits)];
  if (!recent.entry || recent.text != text.data()) {
    // Entries of an unordered_map stay where they are as it grows.
    recent = Recent{text.data(), &EntryOf(text)};
  }
  return ++recent.entry->second;
}

StringMap<int64_t>::value_type& CallMonitor::EntryOf(std::string_view operation) {
  auto it = counts_.find(operation);
  if (it == counts_.end()) it = counts_.emplace(std::string(operation), 0).first;
  return *it;
}

void CallMonitor::FailIfDue(std::string_view operation, int64_t n) const {
  for (const Fault& f : faults_) {
    if (f.operation != operation) continue;
    if (n == f.call || (f.persistent && n > f.call)) Raise(f.number, f.description, "Korvel");
  }
}

std::vector<TraceEntry> CallMonitor::TakeTrace() {
  std::vector<TraceEntry> out;
  out.swap(trace_);
  return out;
}

int64_t CallMonitor::CallCount(std::string_view operation) const {
  auto it = counts_.find(operation);
  return it == counts_.end() ? 0 : it->second;
}

}  // namespace vtx::emu
