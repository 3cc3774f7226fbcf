#include "utils/cls_utils.h"

namespace vtx {

// Placeholder until the operations land.
void AddNameCheckMethods(MethodTable<clsUtils>&) {}

}  // namespace vtx
