#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "host/operation_names.h"
#include "runtime/variant.h"
#include "utils/string_map.h"

namespace vtx::emu {

// A fault to inject: the `call`-th call (1-based, counted over the whole run)
// of `operation` ("KvObject.Insert", "CreateHostComponent:KvGUISrv.KvCommonGUI")
// raises the run-time error; `persistent` makes every later call fail too.
struct Fault {
  std::string operation;
  int64_t call = 1;
  int32_t number = 0;
  std::string description;
  bool persistent = false;
};

// One argument of a traced call: its value as the host received it, and
// whether the operation takes it by reference (it may write it; see
// ByReference).
struct TracedArgument {
  template <typename T>
  TracedArgument(const T& argument) : value(argument) {}
  Variant value;
  bool by_reference = false;
};

// The name of a host operation known when the program is compiled (one of
// op::): a constant array lives as long as the program, so its address alone
// tells it from every other. Names built at run time go through EnterNamed.
class OperationName {
 public:
  template <size_t N>
  consteval OperationName(const char (&name)[N]) : text_(name, N - 1) {}
  std::string_view Text() const { return text_; }

 private:
  std::string_view text_;
};

// An argument the operation declares by reference, for Enter.
template <typename T>
TracedArgument ByReference(const T& argument) {
  TracedArgument traced(argument);
  traced.by_reference = true;
  return traced;
}

struct TraceEntry {
  std::string op;
  std::vector<TracedArgument> args;
};

// Watches every host operation the add-in calls: counts it, traces it when
// tracing is on, and raises the injected fault when its turn comes.
// Every emulated host operation starts with `Enter`.
// Thread-safety: none; one monitor per emulated host, used on one thread.
class CallMonitor {
 public:
  CallMonitor() = default;
  // Not copied: it remembers where its own entries are.
  CallMonitor(const CallMonitor&) = delete;
  CallMonitor& operator=(const CallMonitor&) = delete;

  // Counts and traces one call; raises RuntimeError when a fault is due.
  // Every host call passes here, so the arguments become Variants only while
  // tracing.
  template <typename... Args>
  void Enter(OperationName operation, const Args&... args) {
    if (paused_ > 0) return;
    Counted(operation.Text(), Count(operation), args...);
  }
  // The same for a name made at run time ("CreateObject:" and a ProgID).
  template <typename... Args>
  void EnterNamed(std::string_view operation, const Args&... args) {
    if (paused_ > 0) return;
    Counted(operation, ++EntryOf(operation).second, args...);
  }

  void AddFault(Fault fault) { faults_.push_back(std::move(fault)); }
  void SetTracing(bool on) { tracing_ = on; }
  const std::vector<TraceEntry>& Trace() const { return trace_; }
  // Hands over the trace recorded so far and starts a new one.
  std::vector<TraceEntry> TakeTrace();
  int64_t CallCount(std::string_view operation) const;

  // While a Pause lives, calls are neither counted, traced nor failed: the
  // host's own work (loading a scenario, host actions) is not the add-in's.
  class Pause {
   public:
    explicit Pause(CallMonitor& m) : m_(m) { ++m_.paused_; }
    ~Pause() { --m_.paused_; }
    Pause(const Pause&) = delete;
    Pause& operator=(const Pause&) = delete;

   private:
    CallMonitor& m_;
  };

 private:
  template <typename... Args>
  void Counted(std::string_view operation, int64_t n, const Args&... args) {
    if (tracing_)
      trace_.push_back(TraceEntry{std::string(operation), std::vector<TracedArgument>{args...}});
    if (!faults_.empty()) FailIfDue(operation, n);
  }
  // The call's number among those of `operation`, this one included.
  int64_t Count(OperationName operation);
  // The count kept for `operation`, made 0 when there is none.
  StringMap<int64_t>::value_type& EntryOf(std::string_view operation);
  void FailIfDue(std::string_view operation, int64_t n) const;

  std::vector<Fault> faults_;
  StringMap<int64_t> counts_;
  // The last entry found for each operation's address, so that most calls
  // find theirs without hashing the name.
  struct Recent {
    const char* text = nullptr;
    StringMap<int64_t>::value_type* entry = nullptr;
  };
  static constexpr int kRecentBits = 10;
  Recent recent_[size_t{1} << kRecentBits];
  std::vector<TraceEntry> trace_;
  bool tracing_ = false;
  int paused_ = 0;
};

}  // namespace vtx::emu
