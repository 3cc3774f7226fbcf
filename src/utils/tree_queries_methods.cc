#include "host/kv_host.h"
#include "utils/cls_utils.h"

namespace vtx {

namespace {

ParamInfo Object(const char* name, const char* type, bool optional = false) {
  return {name, ParamType::kObject, true, optional, type};
}
ParamInfo Session() { return Object("KvSession", "KvSession"); }
ParamInfo String(const char* name, bool optional = false) {
  return {name, ParamType::kString, true, optional};
}
ParamInfo OptionalBool(const char* name) { return {name, ParamType::kBool, true, true}; }

std::string StringOr(const Variant& v, std::string omitted) {
  return arg::IsOmitted(v) ? omitted : v.ToString();
}
bool BoolOr(const Variant& v, bool omitted) { return arg::IsOmitted(v) ? omitted : v.ToBool(); }

}  // namespace

void AddTreeQueryMethods(MethodTable<clsUtils>& table) {
  table.Add({"ExpandTree",
             {Session(),
              Object("KvObjects", "KvObjects"),
              {"Level", ParamType::kInt16, true},
              Object("KvRecordList", "KvRecordList"),
              Object("KvAttributesToDisplay", "KvStrings", true),
              OptionalBool("UseOrdering")},
             true},
            [](clsUtils& self, std::vector<Variant>& args) {
              Ref<KvRecordList> rows = arg::Object<KvRecordList>(args[3]);
              const bool result = self.ExpandTree(
                  arg::Object<KvSession>(args[0]), arg::Object<KvObjects>(args[1]),
                  args[2].ToInt16(), rows, arg::Object<KvStrings>(args[4]), BoolOr(args[5], false));
              args[3] = Variant(rows);
              return Variant(result);
            });
  table.Add({"GetObjectsFromCompositeObjects",
             {Session(), Object("KvCompositeObjects", "KvObjects"), String("Role"),
              Object("KvObjects", "KvObjects")},
             true},
            [](clsUtils& self, std::vector<Variant>& args) {
              Ref<KvObjects> objects = arg::Object<KvObjects>(args[3]);
              const bool result = self.GetObjectsFromCompositeObjects(
                  arg::Object<KvSession>(args[0]), arg::Object<KvObjects>(args[1]),
                  args[2].ToString(), objects);
              args[3] = Variant(objects);
              return Variant(result);
            });
  table.Add({"GetGeneralLinkClassByClassTableNames",
             {Session(),
              String("TableName1"),
              String("TableName2"),
              Object("KvLinkClass", "KvClass"),
              {"LinkIndexToTake", ParamType::kVariant, true, true}},
             true},
            [](clsUtils& self, std::vector<Variant>& args) {
              Ref<KvClass> link_class = arg::Object<KvClass>(args[3]);
              const bool result = self.GetGeneralLinkClassByClassTableNames(
                  arg::Object<KvSession>(args[0]), args[1].ToString(), args[2].ToString(),
                  link_class, args[4]);
              args[3] = Variant(link_class);
              return Variant(result);
            });
  table.Add({"GetObjectsOnDeskTopInProjects",
             {Session(), Object("KvProjects", "KvObjects"), String("TableName"),
              Object("KvObjectsOnTheDeskTop", "KvObjects"), String("AttributeNames", true)},
             true},
            [](clsUtils& self, std::vector<Variant>& args) {
              Ref<KvObjects> found = arg::Object<KvObjects>(args[3]);
              const bool result = self.GetObjectsOnDeskTopInProjects(
                  arg::Object<KvSession>(args[0]), arg::Object<KvObjects>(args[1]),
                  args[2].ToString(), found, StringOr(args[4], ""));
              args[3] = Variant(found);
              return Variant(result);
            });
  table.Add({"GetAllObjectsInAProject",
             {Session(), Object("KvProjects", "KvObjects"), String("SuperClassTableName"),
              Object("KvRecordList", "KvRecordList"), Object("KvAttributes", "KvStrings", true)},
             true},
            [](clsUtils& self, std::vector<Variant>& args) {
              Ref<KvRecordList> rows = arg::Object<KvRecordList>(args[3]);
              const bool result = self.GetAllObjectsInAProject(
                  arg::Object<KvSession>(args[0]), arg::Object<KvObjects>(args[1]),
                  args[2].ToString(), rows, arg::Object<KvStrings>(args[4]));
              args[3] = Variant(rows);
              return Variant(result);
            });
  table.Add({"GetAllObjectsInAProject2",
             {Session(), Object("KvProjects", "KvObjects"), String("SuperClassTableName"),
              Object("KvObjects", "KvObjects"), Object("KvAttributes", "KvStrings", true)},
             true},
            [](clsUtils& self, std::vector<Variant>& args) {
              Ref<KvObjects> objects = arg::Object<KvObjects>(args[3]);
              const bool result = self.GetAllObjectsInAProject2(
                  arg::Object<KvSession>(args[0]), arg::Object<KvObjects>(args[1]),
                  args[2].ToString(), objects, arg::Object<KvStrings>(args[4]));
              args[3] = Variant(objects);
              return Variant(result);
            });
  table.Add({"GetFreeObjects",
             {Session(), String("SuperClassTableName"), Object("KvObjects", "KvObjects"),
              Object("KvProjects", "KvObjects", true), OptionalBool("OnlyOrphans")},
             true},
            [](clsUtils& self, std::vector<Variant>& args) {
              Ref<KvObjects> objects = arg::Object<KvObjects>(args[2]);
              const bool result =
                  self.GetFreeObjects(arg::Object<KvSession>(args[0]), args[1].ToString(), objects,
                                      arg::Object<KvObjects>(args[3]), BoolOr(args[4], false));
              args[2] = Variant(objects);
              return Variant(result);
            });
}

}  // namespace vtx
