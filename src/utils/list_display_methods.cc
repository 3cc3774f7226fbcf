#include "host/kv_host.h"
#include "utils/cls_utils.h"

namespace vtx {

void AddListDisplayMethods(MethodTable<clsUtils>& table) {
  table.Add({"ShowObjects",
             {{"KvSession", ParamType::kObject, true, false, "KvSession"},
              {"KvProposedObjects", ParamType::kObject, true, false, "KvObjects"},
              {"KvSelectedObject", ParamType::kObject, true, false, "KvObject"},
              {"KRViewType", ParamType::kInt32, true},
              {"Modal", ParamType::kBool, true},
              {"KvViewTitle", ParamType::kString, true}},
             true},
            [](clsUtils& self, std::vector<Variant>& args) {
              Ref<KvObject> selected = arg::Object<KvObject>(args[2]);
              const bool result = self.ShowObjects(
                  arg::Object<KvSession>(args[0]), arg::Object<KvObjects>(args[1]), selected,
                  args[3].ToInt32(), args[4].ToBool(), args[5].ToString());
              args[2] = Variant(selected);
              return Variant(result);
            });
  table.Add({"ConvertKvStringsToString",
             {{"KvStrings", ParamType::kObject, true, false, "KvStrings"},
              {"Result", ParamType::kString, true},
              {"Separateur", ParamType::kString, true, true}},
             true},
            [](clsUtils& self, std::vector<Variant>& args) {
              std::string joined = args[1].ToString();
              const bool result = self.ConvertKvStringsToString(
                  arg::Object<KvStrings>(args[0]), joined,
                  arg::IsOmitted(args[2]) ? std::string() : args[2].ToString());
              args[1] = Variant(joined);
              return Variant(result);
            });
}

}  // namespace vtx
