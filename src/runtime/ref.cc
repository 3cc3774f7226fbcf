#include "runtime/ref.h"

#include "runtime/runtime_error.h"

namespace vtx {

void RaiseObjectNotSet() { Raise(err::kObjectVariableNotSet); }

}  // namespace vtx
