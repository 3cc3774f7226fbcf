#include <string>

#include "nls/translation.h"
#include "runtime/text.h"
#include "settings/cls_admin_settings.h"
#include "settings/settings_support.h"

namespace vtx {

namespace {

// The two spellings of the settings attributes found in Korvel databases.
struct AttributeSet {
  const char* section;
  const char* subject;
  const char* user_id;
  const char* value_prefix;
  const char* long_value;
  const char* instructions;
};

constexpr AttributeSet kTdmSet = {"TDM_SECTION", "TDM_SUBJECT",    "TDM_USER_ID",
                                  "TDM_VALUE_",  "TDM_VALUE_LONG", "TDM_INSTRUCTIONS"};
constexpr AttributeSet kCnSet = {"CN_SECTION", "CN_SUBJECT",    "CN_USER_ID",
                                 "CN_VALUE_",  "CN_VALUE_LONG", "CN_INSTRUCTIONS"};

}  // namespace

ClsAdminSettings::ClsAdminSettings() {
  // The template dialog takes its caption from the text table; a settings
  // object is what brings that text in.
  if (translation::SetTemplateCaption()) translation::TranslateTemplateCaption();
}

bool ClsAdminSettings::GetAttributeNames(const Ref<vtx::KvSession>& KvSession,
                                         const Ref<vtx::KvClass>& KvClass) {
  return settings::Reported("GetAttributeNames", [&] {
    std::string primary;
    if (!clsUtils().GetThePrimaryIdentifierNameInAClass(KvSession, KvClass, primary)) return false;
    primary_identifier_ = primary;
    // The prefix test is case-sensitive: a "tdm..." table keeps the CN_ names.
    const AttributeSet& set = text::Left(KvClass->GetTableName(), 3) == "TDM" ? kTdmSet : kCnSet;
    section_attribute_ = set.section;
    subject_attribute_ = set.subject;
    user_id_attribute_ = set.user_id;
    value_prefix_ = set.value_prefix;
    long_value_attribute_ = set.long_value;
    instructions_attribute_ = set.instructions;
    return true;
  });
}

std::string ClsAdminSettings::ValueAttributeName(int32_t number) const {
  return value_prefix_ + std::to_string(number);
}

void ClsAdminSettings::AddSectionCondition(const Ref<KvObjectStore>& store,
                                           const Ref<vtx::KvClass>& settings_class,
                                           const Ref<KvQuery>& query, const std::string& section) {
  Ref<KvAttribute> attribute = settings_class->GetAttributes()->ItemByName(section_attribute_);
  if (attribute->GetAttributeType() == field_type::kText) {
    settings::AddCondition(query, section_attribute_, Variant(section));
    return;
  }
  // A lookup section stores the item's code; the caller names its text.
  const int16_t lookup_class = Variant(attribute->GetLookupClassId()).ToInt16();
  Ref<KvLookupItem> item = store->FindLookupItem(lookup_class, section);
  settings::AddCondition(query, section_attribute_, Variant(Variant(item->GetId()).ToInt16()));
}

void ClsAdminSettings::SelectSettings(const settings::SettingsQuery& q,
                                      const Ref<KvClass>& settings_class,
                                      const std::string& section, const std::string* subject,
                                      bool admin, int32_t user_id) {
  settings::AddQueryClass(q.query, settings_class->GetClassId());
  AddSectionCondition(q.store, settings_class, q.query, section);
  if (subject) settings::AddCondition(q.query, subject_attribute_, Variant(*subject));
  if (!admin && user_id > 0) settings::AddCondition(q.query, user_id_attribute_, Variant(user_id));
}

Variant ClsAdminSettings::Invoke(std::string_view name, InvokeKind kind,
                                 std::vector<Variant>& args) {
  if (kind != InvokeKind::kMethod) return Dispatch::Invoke(name, kind, args);
  return Methods().Invoke(*this, name, args);
}

}  // namespace vtx
