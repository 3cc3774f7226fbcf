#include "utils/cls_utils.h"

namespace vtx {

// Placeholder until the operations land.
void AddHistoryMethods(MethodTable<clsUtils>&) {}

}  // namespace vtx
