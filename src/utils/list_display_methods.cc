#include "utils/cls_utils.h"

namespace vtx {

// Placeholder until the operations land.
void AddListDisplayMethods(MethodTable<clsUtils>&) {}

}  // namespace vtx
