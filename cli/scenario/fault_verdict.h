// What the fault loop concludes from one step run with a failing host call,
// compared with the same step run clean.
#pragma once

#include <map>
#include <string>

#include "cli/scenario/json_path.h"

namespace vtx::cli {

// Every stored object, keyed "class id:object id" ("link " before the key of
// a link object), with its values as a transcript writes them.
using StoreState = std::map<std::string, Json>;

struct StepOutcome {
  Json entry;         // the step's transcript entry
  StoreState before;  // the store when the step began
  StoreState after;   // the store when the step ended
};

// "" when the faulted step keeps the rules, else the broken rule in words.
// A faulted step either
//  - shows the failure (an error reaching the caller, a result False, status
//    1 of Application, a result or messages other than the clean step's) and
//    leaves every object as it was before the step or as the clean step left
//    it (nothing half-written, nothing lost);
//  - or looks like the clean step and leaves what it left, but for new links
//    left out: linking a stored record gives up silently by design.
// `class_name` is the add-in class the step calls.
std::string FaultVerdict(const std::string& class_name, const Json& faulted_entry,
                         const StoreState& faulted_after, const StepOutcome& clean);

}  // namespace vtx::cli
