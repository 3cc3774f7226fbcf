// `vtx run SCENARIO.json [--out TRANSCRIPT.json] [--db DATABASE]`.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>

#include "cli/exit_status.h"
#include "cli/scenario/addin_binding.h"

namespace vtx::cli {

// Runs the scenario and writes its transcript to `out_file` (standard output
// when empty; never one of the run's inputs). Returns 0 when the scenario
// ran, 2 for an invalid scenario or model file or an `out_file` that is an
// input, 3 when a commit's outcome is unknown, 1 otherwise; messages go to
// `err`. `database` is where the run keeps its objects (a fresh one in
// memory when empty); `addin` how it reaches the add-in (null: in process).
int RunCommand(const std::string& scenario_file, const std::string& out_file, std::ostream& out,
               std::ostream& err, const std::string& database = {}, AddinBinding* addin = nullptr);

// `vtx run SCENARIO.json --fault-loop [--sample N]`: see fault_loop.h. Returns
// 0 when no faulted step broke a rule, 2 for an invalid file, 1 otherwise.
int FaultLoopCommand(const std::string& scenario_file, int64_t sample, std::ostream& out,
                     std::ostream& err, AddinBinding* addin = nullptr);

}  // namespace vtx::cli
