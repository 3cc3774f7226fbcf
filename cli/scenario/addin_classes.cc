#include "cli/scenario/addin_classes.h"

#include "app/application.h"
#include "nls/cls_nls.h"
#include "records/cls_electronic_record.h"
#include "settings/cls_admin_settings.h"
#include "utils/cls_utils.h"

namespace vtx::cli {
namespace {

// Private operations a scenario may call besides the late-bound ones.
template <class T>
const MethodTable<T>& PrivateOperations() {
  static const MethodTable<T> none;
  return none;
}

template <>
const MethodTable<ClsAdminSettings>& PrivateOperations<ClsAdminSettings>() {
  static const MethodTable<ClsAdminSettings> table = [] {
    MethodTable<ClsAdminSettings> t;
    t.Add({"GetAttributeNames",
           {{"KvSession", ParamType::kObject, true, false, "KvSession"},
            {"KvClass", ParamType::kObject, true, false, "KvClass"}},
           true},
          [](ClsAdminSettings& self, std::vector<Variant>& a) {
            return Variant(
                self.GetAttributeNames(arg::Object<KvSession>(a[0]), arg::Object<KvClass>(a[1])));
          });
    return t;
  }();
  return table;
}

template <class T>
AddinClass Describe(std::string name) {
  return AddinClass{std::move(name), [] { return Ref<Dispatch>(MakeRef<T>()); },
                    [](std::string_view op) {
                      const MethodInfo* method = T::Methods().Find(op);
                      return method ? method : PrivateOperations<T>().Find(op);
                    },
                    [](Dispatch& instance, const MethodInfo& method, std::vector<Variant>& args) {
                      if (T::Methods().Find(method.name))
                        return instance.Invoke(method.name, InvokeKind::kMethod, args);
                      return PrivateOperations<T>().Invoke(static_cast<T&>(instance), method.name,
                                                           args);
                    }};
}

}  // namespace

const std::vector<AddinClass>& AddinClasses() {
  static const std::vector<AddinClass> classes = {
      Describe<Application>("Application"),
      Describe<clsNLS>("clsNLS"),
      Describe<clsElectronicRecord>("clsElectronicRecord"),
      Describe<clsUtils>("clsUtils"),
      Describe<ClsAdminSettings>("ClsAdminSettings"),
  };
  return classes;
}

const AddinClass* FindAddinClass(std::string_view name) {
  for (const auto& c : AddinClasses()) {
    if (c.name == name) return &c;
  }
  return nullptr;
}

}  // namespace vtx::cli
