#include "utils/cls_utils.h"

namespace vtx {

// Placeholder until the operations land.
void AddErrorReportingMethods(MethodTable<clsUtils>&) {}

}  // namespace vtx
