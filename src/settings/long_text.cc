#include <optional>
#include <string>

#include "platform/platform.h"
#include "settings/cls_admin_settings.h"
#include "settings/settings_support.h"

namespace vtx {

namespace {

Ref<KvClass> SettingsClassByName(const Ref<KvSession>& session, bool admin) {
  return session->GetClasses()->ClassByName(admin ? settings::kAdminSettingName
                                                  : settings::kUserSettingName);
}

}  // namespace

std::string ClsAdminSettings::GetSettingLongValue(Ref<vtx::KvSession> KvSession,
                                                  const std::string& SectionName,
                                                  const std::string& TagName, bool admin,
                                                  int32_t UserId) {
  settings::SettingsQuery q = settings::OpenQuery(KvSession);
  Ref<KvClass> settings_class = SettingsClassByName(KvSession, admin);
  if (!settings_class) return "";
  if (!GetAttributeNames(KvSession, settings_class)) return "";

  q.query->SetQueryFlag(0);
  SelectSettings(q, settings_class, SectionName, &TagName, admin, UserId);
  settings::AddColumn(q.query, long_value_attribute_);
  settings::AddColumn(q.query, subject_attribute_);
  settings::AddColumn(q.query, "OBJECT_ID");
  settings::AddColumn(q.query, "CLASS_ID");
  q.factory->RunWithOptions(settings::RunOptions(q.store));
  const Ref<KvObjectStore>& store = q.store;
  Ref<KvRecordList> result = q.factory->GetResult();
  const int32_t found = result->GetRecordCount();

  if (found == 1) {
    // Long texts are read from the object itself, for that one attribute.
    const int16_t class_id = result->GetValue("CLASS_ID", 0).ToInt16();
    const int32_t object_id = result->GetValue("OBJECT_ID", 0).ToInt32();
    Ref<KvObject> setting = store->GetObjectById(class_id, object_id);
    setting->AddAttributeToRead(long_value_attribute_);
    setting->Retrieve();
    return setting->GetValue(long_value_attribute_).ToString();
  }
  if (found > 1) {
    Platform::Current().MessageBox("Warning: " + std::to_string(found) + " " +
                                       settings_class->GetName() + " objects match for" +
                                       "specified section and subject " + subject_attribute_,
                                   settings::kOkOnly, std::nullopt);
  }
  return "";
}

bool ClsAdminSettings::SetSettingLongValue(const Ref<vtx::KvSession>& KvSession,
                                           const std::string& SectionName,
                                           const std::string& Subject, bool admin, int32_t UserId,
                                           std::string LongTxt) {
  settings::SettingsQuery q = settings::OpenQuery(KvSession);
  Ref<KvClass> settings_class = SettingsClassByName(KvSession, admin);
  if (!GetAttributeNames(KvSession, settings_class)) return false;

  SelectSettings(q, settings_class, SectionName, &Subject, admin, UserId);
  settings::AddColumn(q.query, subject_attribute_);
  const Ref<KvObjectStore>& store = q.store;
  Ref<KvOptions> options = settings::RunOptions(store);
  q.factory->RunWithOptions(options);
  Ref<KvRecordList> result = q.factory->GetResult();
  const int32_t found = result->GetRecordCount();

  if (found == 1) {
    Ref<KvObject> setting = store->ObjectFromRecord(result->GetRecord(0), true)->NewInstance();
    setting->PrepareNew();
    setting->Retrieve();
    setting->GetData()->SetStringValue(long_value_attribute_, LongTxt);
    setting->UpdateWithOptions(options);
    return true;
  }
  if (found > 1) {
    Platform::Current().MessageBox("Only one setting with same section and subject should exist",
                                   settings::kCriticalOkOnly, std::string("Korvel"));
    return false;
  }

  Ref<KvObject> setting = store->CreateObject(settings_class->GetClassId());
  setting->PrepareNew();
  setting->ApplyClassDefaults();
  // Settings created here are numbered by their sequence; a class without one
  // fails here (Nothing) and the caller gets the error.
  Ref<KvAttribute> identifier = settings_class->GetAttributes()->ItemByName(primary_identifier_);
  Ref<KvSequence> sequence = store->GetSequences()->GetSequenceOfAttribute(identifier);
  setting->GetData()->SetValue(primary_identifier_, sequence->NextValue());
  setting->GetData()->SetStringValue(subject_attribute_, Subject);
  setting->GetData()->SetStringValue(section_attribute_, SectionName);
  if (UserId > 0) setting->GetData()->SetStringValue(user_id_attribute_, std::to_string(UserId));
  setting->GetData()->SetStringValue(long_value_attribute_, LongTxt);
  setting->Insert(options);
  return true;
}

bool ClsAdminSettings::GetLongValueBySection(const Ref<vtx::KvSession>& KvSession,
                                             const std::string& SectionName, bool IsAdmin,
                                             Ref<vtx::KvRecordList>& KvRecordList, int32_t UserId) {
  return settings::Reported("GetLongValueBySection", [&] {
    Ref<KvObjectStore> store = KvSession->GetObjectStore();
    Ref<KvOptions> options = settings::RunOptions(store);
    Ref<KvClass> settings_class = settings::SettingsClassByTable(KvSession, IsAdmin);
    if (!GetAttributeNames(KvSession, settings_class)) return false;

    Ref<KvQueryFactory> factory = store->GetQueryFactory();
    Ref<KvQuery> query = factory->GetQuery();
    settings::AddQueryClass(query, settings_class->GetClassId());
    // The section is compared as stored: no lookup translation here.
    settings::AddCondition(query, section_attribute_, Variant(SectionName));
    if (!IsAdmin && UserId > 0) settings::AddCondition(query, user_id_attribute_, Variant(UserId));
    settings::AddColumn(query, subject_attribute_);
    settings::AddColumn(query, section_attribute_);
    settings::AddColumn(query, primary_identifier_);
    settings::AddColumn(query, long_value_attribute_);
    factory->RunWithOptions(options);
    KvRecordList = factory->GetResult();
    return true;
  });
}

}  // namespace vtx
