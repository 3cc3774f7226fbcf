#include "utils/cls_utils.h"

namespace vtx {

// Placeholder until the operations land.
void AddObjectCreationMethods(MethodTable<clsUtils>&) {}

}  // namespace vtx
