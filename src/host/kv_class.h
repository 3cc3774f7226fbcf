#pragma once

#include "host/kv_forward.h"

namespace vtx {

#include "host/generate_interfaces.inc"

#include "host/kv_class.def"

#include "host/generate_end.inc"

}  // namespace vtx
