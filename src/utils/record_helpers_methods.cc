#include "utils/cls_utils.h"

namespace vtx {

// Placeholder until the operations land.
void AddRecordHelperMethods(MethodTable<clsUtils>&) {}

}  // namespace vtx
