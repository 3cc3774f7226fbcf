#include "utils/cls_utils.h"

namespace vtx {

const MethodTable<clsUtils>& clsUtils::Methods() {
  static const MethodTable<clsUtils> table = [] {
    MethodTable<clsUtils> t;
    AddRecordHelperMethods(t);
    AddErrorReportingMethods(t);
    AddHistoryMethods(t);
    AddObjectCreationMethods(t);
    AddNameCheckMethods(t);
    AddTreeQueryMethods(t);
    AddListDisplayMethods(t);
    return t;
  }();
  return table;
}

Variant clsUtils::Invoke(std::string_view name, InvokeKind kind, std::vector<Variant>& args) {
  if (kind != InvokeKind::kMethod) return Dispatch::Invoke(name, kind, args);
  return Methods().Invoke(*this, name, args);
}

}  // namespace vtx
