#include <string>

#include "platform/platform.h"
#include "runtime/text.h"
#include "settings/cls_admin_settings.h"
#include "settings/frm_templates.h"
#include "settings/settings_support.h"
#include "utils/loop_index.h"

namespace vtx {

namespace {

constexpr const char* kDisplayNameSubject = "GUI_DISPLAY_NAME";
constexpr int32_t kDescriptionLength = 101;
// A template section is the stem followed by at most three characters.
constexpr int32_t kMaxSuffixLength = 3;

}  // namespace

bool ClsAdminSettings::GetSelectedTemplate(const Ref<vtx::KvSession>& KvSession,
                                           const std::string& SectionName,
                                           std::string& SelectedTemplate) {
  return settings::Reported("GetSelectedTemplate", [&] {
    Ref<KvClass> settings_class = settings::SettingsClassByTable(KvSession, true);
    if (!GetAttributeNames(KvSession, settings_class)) return false;
    Ref<KvObjectStore> store = KvSession->GetObjectStore();
    Ref<KvOptions> options = settings::RunOptions(store, true);

    Ref<KvQueryFactory> factory = store->GetQueryFactory();
    Ref<KvQuery> query = factory->GetQuery();
    settings::AddQueryClass(query, settings_class->GetClassId());
    settings::AddColumn(query, "CLASS_ID");
    settings::AddColumn(query, "OBJECT_ID");
    settings::AddColumn(query, section_attribute_);
    settings::AddCondition(query, section_attribute_, Variant(SectionName + "*"));
    factory->RunWithOptions(options);
    Ref<KvObjects> found = store->ObjectsFromRecordList(factory->GetResult(), Variant(int16_t{0}));

    Ref<KvStrings> sections = KvSession->CreateStringList();
    const int32_t max_length = text::Len(SectionName) + kMaxSuffixLength;
    for (int16_t i = 0; i < found->GetCount(); i = NextIndex(i)) {
      const std::string section =
          found->Item(i)->GetData()->GetValue(section_attribute_).ToString();
      if (text::Len(section) <= max_length && sections->IndexOf(section) == -1)
        sections->Add(section);
    }

    Ref<vtx::KvRecordList> descriptions;
    if (!GetBackTheDescriptions(KvSession, sections, SectionName, descriptions)) return false;
    Ref<frmTemplates> dialog = frmTemplates::Shared();
    if (descriptions->GetRecordCount() == 1) {
      SelectedTemplate = descriptions->GetValue("SECTION", 0).ToString();
      dialog->ListSearch().Clear();
      return true;
    }

    // The user picks a display name; the section is found back through it.
    Ref<KvRecord> wanted = settings::NewRecord();
    Ref<KvHeaderField> description_field = descriptions->GetHeader()->Item(1);
    const int32_t description_length = description_field->GetLength();
    const int32_t description_type = description_field->GetType();
    wanted->AddColumn("DESCRIPTION", description_length, description_type);
    for (int16_t row = 0; row < descriptions->GetRecordCount(); row = NextIndex(row))
      dialog->ListSearch().AddItem(descriptions->GetValue("DESCRIPTION", row).ToString());
    dialog->SetTranslationfrmTemplates();
    dialog->ShowModal();
    ListBoxControl& list = dialog->ListSearch();
    if (list.ListIndex() < 0) return false;
    wanted->SetValue("DESCRIPTION", Variant(list.List(list.ListIndex())));
    SelectedTemplate =
        descriptions->GetValue("SECTION", descriptions->FindRecord(wanted)).ToString();
    list.Clear();
    return true;
  });
}

bool ClsAdminSettings::GetBackTheDescriptions(const Ref<vtx::KvSession>& KvSession,
                                              const Ref<KvStrings>& KvSectionValues,
                                              const std::string& SectionName,
                                              Ref<vtx::KvRecordList>& KvRecordList) {
  (void)SectionName;  // part of the interface; the lookup goes by section
  return settings::Reported("GetBackTheDescriptions", [&] {
    Ref<KvClass> settings_class = settings::SettingsClassByTable(KvSession, true);
    if (!GetAttributeNames(KvSession, settings_class)) return false;
    Ref<vtx::KvRecordList> descriptions = settings::NewRecordList();
    descriptions->AddColumn("SECTION", kDescriptionLength, field_type::kText);
    descriptions->AddColumn("DESCRIPTION", kDescriptionLength, field_type::kText);
    KvRecordList = descriptions;
    const std::string value_attribute = ValueAttributeName(1);
    Ref<KvObjectStore> store = KvSession->GetObjectStore();
    Ref<KvOptions> options = settings::RunOptions(store, true);

    if (KvSectionValues->GetCount() == 0) {
      settings::ShowCritical("Error ! There is no Admin Settings concerning this function !");
      return false;
    }
    std::string missing = std::string("Error ! These sections do not have the subject ") + "\"" +
                          kDisplayNameSubject + "\"" + "\n\r";
    bool all_found = true;
    for (int16_t i = 0; i < KvSectionValues->GetCount(); i = NextIndex(i)) {
      const std::string section = KvSectionValues->Item(i);
      descriptions->SetValue("SECTION", i, Variant(section));
      descriptions->SetValue("DESCRIPTION", i, Variant(""));

      Ref<KvQueryFactory> factory = store->GetQueryFactory();
      Ref<KvQuery> query = factory->GetQuery();
      settings::AddQueryClass(query, settings_class->GetClassId());
      settings::AddColumn(query, "CLASS_ID");
      settings::AddColumn(query, "OBJECT_ID");
      settings::AddColumn(query, section_attribute_);
      settings::AddColumn(query, value_attribute);
      settings::AddCondition(query, section_attribute_, Variant(section));
      settings::AddCondition(query, subject_attribute_, Variant(kDisplayNameSubject));
      factory->RunWithOptions(options);
      Ref<KvObjects> found =
          store->ObjectsFromRecordList(factory->GetResult(), Variant(int16_t{0}));
      if (found->GetCount() == 0) {
        missing += "\n\r- " + section;
        all_found = false;
      } else {
        descriptions->SetValue("DESCRIPTION", i,
                               found->Item(0)->GetData()->GetValue(value_attribute));
      }
    }
    if (!all_found) {
      settings::ShowCritical(missing);
      return false;
    }
    return true;
  });
}

}  // namespace vtx
