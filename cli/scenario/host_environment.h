// The environment of a scenario applied to the emulated host's environment.
#pragma once

#include "cli/scenario/host_object_source.h"
#include "cli/scenario/scenario.h"
#include "emulator/session/environment.h"

namespace vtx::cli {

// Overwrites in `env` what `written` gives and leaves the rest. REQUIRES: the
// host's call monitor is paused (objects are looked up through `source`).
// A user named by id need not be stored (the host then reports its id and no
// object); one named by key or label must be: RunError otherwise.
void ApplyEnvironment(const WrittenEnvironment& written, HostObjectSource& source,
                      emu::Environment& env);

}  // namespace vtx::cli
