#include "host/kv_host.h"
#include "utils/cls_utils.h"

namespace vtx {

namespace {

ParamInfo String(const char* name) { return {name, ParamType::kString, true}; }
ParamInfo ClassParam() { return {"KvClass", ParamType::kObject, true, false, "KvClass"}; }

}  // namespace

void AddNameCheckMethods(MethodTable<clsUtils>& table) {
  table.Add(
      {"CheckTableName",
       {{"KvSession", ParamType::kObject, false, false, "KvSession"}, String("TableName")},
       true},
      [](clsUtils& self, std::vector<Variant>& args) {
        return Variant(self.CheckTableName(arg::Object<KvSession>(args[0]), args[1].ToString()));
      });
  table.Add({"CheckAttributeInternalName", {ClassParam(), String("AttributeInternalName")}, true},
            [](clsUtils& self, std::vector<Variant>& args) {
              return Variant(self.CheckAttributeInternalName(arg::Object<KvClass>(args[0]),
                                                             args[1].ToString()));
            });
  table.Add({"CheckAttributeExternalName", {ClassParam(), String("AttributeExternalName")}, true},
            [](clsUtils& self, std::vector<Variant>& args) {
              return Variant(self.CheckAttributeExternalName(arg::Object<KvClass>(args[0]),
                                                             args[1].ToString()));
            });
  table.Add({"CheckPathFile", {String("Path")}, true},
            [](clsUtils& self, std::vector<Variant>& args) {
              return Variant(self.CheckPathFile(args[0].ToString()));
            });
  table.Add({"CheckPathDirectory", {String("Path")}, true},
            [](clsUtils& self, std::vector<Variant>& args) {
              return Variant(self.CheckPathDirectory(args[0].ToString()));
            });
  table.Add({"GetTemporaryDirectory", {String("Directory")}, true},
            [](clsUtils& self, std::vector<Variant>& args) {
              std::string directory = args[0].ToString();
              const bool result = self.GetTemporaryDirectory(directory);
              args[0] = Variant(directory);
              return Variant(result);
            });
}

}  // namespace vtx
