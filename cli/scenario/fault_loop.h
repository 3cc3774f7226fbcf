// `vtx run --fault-loop`: every host call of every add-in call step made to
// fail once, in turn, with the outcome checked against the clean run.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

#include "cli/scenario/addin_binding.h"
#include "cli/scenario/scenario.h"

namespace vtx::cli {

struct FaultLoopOptions {
  // At most this many fault positions per step, spread evenly over its calls
  // and holding the first and (from two on) the last; 0: every position.
  int64_t sample = 0;
  // How the steps reach the add-in (not owned); null: directly, in process.
  AddinBinding* addin = nullptr;
};

struct FaultLoopResult {
  int64_t pairs = 0;     // (step, n) pairs run
  int64_t problems = 0;  // pairs whose outcome broke a rule
};

// Runs the scenario once clean, tracing it, then once per (step, n): the n-th
// host call of the step fails once and the run stops after the step. Each
// faulted step must let the run go on (no broken run, no crash) and earn an
// empty FaultVerdict. Steps calling clsElectronicRecord are skipped: Korvel
// never calls it. One line per problem and a summary go to `out`.
FaultLoopResult RunFaultLoop(const Scenario& scenario, const FaultLoopOptions& options,
                             std::ostream& out);

// The calls (1-based) of a step with `calls` host calls that the loop makes
// fail, in order: every one, or `sample` of them (>= 1) spread evenly, the
// first and (from two on) the last among them.
std::vector<int64_t> FaultPositions(int64_t calls, int64_t sample);

}  // namespace vtx::cli
