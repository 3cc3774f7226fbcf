// What the user saw during one step (message boxes, views, dialogs, change
// notifications, reports, files, host calls) in the transcript's JSON form.
#pragma once

#include <functional>
#include <string>

#include "cli/scenario/json_path.h"
#include "cli/scenario/value_encoder.h"
#include "emulator/emulated_host.h"

namespace vtx::cli {

// Names the class of a class id ("" for an unknown id).
using ClassNamer = std::function<std::string(int16_t)>;

// Adds "messages", "views", "dialogs", "notifications", "reports", "files"
// and, when `with_trace`, "trace" to `entry`, in that order.
void AddRecordings(const emu::StepRecordings& seen, const ClassNamer& class_name,
                   const ValueEncoder& encoder, bool with_trace, Json& entry);

// {"class": NAME, "id": N}
Json ObjectJson(const emu::ObjectRef& ref, const ClassNamer& class_name);

}  // namespace vtx::cli
