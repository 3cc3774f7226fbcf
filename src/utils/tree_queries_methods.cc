#include "utils/cls_utils.h"

namespace vtx {

// Placeholder until the operations land.
void AddTreeQueryMethods(MethodTable<clsUtils>&) {}

}  // namespace vtx
