#include "host/kv_host.h"
#include "utils/cls_utils.h"

namespace vtx {

namespace {

ParamInfo Object(const char* name, const char* type, bool by_ref = true) {
  return {name, ParamType::kObject, by_ref, false, type};
}
ParamInfo Session(bool by_ref) { return Object("KvSession", "KvSession", by_ref); }
ParamInfo String(const char* name) { return {name, ParamType::kString, true}; }

}  // namespace

void AddObjectCreationMethods(MethodTable<clsUtils>& table) {
  table.Add({"CreateAndLinkObject",
             {Session(false),
              Object("KvChildObject", "KvObject"),
              Object("KvFatherObject", "KvObject"),
              String("ChildTableName"),
              Object("KvAttributesValue", "KvRecord"),
              {"IsIntegrationUsed", ParamType::kBool, true},
              {"KvLinkAttributes", ParamType::kObject, true, true, "KvRecord"}},
             true},
            [](clsUtils& self, std::vector<Variant>& args) {
              Ref<KvObject> child = arg::Object<KvObject>(args[1]);
              const bool result = self.CreateAndLinkObject(
                  arg::Object<KvSession>(args[0]), child, arg::Object<KvObject>(args[2]),
                  args[3].ToString(), arg::Object<KvRecord>(args[4]), args[5].ToBool(),
                  arg::Object<KvRecord>(args[6]));
              args[1] = Variant(child);
              return Variant(result);
            });
  table.Add({"GetNewAttributeValue",
             {Session(false),
              Object("FirstRec", "KvRecordList"),
              String("AttributeInternalName"),
              {"NewAttributeValue", ParamType::kVariant, true}},
             true},
            [](clsUtils& self, std::vector<Variant>& args) {
              Variant value = args[3];
              const bool result = self.GetNewAttributeValue(arg::Object<KvSession>(args[0]),
                                                            arg::Object<KvRecordList>(args[1]),
                                                            args[2].ToString(), value);
              args[3] = value;
              return Variant(result);
            });
  table.Add({"AreRequiredFieldsFilled",
             {Session(true), Object("KvClass", "KvClass"), Object("KvRecord", "KvRecord")},
             true},
            [](clsUtils& self, std::vector<Variant>& args) {
              return Variant(self.AreRequiredFieldsFilled(arg::Object<KvSession>(args[0]),
                                                          arg::Object<KvClass>(args[1]),
                                                          arg::Object<KvRecord>(args[2])));
            });
  table.Add({"IncrementSequenceNumber", {Session(true), Object("KvClass", "KvClass")}, true},
            [](clsUtils& self, std::vector<Variant>& args) {
              return Variant(self.IncrementSequenceNumber(arg::Object<KvSession>(args[0]),
                                                          arg::Object<KvClass>(args[1])));
            });
  table.Add({"RefreshCreatedLink", {Session(true), Object("KvLinkObject", "KvObject")}, true},
            [](clsUtils& self, std::vector<Variant>& args) {
              return Variant(self.RefreshCreatedLink(arg::Object<KvSession>(args[0]),
                                                     arg::Object<KvObject>(args[1])));
            });
  table.Add({"GetFieldsInAProfileCard",
             {Session(true), Object("KvClass", "KvClass"), Object("KvRecordList", "KvRecordList")},
             true},
            [](clsUtils& self, std::vector<Variant>& args) {
              Ref<KvRecordList> rows = arg::Object<KvRecordList>(args[2]);
              const bool result = self.GetFieldsInAProfileCard(arg::Object<KvSession>(args[0]),
                                                               arg::Object<KvClass>(args[1]), rows);
              args[2] = Variant(rows);
              return Variant(result);
            });
  table.Add({"GetDataFromTable",
             {Session(true), String("Statement"), Object("SortQuery", "KvRecordList"),
              Object("KvRecordList", "KvRecordList")},
             true},
            [](clsUtils& self, std::vector<Variant>& args) {
              Ref<KvRecordList> rows = arg::Object<KvRecordList>(args[3]);
              const bool result =
                  self.GetDataFromTable(arg::Object<KvSession>(args[0]), args[1].ToString(),
                                        arg::Object<KvRecordList>(args[2]), rows);
              args[3] = Variant(rows);
              return Variant(result);
            });
}

}  // namespace vtx
