#include <string>

#include "settings/cls_admin_settings.h"
#include "settings/settings_support.h"

namespace vtx {

namespace {

// Runs the lookup of settings by subject, section (as text) and, for user
// settings, user id, and returns the matching objects.
Ref<KvObjects> FindSettings(const Ref<KvSession>& session, const Ref<KvClass>& settings_class,
                            const std::string& subject_attribute, const std::string& subject,
                            const std::string& section_attribute, const std::string& section,
                            const std::string* user_id_attribute, int32_t user_id) {
  Ref<KvObjectStore> store = session->GetObjectStore();
  Ref<KvQueryFactory> factory = store->GetQueryFactory();
  Ref<KvQuery> query = factory->GetQuery();
  settings::AddQueryClass(query, settings_class->GetClassId());
  settings::AddCondition(query, subject_attribute, Variant(subject));
  settings::AddCondition(query, section_attribute, Variant(section));
  if (user_id_attribute) settings::AddCondition(query, *user_id_attribute, Variant(user_id));
  settings::AddColumn(query, "CLASS_ID");
  settings::AddColumn(query, "OBJECT_ID");
  query->SetMaxRows(settings::kRowLimit);
  factory->Run();
  return store->ObjectsFromRecordList(factory->GetResult(), Variant(int16_t{0}));
}

}  // namespace

bool ClsAdminSettings::IsSettingDefined(const Ref<vtx::KvSession>& KvSession,
                                        const std::string& section, const std::string& Subject,
                                        bool admin, int32_t UserId) {
  return settings::Reported("IsSettingDefined", [&] {
    Ref<KvClass> settings_class = settings::SettingsClassByTable(KvSession, admin);
    if (!GetAttributeNames(KvSession, settings_class)) return false;
    // A user setting is always matched by user id: an omitted id means 0.
    Ref<KvObjects> found =
        FindSettings(KvSession, settings_class, subject_attribute_, Subject, section_attribute_,
                     section, admin ? nullptr : &user_id_attribute_, UserId);
    return found->GetCount() != 0;
  });
}

bool ClsAdminSettings::GetAdminSetting(const Ref<vtx::KvSession>& KvSession,
                                       const std::string& section, const std::string& Subject,
                                       Ref<KvObject>& KvAdminSetting, bool IsAdmin,
                                       bool IsMandatory, int32_t UserId) {
  return settings::Reported("GetAdminSetting", [&] {
    Ref<KvClass> settings_class = settings::SettingsClassByTable(KvSession, IsAdmin);
    if (!GetAttributeNames(KvSession, settings_class)) return false;
    Ref<KvObjects> found =
        FindSettings(KvSession, settings_class, subject_attribute_, Subject, section_attribute_,
                     section, IsAdmin ? nullptr : &user_id_attribute_, UserId);
    if (found->GetCount() != 0) {
      // Further matches break the one-setting-per-address rule but are not
      // this lookup's concern.
      Ref<KvObject> setting = found->Item(0)->NewInstance();
      setting->PrepareNew();
      setting->Retrieve();
      KvAdminSetting = setting;
      return true;
    }
    if (IsMandatory) {
      settings::ShowCritical("There is no Admin Setting which the Subject is ''" + Subject +
                             "'' and the Section is ''" + section + "''." + "\r\n" +
                             "Contact your Administrator !");
    }
    return false;
  });
}

bool ClsAdminSettings::GetAdminSettingValue(const Ref<vtx::KvSession>& KvSession,
                                            const Ref<KvObject>& KvAdminSetting, int16_t Number,
                                            std::string& value, const std::string& KindOfValue,
                                            bool IsMandatory, const Ref<vtx::KvClass>& KvClass) {
  return settings::Reported("GetAdminSettingValue", [&] {
    if (!GetAttributeNames(KvSession, KvAdminSetting->GetClass())) return false;
    const std::string section = KvAdminSetting->GetData()->GetValue(section_attribute_).ToString();
    const std::string subject = KvAdminSetting->GetData()->GetValue(subject_attribute_).ToString();
    const std::string number = std::to_string(Number);
    value = KvAdminSetting->GetData()->GetValue(ValueAttributeName(Number)).ToString();
    if (!IsMandatory) return true;

    const std::string where = "'' (Subject = ''" + subject + "'', Section = ''" + section + "''.";
    if (value.empty()) {
      settings::ShowCritical("The value " + number +
                             " has not to be empty for the Admin Setting ''" + primary_identifier_ +
                             where);
      return false;
    }

    clsUtils utils;
    bool valid = true;
    std::string kind_name;
    if (KindOfValue == "ClassName" || KindOfValue == "NoType") {
      valid = true;
    } else if (KindOfValue == "TableName") {
      valid = utils.CheckTableName(KvSession, value);
      kind_name = "Table Name";
    } else if (KindOfValue == "AttributeInternalName") {
      valid = utils.CheckAttributeInternalName(KvClass, value);
      kind_name = "Attribute Internal Name";
    } else if (KindOfValue == "AttributeExternalName") {
      valid = utils.CheckAttributeExternalName(KvClass, value);
      kind_name = "Attribute External Name";
    } else if (KindOfValue == "PathFile") {
      valid = utils.CheckPathFile(value);
      kind_name = "Path File";
    } else if (KindOfValue == "PathDirectory") {
      valid = utils.CheckPathDirectory(value);
      kind_name = "Path Directory";
    } else {
      // An unknown kind is the caller's mistake; it ends in the error report.
      Raise(1);
    }
    if (valid) return true;
    settings::ShowCritical("The value " + number + "(" + value +
                           ") is not correct for the Admin Setting ''" + primary_identifier_ +
                           where + " It should be a real ''" + kind_name + "''.");
    return false;
  });
}

}  // namespace vtx
