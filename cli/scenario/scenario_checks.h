// The checks of a scenario that need the model and the add-in's declarations:
// every class a scenario names exists, every call names an operation and
// passes arguments that fit its parameters.
#pragma once

#include "cli/scenario/scenario.h"
#include "emulator/store/model.h"

namespace vtx::cli {

// Raises InvalidFileError (scenario file, JSON path, message) for the first
// entry that does not fit.
void CheckScenario(const Scenario& scenario, const emu::Model& model);

}  // namespace vtx::cli
