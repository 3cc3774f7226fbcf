#pragma once

#include <cstdint>
#include <string>

#include "host/kv_host.h"
#include "runtime/runtime_error.h"
#include "utils/cls_utils.h"
#include "utils/reported.h"

// Pieces every settings operation shares: the host classes, the shape of the
// settings queries, the run options and the way failures are reported.
namespace vtx::settings {

inline constexpr const char* kAdminSettingTable = "TN_ADMIN_SETTING";
inline constexpr const char* kUserSettingTable = "TN_USER_SETTING";
inline constexpr const char* kSettingsFolderTable = "TN_SETTINGS_FOLDER";
inline constexpr const char* kAdminTreeTable = "TN_ADMIN";
inline constexpr const char* kAdminSettingName = "Admin Setting";
inline constexpr const char* kUserSettingName = "User Setting";

inline constexpr int32_t kCriticalOkOnly = 16;
inline constexpr int32_t kOkOnly = 0;
inline constexpr const char* kMessageTitle = "VTX";
inline constexpr int32_t kRowLimit = 10000;

// The settings class for administrator (true) or user settings, by table name;
// Nothing when the database has none.
Ref<KvClass> SettingsClassByTable(const Ref<KvSession>& session, bool admin);

// The store, its query factory and the factory's query, fetched in that
// order: the host objects a settings query is built and run on.
struct SettingsQuery {
  Ref<KvObjectStore> store;
  Ref<KvQueryFactory> factory;
  Ref<KvQuery> query;
};
SettingsQuery OpenQuery(const Ref<KvSession>& session);

// Query building under the one alias every settings query uses.
void AddQueryClass(const Ref<KvQuery>& query, int16_t class_id);
// A condition that must hold (empty connector).
void AddCondition(const Ref<KvQuery>& query, const std::string& attribute, const Variant& value,
                  const std::string& op = "=");
void AddColumn(const Ref<KvQuery>& query, const std::string& column);

// A copy of the store's default options with flags A and C off (and B too
// when `clear_flag_b`): how the settings store runs its queries.
Ref<KvOptions> RunOptions(const Ref<KvObjectStore>& store, bool clear_flag_b = false);

// A new, empty record list / record of the host's record-list library.
Ref<KvRecordList> NewRecordList();
Ref<KvRecord> NewRecord();

// A modal message box with the critical icon, an OK button and the title "VTX".
void ShowCritical(const std::string& text);

// Settings operations report their failures as every utils operation does.
using ::vtx::Reported;

}  // namespace vtx::settings
