#include "call_monitor.h"

#include <cstdint>

namespace vtx::emu {

int64_t CallMonitor::Count(std::string_view operation) {
  // Literals lie close together: the address is mixed before it picks a slot.
  const uint64_t mixed = reinterpret_cast<uintptr_t>(operation.data()) * 0x9E3779B97F4A7C15ull;
  Recent& recent = recent_[mixed >> (64 - kRecentBits)];
  // The text is compared too: a name built at run time may reuse an address.
  if (!recent.entry || recent.text != operation.data() || recent.entry->first != operation) {
    auto it = counts_.find(operation);
    if (it == counts_.end()) it = counts_.emplace(std::string(operation), 0).first;
    // Entries of an unordered_map stay where they are as it grows.
    recent = Recent{operation.data(), &*it};
  }
  return ++recent.entry->second;
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
