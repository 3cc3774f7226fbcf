#include "cli/addin_classes.h"

#include "app/application.h"
#include "nls/cls_nls.h"
#include "records/cls_electronic_record.h"
#include "settings/cls_admin_settings.h"
#include "utils/cls_utils.h"

namespace vtx::cli {
namespace {

template <class T>
AddinClass Describe(std::string name) {
  return AddinClass{std::move(name), [] { return Ref<Dispatch>(MakeRef<T>()); },
                    [](std::string_view op) { return T::Methods().Find(op); }};
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
