// `vtx run --fault-loop`: every host call of every add-in call step made to
// fail once, in turn, with the outcome checked against the clean run.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>

#include "cli/scenario/scenario.h"

namespace vtx::cli {

struct FaultLoopOptions {
  // At most this many fault positions per step, spread evenly over its calls
  // and always holding the first and the last; 0: every position.
  int64_t sample = 0;
};

struct FaultLoopResult {
  int64_t pairs = 0;     // (step, n) pairs run
  int64_t problems = 0;  // pairs whose outcome broke a rule
};

// Runs the scenario once clean, tracing it, then once per (step, n): the n-th
// host call of the step fails once and the run stops after the step. Each
// faulted step must
//  - let the run go on (no broken run, no crash);
//  - either show the failure (an error reaching the caller, a result or a
//    message the clean step has not) and leave every object as it was before
//    the step or as the clean step left it (nothing half-written),
//  - or look exactly like the clean step and leave what it left, but for new
//    links left out: linking a stored record gives up silently by design
//    (otherwise a failure would be reported as success).
// Steps calling clsElectronicRecord are skipped: Korvel never calls it.
// One line per problem and a summary go to `out`.
FaultLoopResult RunFaultLoop(const Scenario& scenario, const FaultLoopOptions& options,
                             std::ostream& out);

}  // namespace vtx::cli
