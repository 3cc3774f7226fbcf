#pragma once

#include "host/com_types.h"

namespace vtx {

// The script runtime's file-system object, as created through
// Platform::CreateObject. Thread-safety: used on the thread that created it.
#include "host/generate_interfaces.inc"

#include "platform/file_system_object.def"

#include "host/generate_end.inc"

}  // namespace vtx
