#include <string>

#include "runtime/text.h"
#include "settings/cls_admin_settings.h"
#include "settings/settings_support.h"
#include "utils/loop_index.h"

namespace vtx {

namespace {

constexpr int32_t kSectionColumnLength = 128;

}  // namespace

bool ClsAdminSettings::GetInfosOfSectionStartedWith(
    const Ref<vtx::KvSession>& KvSession, std::string SectionStart, std::string SubjectName,
    std::string SectionName, std::string SourceClass, std::string ShownStatus, bool admin,
    Ref<vtx::KvRecordList>& ResultList, int32_t UserId) {
  // Reports go out under the operation's older name.
  return settings::Reported("GetSubjectOfSectionStartedWith", [&] {
    ResultList = nullptr;
    Ref<KvObjectStore> store = KvSession->GetObjectStore();
    Ref<KvQueryFactory> factory = store->GetQueryFactory();
    Ref<KvQuery> query = factory->GetQuery();
    Ref<KvClass> settings_class = settings::SettingsClassByTable(KvSession, admin);
    if (!GetAttributeNames(KvSession, settings_class)) return false;

    settings::AddQueryClass(query, settings_class->GetClassId());
    settings::AddCondition(query, section_attribute_, Variant(SectionStart + "*"));
    if (!admin && UserId >= 1) settings::AddCondition(query, user_id_attribute_, Variant(UserId));
    settings::AddColumn(query, section_attribute_);
    settings::AddColumn(query, subject_attribute_);
    for (int16_t n = 1; settings_class->HasAttribute(ValueAttributeName(n)); n = NextIndex(n))
      settings::AddColumn(query, ValueAttributeName(n));
    factory->RunWithOptions(settings::RunOptions(store));
    Ref<vtx::KvRecordList> result = factory->GetResult();
    if (result->GetRecordCount() == 0) {
      settings::ShowCritical("''" + SectionStart + "*'' not found in Admin Settings");
      return false;
    }

    Ref<vtx::KvRecordList> infos = settings::NewRecordList();
    ResultList = infos;
    infos->AddColumn(
        SubjectName,
        settings_class->GetAttributes()->ItemByName(ValueAttributeName(1))->GetLength(),
        field_type::kText);
    infos->AddColumn(SectionName, kSectionColumnLength, field_type::kText);
    infos->AddColumn(SourceClass, kSectionColumnLength, field_type::kText);
    infos->AddColumn(ShownStatus, -1, field_type::kBoolean);

    int16_t info_row = 0;
    for (int16_t row = 0; row < result->GetRecordCount(); row = NextIndex(row)) {
      // Stored subjects may carry lower case and blanks; the caller names the
      // subject in upper case.
      if (text::Trim(text::UCase(result->GetStringValue(subject_attribute_, row))) != SubjectName)
        continue;
      const std::string section = result->GetStringValue(section_attribute_, row);
      Ref<vtx::KvRecordList> section_values;
      if (!GetSettingSection(KvSession, section, true, section_values)) return false;
      infos->SetValue(SubjectName, info_row,
                      Variant(result->GetStringValue(ValueAttributeName(1), row)));
      infos->SetValue(SectionName, info_row, Variant(section));
      const std::string class_name = text::Trim(section_values->GetStringValue(SourceClass, 0));
      infos->SetValue(SourceClass, info_row, Variant(class_name));
      infos->SetValue(ShownStatus, info_row, Variant(false));
      info_row = NextIndex(info_row);
      if (!KvSession->GetClasses()->ClassByName(class_name)) {
        settings::ShowCritical(class_name + " is not a known class");
        return false;
      }
    }
    return true;
  });
}

bool ClsAdminSettings::GetBackASWhichAreNotInTheTree(const Ref<vtx::KvSession>& KvSession,
                                                     const Ref<vtx::KvRecordList>& FirstRec) {
  return settings::Reported("GetBackASWhichAreNotInTheTree", [&] {
    clsUtils utils;
    Ref<KvObjectStore> store = KvSession->GetObjectStore();
    Ref<KvObject> root = store->ObjectFromRecord(FirstRec->GetRecord(0), true);
    root->PrepareNew();
    root->Retrieve();
    Ref<KvObjects> roots = store->CreateObjects();
    roots->Add(root);

    Ref<KvObjects> free_objects;
    if (!utils.GetFreeObjects(KvSession, settings::kAdminTreeTable, free_objects, roots, false))
      return false;
    // GetFreeObjects leaves the collection unset when it found nothing.
    if (free_objects && free_objects->GetCount() > 0) {
      Ref<KvObject> selected;
      return utils.ShowObjects(KvSession, free_objects, selected, 1, false,
                               "Admin settings not in the tree (probably unused)");
    }
    settings::ShowCritical("There is no Admin Settings outside the Admin Tree");
    return true;
  });
}

}  // namespace vtx
