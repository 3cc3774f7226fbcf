#include <string>

#include "platform/platform.h"
#include "runtime/ole_date.h"
#include "settings/cls_admin_settings.h"
#include "settings/settings_support.h"
#include "utils/loop_index.h"

namespace vtx {

namespace {

// Stands in for the identifier when the attribute has no sequence; two
// settings created in the same second get the same text.
constexpr const char* kIdentifierStampPattern = "yyMMMddhhmmss";

}  // namespace

bool ClsAdminSettings::CreateSilentUserSettingObject(Ref<vtx::KvSession> KvSession,
                                                     std::string section, std::string Subject,
                                                     Ref<vtx::KvRecordList> RecListOfValues,
                                                     std::string Description) {
  return settings::Reported("CreateSilentUserSettingObject", [&] {
    Ref<KvClass> settings_class = settings::SettingsClassByTable(KvSession, false);
    if (!GetAttributeNames(KvSession, settings_class)) return false;
    Ref<KvObjectStore> store = KvSession->GetObjectStore();
    Ref<KvObject> setting = store->CreateObject(settings_class->GetClassId());
    setting->PrepareNew();
    setting->CompleteNew();
    Ref<KvRecord> data = setting->GetData();

    Ref<KvAttribute> identifier = settings_class->GetAttributes()->ItemByName(primary_identifier_);
    Ref<KvSequence> sequence = store->GetSequences()->GetSequenceOfAttribute(identifier);
    if (sequence) {
      data->SetValue(primary_identifier_, sequence->NextValue());
    } else {
      data->SetValue(primary_identifier_,
                     Variant(date::Format(Platform::Current().Now(), kIdentifierStampPattern)));
    }
    data->SetLongValue(user_id_attribute_, KvSession->GetUserInfo()->GetCurrentUserId());
    data->SetStringValue(section_attribute_, section);
    data->SetStringValue(subject_attribute_, Subject);
    data->SetStringValue(instructions_attribute_, Description);
    if (RecListOfValues) {
      for (int16_t k = 0; k < RecListOfValues->GetRecordCount(); k = NextIndex(k))
        data->SetStringValue(ValueAttributeName(k + 1),
                             RecListOfValues->GetValueAt(0, k).ToString());
    }

    Ref<KvOptions> options = store->GetDefaultOptions()->Copy();
    options->SetFlagB(false);
    options->SetMode(2);
    options->SetFlagA(false);
    options->SetFlagC(false);
    setting->Insert(options);
    return true;
  });
}

bool ClsAdminSettings::CreateAndLinkAdminSetting(Ref<vtx::KvSession> KvSession,
                                                 const std::string& FolderID,
                                                 const Ref<KvRecord>& KvAttributesValue,
                                                 Ref<KvObject>& KvAdminSetting) {
  return settings::Reported("CreateAndLinkAdminSetting", [&] {
    clsUtils utils;
    Ref<KvClass> folder_class =
        KvSession->GetClasses()->ClassByTableName(settings::kSettingsFolderTable);
    std::string folder_identifier;
    if (!utils.GetThePrimaryIdentifierNameInAClass(KvSession, folder_class, folder_identifier))
      return false;

    Ref<KvObjectStore> store = KvSession->GetObjectStore();
    Ref<KvQueryFactory> factory = store->GetQueryFactory();
    Ref<KvQuery> query = factory->GetQuery();
    settings::AddQueryClass(query, folder_class->GetClassId());
    settings::AddColumn(query, "CLASS_ID");
    settings::AddColumn(query, "OBJECT_ID");
    settings::AddCondition(query, folder_identifier, Variant(FolderID));
    factory->Run();
    Ref<KvObjects> folders =
        store->ObjectsFromRecordList(factory->GetResult(), Variant(int16_t{0}));
    // An ambiguous folder id is as good as none: nothing is created.
    if (folders->GetCount() != 1) return false;

    Ref<KvObject> folder = folders->Item(0)->NewInstance();
    folder->PrepareNew();
    folder->Retrieve();
    return utils.CreateAndLinkObject(KvSession, KvAdminSetting, folder,
                                     settings::kAdminSettingTable, KvAttributesValue, false);
  });
}

bool ClsAdminSettings::CheckUnicityAdminSettings(Ref<vtx::KvSession> KvSession,
                                                 const Ref<vtx::KvRecordList>& FirstRec,
                                                 const std::string& Sstr, bool IsAdmin,
                                                 int32_t UserId) {
  return settings::Reported("CheckUnicityAdminSettings", [&] {
    clsUtils utils;
    // The record's own class decides, so user settings are checked alike.
    const int16_t class_id = FirstRec->GetValue("CLASS_ID", 0).ToInt16();
    Ref<KvClass> settings_class = KvSession->GetClasses()->ClassById(class_id);
    if (!GetAttributeNames(KvSession, settings_class)) return false;
    Variant new_subject;
    if (!utils.GetNewAttributeValue(KvSession, FirstRec, subject_attribute_, new_subject))
      return false;
    Variant new_section;
    if (!utils.GetNewAttributeValue(KvSession, FirstRec, section_attribute_, new_section))
      return false;
    const std::string subject = new_subject.ToString();
    const std::string section = new_section.ToString();

    Ref<KvObjectStore> store = KvSession->GetObjectStore();
    Ref<KvQueryFactory> factory = store->GetQueryFactory();
    Ref<KvQuery> query = factory->GetQuery();
    settings::AddQueryClass(query, settings_class->GetClassId());
    query->SetMaxRows(settings::kRowLimit);
    settings::AddColumn(query, "CLASS_ID");
    settings::AddColumn(query, "OBJECT_ID");
    settings::AddColumn(query, subject_attribute_);
    settings::AddColumn(query, section_attribute_);
    settings::AddCondition(query, subject_attribute_, Variant(subject));
    settings::AddCondition(query, section_attribute_, Variant(section));
    if (!IsAdmin) settings::AddCondition(query, user_id_attribute_, Variant(UserId));
    // A setting being updated must not count as its own duplicate.
    if (Sstr == "UPDATE")
      settings::AddCondition(query, "OBJECT_ID", FirstRec->GetValue("OBJECT_ID", 0), "<>");
    factory->Run();
    if (factory->GetRowCount() == 0) return true;

    Ref<KvObject> other =
        store->ObjectsFromRecordList(factory->GetResult(), false)->Item(0)->NewInstance();
    other->PrepareNew();
    other->Retrieve();
    Ref<KvAttribute> identifier;
    if (utils.GetThePrimaryIdentifierInAClass(KvSession, other->GetClass(), identifier)) {
      settings::ShowCritical("There is already an Admin Setting which the Subject is " + subject +
                             " and the Section is " + section + " (" +
                             other->GetData()->GetValue(identifier->GetName()).ToString() + ").");
    }
    return false;
  });
}

}  // namespace vtx
