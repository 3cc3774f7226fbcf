#include "utils/cls_utils.h"

namespace vtx {

namespace {

// The error object a caller hands to GetError: an object with the properties
// "Number" and "Description", or, for callers without one, the array
// (number, description).
RuntimeError ErrorFrom(const Variant& error) {
  if (error.IsArray()) {
    const Variant::Array& parts = error.Elements();
    if (parts.size() != 2) Raise(err::kTypeMismatch);
    return RuntimeError(parts[0].ToInt32(), parts[1].ToString());
  }
  Ref<Dispatch> object = error.ToObject();
  return RuntimeError(object->GetProperty("Number").ToInt32(),
                      object->GetProperty("Description").ToString());
}

}  // namespace

void AddErrorReportingMethods(MethodTable<clsUtils>& table) {
  table.Add({"GetError",
             {{"FunctionName", ParamType::kString, true},
              {"error", ParamType::kObject, true, false, "ErrObject"}},
             false},
            [](clsUtils& self, std::vector<Variant>& args) {
              self.GetError(args[0].ToString(), [&] { return ErrorFrom(args[1]); });
              return Variant();
            });
  table.Add({"FillWithParams",
             {{"NLSMessage", ParamType::kString, true}, {"Params", ParamType::kVariant, true}},
             true},
            [](clsUtils& self, std::vector<Variant>& args) {
              return Variant(self.FillWithParams(args[0].ToString(), args[1]));
            });
  table.Add({"SetFont", {{"GUI", ParamType::kObject, true, false, "Form"}}, true},
            [](clsUtils& self, std::vector<Variant>& args) {
              return Variant(self.SetFont(args[0].ToObject()));
            });
}

}  // namespace vtx
