// What a Korvel data model must hold for VTX_HA, checked the way the add-in
// looks things up (classes by name or table name, link classes by their ends
// or by their name), so that a gap found here is a failure the add-in would
// meet at run time.
#pragma once

#include <string>
#include <vector>

#include "emulator/store/model.h"

namespace vtx::cli {

// Returns one line per thing the add-in needs and does not find, each saying
// what is missing and what goes wrong without it; empty when the model is
// complete. `managed` names classes whose operations are hooked (each is
// checked with its family); the families that the model links to "History"
// are checked in any case.
// REQUIRES: every name in `managed` is a class of `model`.
std::vector<std::string> FindModelGaps(const emu::Model& model,
                                       const std::vector<std::string>& managed);

}  // namespace vtx::cli
