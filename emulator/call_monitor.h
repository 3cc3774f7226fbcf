#pragma once

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "runtime/variant.h"

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

struct TraceEntry {
  std::string op;
  std::vector<Variant> args;
};

// Watches every host operation the add-in calls: counts it, traces it when
// tracing is on, and raises the injected fault when its turn comes.
// Every emulated host operation starts with `Enter`.
// Thread-safety: none; one monitor per emulated host, used on one thread.
class CallMonitor {
 public:
  // Counts and traces one call; raises RuntimeError when a fault is due.
  // The arguments are copied only when tracing: every host call passes here.
  void Enter(std::string_view operation, std::initializer_list<Variant> args = {});

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
  std::vector<Fault> faults_;
  struct NameHash {
    using is_transparent = void;
    size_t operator()(std::string_view name) const { return std::hash<std::string_view>{}(name); }
  };
  std::unordered_map<std::string, int64_t, NameHash, std::equal_to<>> counts_;
  std::vector<TraceEntry> trace_;
  bool tracing_ = false;
  int paused_ = 0;
};

}  // namespace vtx::emu
