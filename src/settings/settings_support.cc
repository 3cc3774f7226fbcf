#include "settings/settings_support.h"

#include "platform/platform.h"

namespace vtx::settings {

namespace {
constexpr const char* kAlias = "F";
}  // namespace

Ref<KvClass> SettingsClassByTable(const Ref<KvSession>& session, bool admin) {
  return session->GetClasses()->ClassByTableName(admin ? kAdminSettingTable : kUserSettingTable);
}

SettingsQuery OpenQuery(const Ref<KvSession>& session) {
  SettingsQuery q;
  q.store = session->GetObjectStore();
  q.factory = q.store->GetQueryFactory();
  q.query = q.factory->GetQuery();
  return q;
}

void AddQueryClass(const Ref<KvQuery>& query, int16_t class_id) {
  query->GetQueryClasses()->AddClass(class_id, kAlias);
}

void AddCondition(const Ref<KvQuery>& query, const std::string& attribute, const Variant& value,
                  const std::string& op) {
  query->GetConditions()->Add("", attribute, op, value, 0, kAlias);
}

void AddColumn(const Ref<KvQuery>& query, const std::string& column) {
  query->GetSelectList()->Add(column, kAlias, 0);
}

Ref<KvOptions> RunOptions(const Ref<KvObjectStore>& store, bool clear_flag_b) {
  Ref<KvOptions> options = store->GetDefaultOptions()->Copy();
  options->SetFlagA(false);
  if (clear_flag_b) options->SetFlagB(false);
  options->SetFlagC(false);
  return options;
}

Ref<KvRecordList> NewRecordList() {
  return CastTo<KvRecordList>(Platform::Current().CreateObject(progid::kRecordList));
}

Ref<KvRecord> NewRecord() {
  return CastTo<KvRecord>(Platform::Current().CreateObject(progid::kRecord));
}

void ShowCritical(const std::string& text) {
  Platform::Current().MessageBox(text, kCriticalOkOnly, std::string(kMessageTitle));
}

}  // namespace vtx::settings
