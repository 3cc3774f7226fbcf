#include "utils/cls_utils.h"

namespace vtx {

namespace {

ParamInfo Object(const char* name, const char* type) {
  return {name, ParamType::kObject, true, false, type};
}
ParamInfo String(const char* name) { return {name, ParamType::kString, true}; }
ParamInfo Int16(const char* name) { return {name, ParamType::kInt16, true}; }
ParamInfo Any(const char* name) { return {name, ParamType::kVariant, true}; }

}  // namespace

void AddRecordHelperMethods(MethodTable<clsUtils>& table) {
  table.Add({"SystemUser", {}, true},
            [](clsUtils& self, std::vector<Variant>&) { return Variant(self.SystemUser()); });
  table.Add(
      {"AddValues",
       {Object("KvObject", "KvObject"), String("FieldName"), Int16("FieldType"), Any("AnyValue"),
        Object("Session", "KvSession")},
       true},
      [](clsUtils& self, std::vector<Variant>& args) {
        return Variant(self.AddValues(arg::Object<KvObject>(args[0]), args[1].ToString(),
                                      args[2].ToInt16(), args[3], arg::Object<KvSession>(args[4])));
      });
  table.Add({"Null2Zero", {Any("anyVal")}, true},
            [](clsUtils& self, std::vector<Variant>& args) { return self.Null2Zero(args[0]); });
  table.Add({"AddValueAsLookUp",
             {Object("Obj", "KvObject"), Object("Session", "KvSession"), String("FieldName"),
              Int16("FieldType"), Int16("LookClass"), Any("AnyValue")},
             true},
            [](clsUtils& self, std::vector<Variant>& args) {
              return Variant(self.AddValueAsLookUp(
                  arg::Object<KvObject>(args[0]), arg::Object<KvSession>(args[1]),
                  args[2].ToString(), args[3].ToInt16(), args[4].ToInt16(), args[5]));
            });
  table.Add({"GetAttributeByExternalName",
             {Object("KvClass", "KvClass"), String("strExternalName")},
             true},
            [](clsUtils& self, std::vector<Variant>& args) {
              return Variant(self.GetAttributeByExternalName(arg::Object<KvClass>(args[0]),
                                                             args[1].ToString()));
            });
  table.Add({"GetKvObjectsFromRecList",
             {Object("KvSession", "KvSession"), Object("Record1", "KvRecordList")},
             true},
            [](clsUtils& self, std::vector<Variant>& args) {
              return Variant(self.GetKvObjectsFromRecList(arg::Object<KvSession>(args[0]),
                                                          arg::Object<KvRecordList>(args[1])));
            });
  table.Add(
      {"GetLookUpClassId", {Object("Attributes", "KvAttributes"), String("AttributeName")}, true},
      [](clsUtils& self, std::vector<Variant>& args) {
        return Variant(
            self.GetLookUpClassId(arg::Object<KvAttributes>(args[0]), args[1].ToString()));
      });
  table.Add(
      {"GetLinkClassID", {Object("ReltaedObj", "KvObject"), Object("Class2", "KvClass")}, true},
      [](clsUtils& self, std::vector<Variant>& args) {
        return Variant(
            self.GetLinkClassID(arg::Object<KvObject>(args[0]), arg::Object<KvClass>(args[1])));
      });
  table.Add({"GetThePrimaryIdentifierInAClass",
             {Object("KvSession", "KvSession"), Object("KvClass", "KvClass"),
              Object("KvClassAttribute", "KvAttribute")},
             true},
            [](clsUtils& self, std::vector<Variant>& args) {
              Ref<KvAttribute> attribute = arg::Object<KvAttribute>(args[2]);
              Variant result(self.GetThePrimaryIdentifierInAClass(
                  arg::Object<KvSession>(args[0]), arg::Object<KvClass>(args[1]), attribute));
              args[2] = Variant(attribute);
              return result;
            });
  table.Add(
      {"GetThePrimaryIdentifierNameInAClass",
       {Object("KvSession", "KvSession"), Object("KvClass", "KvClass"), String("AttributeName")},
       true},
      [](clsUtils& self, std::vector<Variant>& args) {
        std::string name = args[2].ToString();
        Variant result(self.GetThePrimaryIdentifierNameInAClass(
            arg::Object<KvSession>(args[0]), arg::Object<KvClass>(args[1]), name));
        args[2] = Variant(name);
        return result;
      });
}

}  // namespace vtx
