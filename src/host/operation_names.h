#pragma once

#include "host/com_types.h"

// The name of every host operation, "Interface.Operation", made from its
// declaration: op::KvSession::GetLanguage is "KvSession.GetLanguage". The
// emulated host counts, traces and fails each call under this name; a
// reference to an undeclared operation does not compile. Each name is one
// array for the whole program, so its address identifies it too.
namespace vtx::op {

#define VTX_HOST_INTERFACE(I, iid) namespace I {
#define VTX_HOST_OP(I, r, name, params) inline constexpr char name[] = #I "." #name;
#define VTX_HOST_LOCAL_OP VTX_HOST_OP
#define VTX_HOST_END(I) }
#include "host/all_operations.inc"

#include "host/generate_end.inc"

}  // namespace vtx::op
