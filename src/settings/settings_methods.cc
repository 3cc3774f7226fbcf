#include "host/kv_host.h"
#include "settings/cls_admin_settings.h"

namespace vtx {

namespace {

// Parameters are passed by reference unless the operation takes them by value.
constexpr bool kByRef = true;
constexpr bool kByValue = false;

ParamInfo Session(bool by_ref = kByRef) {
  return {"KvSession", ParamType::kObject, by_ref, false, "KvSession"};
}
ParamInfo Object(const char* name, const char* type, bool by_ref = kByRef) {
  return {name, ParamType::kObject, by_ref, false, type};
}
ParamInfo OptionalObject(const char* name, const char* type) {
  return {name, ParamType::kObject, kByRef, true, type};
}
ParamInfo String(const char* name, bool by_ref = kByRef) {
  return {name, ParamType::kString, by_ref};
}
ParamInfo Bool(const char* name, bool by_ref = kByRef) { return {name, ParamType::kBool, by_ref}; }
ParamInfo OptionalBool(const char* name) { return {name, ParamType::kBool, kByRef, true}; }
ParamInfo Int16(const char* name) { return {name, ParamType::kInt16, kByRef}; }
ParamInfo Int32(const char* name) { return {name, ParamType::kInt32, kByRef}; }
ParamInfo OptionalInt32(const char* name, bool by_ref = kByRef) {
  return {name, ParamType::kInt32, by_ref, true};
}

// Omitted optional arguments take their type's default.
bool OptBool(const Variant& v) { return v.IsMissing() ? false : v.ToBool(); }
int32_t OptInt32(const Variant& v) { return v.IsMissing() ? 0 : v.ToInt32(); }
template <class I>
Ref<I> Obj(const Variant& v) {
  return arg::Object<I>(v);
}

using Table = MethodTable<ClsAdminSettings>;
using Args = std::vector<Variant>;

void AddSingleSettingMethods(Table& t) {
  t.Add({"IsSettingDefined",
         {Session(), String("section"), String("Subject"), Bool("admin"), OptionalInt32("UserId")},
         true},
        [](ClsAdminSettings& self, Args& a) {
          return Variant(self.IsSettingDefined(Obj<KvSession>(a[0]), a[1].ToString(),
                                               a[2].ToString(), a[3].ToBool(), OptInt32(a[4])));
        });
  t.Add({"GetAdminSetting",
         {Session(), String("section"), String("Subject"), Object("KvAdminSetting", "KvObject"),
          Bool("IsAdmin"), OptionalBool("IsMandatory"), OptionalInt32("UserId")},
         true},
        [](ClsAdminSettings& self, Args& a) {
          Ref<KvObject> setting = Obj<KvObject>(a[3]);
          const bool result =
              self.GetAdminSetting(Obj<KvSession>(a[0]), a[1].ToString(), a[2].ToString(), setting,
                                   a[4].ToBool(), OptBool(a[5]), OptInt32(a[6]));
          a[3] = Variant(setting);
          return Variant(result);
        });
  t.Add({"GetAdminSettingValue",
         {Session(), Object("KvAdminSetting", "KvObject"), Int16("Number"), String("value"),
          String("KindOfValue"), OptionalBool("IsMandatory"), OptionalObject("KvClass", "KvClass")},
         true},
        [](ClsAdminSettings& self, Args& a) {
          std::string value = a[3].ToString();
          const bool result =
              self.GetAdminSettingValue(Obj<KvSession>(a[0]), Obj<KvObject>(a[1]), a[2].ToInt16(),
                                        value, a[4].ToString(), OptBool(a[5]), Obj<KvClass>(a[6]));
          a[3] = Variant(value);
          return Variant(result);
        });
}

void AddMultiValueMethods(Table& t) {
  t.Add({"GetSettingValues",
         {Session(), String("SectionName", kByValue), String("TagName", kByValue), Bool("admin"),
          Object("KvRecordList", "KvRecordList"), OptionalInt32("UserId")},
         true},
        [](ClsAdminSettings& self, Args& a) {
          Ref<KvRecordList> list = Obj<KvRecordList>(a[4]);
          const bool result =
              self.GetSettingValues(Obj<KvSession>(a[0]), a[1].ToString(), a[2].ToString(),
                                    a[3].ToBool(), list, OptInt32(a[5]));
          a[4] = Variant(list);
          return Variant(result);
        });
  t.Add({"GetValueAdminSettingByIndex",
         {Session(), String("SectionName"), String("Subject"), Int16("Index"), String("value")},
         true},
        [](ClsAdminSettings& self, Args& a) {
          std::string value = a[4].ToString();
          const bool result = self.GetValueAdminSettingByIndex(
              Obj<KvSession>(a[0]), a[1].ToString(), a[2].ToString(), a[3].ToInt16(), value);
          a[4] = Variant(value);
          return Variant(result);
        });
  t.Add({"SetSettingValues",
         {Session(), String("SectionName"), String("Subject"), Bool("admin"), Int32("UserId"),
          Object("Values", "KvRecordList")},
         true},
        [](ClsAdminSettings& self, Args& a) {
          return Variant(self.SetSettingValues(Obj<KvSession>(a[0]), a[1].ToString(),
                                               a[2].ToString(), a[3].ToBool(), a[4].ToInt32(),
                                               Obj<KvRecordList>(a[5])));
        });
  t.Add({"GetSettingSection",
         {Session(), String("SectionName"), Bool("admin"), Object("KvRecordList", "KvRecordList"),
          OptionalInt32("UserId")},
         true},
        [](ClsAdminSettings& self, Args& a) {
          Ref<KvRecordList> list = Obj<KvRecordList>(a[3]);
          const bool result = self.GetSettingSection(Obj<KvSession>(a[0]), a[1].ToString(),
                                                     a[2].ToBool(), list, OptInt32(a[4]));
          a[3] = Variant(list);
          return Variant(result);
        });
}

void AddCreationMethods(Table& t) {
  t.Add({"CreateSilentUserSettingObject",
         {Session(kByValue), String("section", kByValue), String("Subject", kByValue),
          Object("RecListOfValues", "KvRecordList", kByValue), String("Description", kByValue)},
         true},
        [](ClsAdminSettings& self, Args& a) {
          return Variant(self.CreateSilentUserSettingObject(
              Obj<KvSession>(a[0]), a[1].ToString(), a[2].ToString(), Obj<KvRecordList>(a[3]),
              a[4].ToString()));
        });
  t.Add({"CreateAndLinkAdminSetting",
         {Session(kByValue), String("FolderID"), Object("KvAttributesValue", "KvRecord"),
          Object("KvAdminSetting", "KvObject")},
         true},
        [](ClsAdminSettings& self, Args& a) {
          Ref<KvObject> setting = Obj<KvObject>(a[3]);
          const bool result = self.CreateAndLinkAdminSetting(Obj<KvSession>(a[0]), a[1].ToString(),
                                                             Obj<KvRecord>(a[2]), setting);
          a[3] = Variant(setting);
          return Variant(result);
        });
  t.Add({"CheckUnicityAdminSettings",
         {Session(kByValue), Object("FirstRec", "KvRecordList"), String("Sstr"), Bool("IsAdmin"),
          OptionalInt32("UserId")},
         true},
        [](ClsAdminSettings& self, Args& a) {
          return Variant(self.CheckUnicityAdminSettings(Obj<KvSession>(a[0]),
                                                        Obj<KvRecordList>(a[1]), a[2].ToString(),
                                                        a[3].ToBool(), OptInt32(a[4])));
        });
}

void AddLongTextMethods(Table& t) {
  t.Add({"GetSettingLongValue",
         {Session(kByValue), String("SectionName"), String("TagName"), Bool("admin"),
          OptionalInt32("UserId")},
         true},
        [](ClsAdminSettings& self, Args& a) {
          return Variant(self.GetSettingLongValue(Obj<KvSession>(a[0]), a[1].ToString(),
                                                  a[2].ToString(), a[3].ToBool(), OptInt32(a[4])));
        });
  t.Add({"SetSettingLongValue",
         {Session(), String("SectionName"), String("Subject"), Bool("admin"), Int32("UserId"),
          String("LongTxt", kByValue)},
         true},
        [](ClsAdminSettings& self, Args& a) {
          return Variant(self.SetSettingLongValue(Obj<KvSession>(a[0]), a[1].ToString(),
                                                  a[2].ToString(), a[3].ToBool(), a[4].ToInt32(),
                                                  a[5].ToString()));
        });
  t.Add({"GetLongValueBySection",
         {Session(), String("SectionName"), Bool("IsAdmin"), Object("KvRecordList", "KvRecordList"),
          OptionalInt32("UserId")},
         true},
        [](ClsAdminSettings& self, Args& a) {
          Ref<KvRecordList> list = Obj<KvRecordList>(a[3]);
          const bool result = self.GetLongValueBySection(Obj<KvSession>(a[0]), a[1].ToString(),
                                                         a[2].ToBool(), list, OptInt32(a[4]));
          a[3] = Variant(list);
          return Variant(result);
        });
}

void AddMaintenanceMethods(Table& t) {
  t.Add({"GetInfosOfSectionStartedWith",
         {Session(), String("SectionStart", kByValue), String("SubjectName", kByValue),
          String("SectionName", kByValue), String("SourceClass", kByValue),
          String("ShownStatus", kByValue), Bool("admin", kByValue),
          Object("ResultList", "KvRecordList"), OptionalInt32("UserId", kByValue)},
         true},
        [](ClsAdminSettings& self, Args& a) {
          Ref<KvRecordList> list = Obj<KvRecordList>(a[7]);
          const bool result = self.GetInfosOfSectionStartedWith(
              Obj<KvSession>(a[0]), a[1].ToString(), a[2].ToString(), a[3].ToString(),
              a[4].ToString(), a[5].ToString(), a[6].ToBool(), list, OptInt32(a[8]));
          a[7] = Variant(list);
          return Variant(result);
        });
  t.Add({"GetBackASWhichAreNotInTheTree", {Session(), Object("FirstRec", "KvRecordList")}, true},
        [](ClsAdminSettings& self, Args& a) {
          return Variant(
              self.GetBackASWhichAreNotInTheTree(Obj<KvSession>(a[0]), Obj<KvRecordList>(a[1])));
        });
  t.Add({"GetBackTheDoubles", {Session(), OptionalObject("FirstRec", "KvRecordList")}, true},
        [](ClsAdminSettings& self, Args& a) {
          return Variant(self.GetBackTheDoubles(Obj<KvSession>(a[0]), Obj<KvRecordList>(a[1])));
        });
}

void AddTemplateMethods(Table& t) {
  t.Add(
      {"GetSelectedTemplate", {Session(), String("SectionName"), String("SelectedTemplate")}, true},
      [](ClsAdminSettings& self, Args& a) {
        std::string selected = a[2].ToString();
        const bool result =
            self.GetSelectedTemplate(Obj<KvSession>(a[0]), a[1].ToString(), selected);
        a[2] = Variant(selected);
        return Variant(result);
      });
  t.Add({"GetBackTheDescriptions",
         {Session(), Object("KvSectionValues", "KvStrings"), String("SectionName"),
          Object("KvRecordList", "KvRecordList")},
         true},
        [](ClsAdminSettings& self, Args& a) {
          Ref<KvRecordList> list = Obj<KvRecordList>(a[3]);
          const bool result = self.GetBackTheDescriptions(
              Obj<KvSession>(a[0]), Obj<KvStrings>(a[1]), a[2].ToString(), list);
          a[3] = Variant(list);
          return Variant(result);
        });
}

}  // namespace

const MethodTable<ClsAdminSettings>& ClsAdminSettings::Methods() {
  static const Table table = [] {
    Table t;
    AddSingleSettingMethods(t);
    AddMultiValueMethods(t);
    AddCreationMethods(t);
    AddLongTextMethods(t);
    AddMaintenanceMethods(t);
    AddTemplateMethods(t);
    return t;
  }();
  return table;
}

}  // namespace vtx
