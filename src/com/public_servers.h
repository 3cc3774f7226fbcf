#pragma once

#include <string_view>

#include "com/windows_api.h"
#include "runtime/dispatch.h"

namespace vtx::com {

// The COM object for a new instance of a public class of the add-in
// (Application or clsNLS, by CLSID in any letter case), serving its dual
// interface; null for any other CLSID. The caller owns the one reference.
IDispatch* NewPublicServer(std::string_view clsid, Ref<Dispatch> instance);

}  // namespace vtx::com
