#include <string>

#include "runtime/text.h"
#include "settings/cls_admin_settings.h"
#include "settings/settings_support.h"
#include "utils/loop_index.h"

namespace vtx {

bool ClsAdminSettings::GetSettingValues(const Ref<vtx::KvSession>& KvSession,
                                        std::string SectionName, std::string TagName, bool admin,
                                        Ref<vtx::KvRecordList>& KvRecordList, int32_t UserId) {
  return settings::Reported("GetSettingValues", [&] {
    Ref<KvClass> settings_class = settings::SettingsClassByTable(KvSession, admin);
    if (!GetAttributeNames(KvSession, settings_class)) return false;
    settings::SettingsQuery q = settings::OpenQuery(KvSession);
    // Without a user id the setting of whichever user has one is taken.
    SelectSettings(q, settings_class, SectionName, &TagName, admin, UserId);
    for (int16_t n = 1; settings_class->HasAttribute(ValueAttributeName(n)); n = NextIndex(n))
      settings::AddColumn(q.query, ValueAttributeName(n));
    settings::AddColumn(q.query, subject_attribute_);
    q.factory->RunWithOptions(settings::RunOptions(q.store));

    Ref<vtx::KvRecordList> result = q.factory->GetResult();
    if (result->GetRecordCount() != 1) return false;
    Ref<vtx::KvRecordList> values = settings::NewRecordList();
    KvRecordList = values;
    const std::string subject = result->GetStringValue(subject_attribute_, 0);
    values->AddColumn(
        subject, settings_class->GetAttributes()->ItemByName(ValueAttributeName(1))->GetLength(),
        field_type::kText);
    for (int16_t n = 1; result->GetHeader()->HasColumn(ValueAttributeName(n)); n = NextIndex(n))
      values->SetValue(subject, n - 1, Variant(result->GetStringValue(ValueAttributeName(n), 0)));
    return true;
  });
}

bool ClsAdminSettings::GetValueAdminSettingByIndex(const Ref<vtx::KvSession>& KvSession,
                                                   const std::string& SectionName,
                                                   const std::string& Subject, int16_t Index,
                                                   std::string& value) {
  return settings::Reported("GetValueAdminSettingByIndex", [&] {
    Ref<vtx::KvRecordList> values;
    if (!GetSettingValues(KvSession, SectionName, Subject, true, values)) return false;
    value = values ? values->GetValue(Subject, Index).ToString() : std::string();
    return true;
  });
}

bool ClsAdminSettings::SetSettingValues(const Ref<vtx::KvSession>& KvSession,
                                        const std::string& SectionName, const std::string& Subject,
                                        bool admin, int32_t UserId,
                                        const Ref<vtx::KvRecordList>& Values) {
  return settings::Reported("SetSettingValues", [&] {
    Ref<KvClass> settings_class = settings::SettingsClassByTable(KvSession, admin);
    if (!GetAttributeNames(KvSession, settings_class)) return false;
    settings::SettingsQuery q = settings::OpenQuery(KvSession);
    SelectSettings(q, settings_class, SectionName, &Subject, admin, UserId);
    settings::AddColumn(q.query, subject_attribute_);
    q.factory->RunWithOptions(settings::RunOptions(q.store));
    const Ref<KvObjectStore>& store = q.store;
    Ref<vtx::KvRecordList> result = q.factory->GetResult();
    const int32_t found = result->GetRecordCount();

    if (found == 1) {
      Ref<KvObject> setting =
          store->ObjectFromRecord(result->GetRecord(0), Variant(int16_t{0}))->NewInstance();
      setting->PrepareNew();
      setting->Retrieve();
      // Only as many values as the list has rows are rewritten; the rest stay.
      for (int32_t i = 0; i < Values->GetRecordCount(); ++i)
        setting->GetData()->SetStringValue(ValueAttributeName(i + 1),
                                           Values->GetStringValue(Subject, i));
      setting->Update();
      return true;
    }
    if (found > 1) return false;

    Ref<KvObject> setting = store->CreateObject(settings_class->GetClassId());
    setting->PrepareNew();
    setting->ApplyClassDefaults();
    Ref<KvAttribute> identifier = settings_class->GetAttributes()->ItemByName(primary_identifier_);
    auto util = CastTo<KvSessionUtil>(KvSession->CreateHostComponent(progid::kSessionUtil));
    setting->GetData()->SetValue(primary_identifier_, util->NewIdentifierValue(identifier, ""));
    setting->GetData()->SetStringValue(subject_attribute_, Subject);
    setting->GetData()->SetStringValue(section_attribute_, SectionName);
    // Written whatever the kind of setting: an administrator setting may be
    // given an owner too.
    if (UserId > 0) setting->GetData()->SetStringValue(user_id_attribute_, std::to_string(UserId));
    // The creation list is row-wise, one complete set of values per row, each
    // stored in turn.
    for (int32_t r = 0; r < Values->GetRecordCount(); ++r) {
      for (int32_t j = 1; j <= Values->GetColumnCount(); ++j)
        setting->GetData()->SetStringValue(ValueAttributeName(j),
                                           Values->GetStringValue(ValueAttributeName(j), r));
      setting->InsertPlain();
    }
    return true;
  });
}

bool ClsAdminSettings::GetSettingSection(const Ref<vtx::KvSession>& KvSession,
                                         const std::string& SectionName, bool admin,
                                         Ref<vtx::KvRecordList>& KvRecordList, int32_t UserId) {
  return settings::Reported("GetSettingSection", [&] {
    Ref<KvClass> settings_class = settings::SettingsClassByTable(KvSession, admin);
    if (!GetAttributeNames(KvSession, settings_class)) return false;
    settings::SettingsQuery q = settings::OpenQuery(KvSession);
    SelectSettings(q, settings_class, SectionName, nullptr, admin, UserId);
    settings::AddColumn(q.query, subject_attribute_);
    for (int16_t n = 1; settings_class->HasAttribute(ValueAttributeName(n)); n = NextIndex(n))
      settings::AddColumn(q.query, ValueAttributeName(n));
    q.factory->RunWithOptions(settings::RunOptions(q.store));

    Ref<vtx::KvRecordList> result = q.factory->GetResult();
    if (result->GetRecordCount() == 0) return false;
    Ref<vtx::KvRecordList> values = settings::NewRecordList();
    KvRecordList = values;
    for (int16_t row = 0; row < result->GetRecordCount(); row = NextIndex(row)) {
      const std::string column = text::UCase(result->GetStringValue(subject_attribute_, row));
      values->AddColumn(
          column, settings_class->GetAttributes()->ItemByName(ValueAttributeName(1))->GetLength(),
          field_type::kText);
      for (int16_t n = 1; settings_class->HasAttribute(ValueAttributeName(n)); n = NextIndex(n))
        values->SetValue(column, n - 1,
                         Variant(result->GetStringValue(ValueAttributeName(n), row)));
    }
    return true;
  });
}

}  // namespace vtx
