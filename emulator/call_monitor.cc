#include "call_monitor.h"

namespace vtx::emu {

void CallMonitor::Enter(std::string_view operation, std::initializer_list<Variant> args) {
  if (paused_ > 0) return;
  auto it = counts_.find(operation);
  if (it == counts_.end()) it = counts_.emplace(std::string(operation), 0).first;
  const int64_t n = ++it->second;
  if (tracing_) trace_.push_back(TraceEntry{std::string(operation), std::vector<Variant>(args)});
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
