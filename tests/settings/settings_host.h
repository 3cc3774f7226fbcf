#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include <nlohmann/json.hpp>

#include "emulator/emulated_host.h"
#include "host/kv_host.h"
#include "platform/platform.h"

namespace vtx::settings_testing {

inline constexpr int16_t kAdminRoot = 190;
inline constexpr int16_t kAdminTree = 200;
inline constexpr int16_t kFolder = 210;
inline constexpr int16_t kAdminSetting = 220;
inline constexpr int16_t kUserSetting = 300;
inline constexpr int16_t kSections = 900;

// A settings database: the administrator tree (root, folders, administrator
// settings below the "TN_ADMIN" family), user settings and a lookup of
// section names. Identifier attributes: ROOT_NAME, FOLDER_ID, SETTING_ID,
// USER_SETTING_ID.
struct SettingsModel {
  std::string set = "CN_";  // attribute spelling: "CN_" or "TDM_"
  std::string admin_table = "TN_ADMIN_SETTING";
  std::string user_table = "TN_USER_SETTING";
  std::string user_name = "User Setting";
  std::vector<int> values = {1, 2, 3};  // numbered value attributes
  bool lookup_section = false;          // section as a lookup of "Sections"
  bool admin_sequence = true;           // SETTING_ID numbered by a sequence
  bool user_sequence = false;           // USER_SETTING_ID numbered by a sequence

  nlohmann::json Json() const;
};

// An in-memory emulated Korvel over a settings database, installed as the
// platform while it lives.
class SettingsHost {
 public:
  explicit SettingsHost(const SettingsModel& model = {});

  emu::EmulatedHost& Host() { return host_; }
  emu::Store& Store() { return host_.GetStore(); }
  Ref<KvSession> Session() { return host_.Session(); }
  const std::string& Set() const { return set_; }
  // The attribute of the model's spelling: A("SECTION") is CN_SECTION or TDM_SECTION.
  std::string A(const std::string& role) const { return set_ + role; }

  // Stores a setting; `values` go to value 1, 2, ...
  int32_t AddAdmin(const Variant& section, const std::string& subject,
                   const std::vector<std::string>& values = {}, int32_t user_id = 0,
                   const std::string& long_value = "");
  int32_t AddUser(const Variant& section, const std::string& subject, int32_t user_id,
                  const std::vector<std::string>& values = {});
  int32_t AddFolder(const std::string& folder_id);
  int32_t AddRoot(const std::string& name);
  void PlaceUnder(emu::ObjectRef father, emu::ObjectRef son);  // hierarchy link
  void PutOnDesktop(int32_t root, emu::ObjectRef top);         // relation link

  Ref<KvObject> Load(emu::ObjectRef ref) { return Store().LoadObject(host_.ObjectStore(), ref); }
  // One row per object (CLASS_ID, OBJECT_ID), as Korvel hands a selection over.
  Ref<KvRecordList> Selection(const std::vector<emu::ObjectRef>& objects);
  // A free record list with text columns, filled row by row.
  Ref<KvRecordList> List(const std::vector<std::string>& columns,
                         const std::vector<std::vector<std::string>>& rows);

  void SetVariable(const std::string& name, const std::string& value);
  void SetClock(double ole_date);
  void SetUser(int32_t user_id);
  void Answer(std::vector<DialogAction> actions);

  emu::StepRecordings Take() { return host_.TakeRecordings(); }
  std::vector<emu::DumpedObject> Dump(const std::string& class_name) {
    return Store().Dump(class_name);
  }

 private:
  std::string set_;
  std::string user_name_;
  emu::EmulatedHost host_;
  ScopedPlatform platform_;
  int32_t last_id_ = 1000;  // ids are given in ascending order, links included
};

// The value of `attribute` in a dumped object (Empty when absent).
Variant ValueOf(const emu::DumpedObject& object, const std::string& attribute);
// The text lines of the messages recorded.
std::vector<std::string> Texts(const std::vector<ShownMessage>& messages);
// Column `column` of a record list, as texts.
std::vector<std::string> Column(const Ref<KvRecordList>& list, const std::string& column);
// The object ids of the views' contents.
std::vector<int32_t> ViewIds(const emu::StepRecordings& seen, size_t view = 0);

// ---- Definitions ----

namespace settings_model_detail {

inline nlohmann::json Attribute(const std::string& name, int type, int length = 80) {
  return {{"name", name}, {"external", name}, {"type", type}, {"length", length}};
}

inline nlohmann::json SettingAttributes(const SettingsModel& m, const std::string& identifier) {
  nlohmann::json attributes = nlohmann::json::array();
  attributes.push_back(Attribute(identifier, 1, 40));
  if (m.lookup_section) {
    nlohmann::json section = Attribute(m.set + "SECTION", 10, 4);
    section["lookup"] = kSections;
    attributes.push_back(section);
  } else {
    attributes.push_back(Attribute(m.set + "SECTION", 1, 100));
  }
  attributes.push_back(Attribute(m.set + "SUBJECT", 1, 100));
  attributes.push_back(Attribute(m.set + "USER_ID", 3, 4));
  for (int n : m.values)
    attributes.push_back(Attribute(m.set + "VALUE_" + std::to_string(n), 1, 254));
  attributes.push_back(Attribute(m.set + "VALUE_LONG", 1, 4000));
  attributes.push_back(Attribute(m.set + "INSTRUCTIONS", 1, 254));
  return attributes;
}

}  // namespace settings_model_detail

inline nlohmann::json SettingsModel::Json() const {
  nlohmann::json admin = {
      {"id", kAdminSetting},
      {"name", "Admin Setting"},
      {"table", admin_table},
      {"super", kAdminTree},
      {"kind", 1},
      {"attributes", settings_model_detail::SettingAttributes(*this, "SETTING_ID")},
      {"identifiers", {"SETTING_ID"}}};
  if (admin_sequence) admin["sequences"] = {{"SETTING_ID", {{"next", 1}, {"format", "AS{:04}"}}}};
  nlohmann::json user = {
      {"id", kUserSetting},
      {"name", user_name},
      {"table", user_table},
      {"super", kUserSetting},
      {"kind", 1},
      {"attributes", settings_model_detail::SettingAttributes(*this, "USER_SETTING_ID")},
      {"identifiers", {"USER_SETTING_ID"}}};
  if (user_sequence)
    user["sequences"] = {{"USER_SETTING_ID", {{"next", 1}, {"format", "US{:04}"}}}};
  return {{"classes",
           {{{"id", kAdminRoot},
             {"name", "Admin Root"},
             {"table", "TN_ADMIN_ROOT"},
             {"super", kAdminRoot},
             {"kind", 1},
             {"attributes", {settings_model_detail::Attribute("ROOT_NAME", 1)}},
             {"identifiers", {"ROOT_NAME"}}},
            {{"id", 195},
             {"name", "Root_Admin"},
             {"table", "TN_ROOT_ADMIN"},
             {"super", 195},
             {"kind", 7},
             {"ends", {kAdminRoot, kAdminTree}}},
            {{"id", kAdminTree},
             {"name", "Admin Tree"},
             {"table", "TN_ADMIN"},
             {"super", kAdminTree},
             {"kind", 1},
             {"attributes",
              {settings_model_detail::Attribute("ADMIN_KEY", 1),
               settings_model_detail::Attribute("TDMX_XML_VIEWER", 1)}},
             {"identifiers", {"ADMIN_KEY"}},
             {"hierarchyLink", 250}},
            {{"id", kFolder},
             {"name", "Settings Folder"},
             {"table", "TN_SETTINGS_FOLDER"},
             {"super", kAdminTree},
             {"kind", 1},
             {"attributes", {settings_model_detail::Attribute("FOLDER_ID", 1, 40)}},
             {"identifiers", {"FOLDER_ID"}}},
            admin,
            {{"id", 250},
             {"name", "Admin_Tree"},
             {"table", "TN_ADMIN_TREE"},
             {"super", 250},
             {"kind", 6},
             {"ends", {kAdminTree, kAdminTree}}},
            user,
            {{"id", kSections},
             {"name", "Sections"},
             {"table", "TN_SECTIONS"},
             {"super", kSections},
             {"kind", 5},
             {"items",
              {{{"id", 1}, {"text", "GENERAL"}},
               {{"id", 2}, {"text", "EXPORT"}},
               {{"id", 3}, {"text", "IMPORT"}}}}}}}};
}

inline SettingsHost::SettingsHost(const SettingsModel& model)
    : set_(model.set),
      user_name_(model.user_name),
      host_(":memory:", model.Json()),
      platform_(&host_.GetPlatform()) {}

inline int32_t SettingsHost::AddAdmin(const Variant& section, const std::string& subject,
                                      const std::vector<std::string>& values, int32_t user_id,
                                      const std::string& long_value) {
  const int32_t id = ++last_id_;
  emu::Values v = {{"SETTING_ID", Variant("S" + std::to_string(id))},
                   {A("SECTION"), section},
                   {A("SUBJECT"), Variant(subject)},
                   {A("USER_ID"), Variant(user_id)}};
  for (size_t n = 0; n < values.size(); ++n)
    v.push_back({A("VALUE_" + std::to_string(n + 1)), Variant(values[n])});
  if (!long_value.empty()) v.push_back({A("VALUE_LONG"), Variant(long_value)});
  return Store().Insert("Admin Setting", v, id);
}

inline int32_t SettingsHost::AddUser(const Variant& section, const std::string& subject,
                                     int32_t user_id, const std::vector<std::string>& values) {
  const int32_t id = ++last_id_;
  emu::Values v = {{"USER_SETTING_ID", Variant("U" + std::to_string(id))},
                   {A("SECTION"), section},
                   {A("SUBJECT"), Variant(subject)},
                   {A("USER_ID"), Variant(user_id)}};
  for (size_t n = 0; n < values.size(); ++n)
    v.push_back({A("VALUE_" + std::to_string(n + 1)), Variant(values[n])});
  return Store().Insert(user_name_, v, id);
}

inline int32_t SettingsHost::AddFolder(const std::string& folder_id) {
  return Store().Insert("Settings Folder", {{"FOLDER_ID", Variant(folder_id)}}, ++last_id_);
}

inline int32_t SettingsHost::AddRoot(const std::string& name) {
  return Store().Insert("Admin Root", {{"ROOT_NAME", Variant(name)}}, ++last_id_);
}

inline void SettingsHost::PlaceUnder(emu::ObjectRef father, emu::ObjectRef son) {
  last_id_ = Store().Link("Admin_Tree", father, son);
}

inline void SettingsHost::PutOnDesktop(int32_t root, emu::ObjectRef top) {
  last_id_ = Store().Link("Root_Admin", {kAdminRoot, root}, top);
}

inline Ref<KvRecordList> SettingsHost::Selection(const std::vector<emu::ObjectRef>& objects) {
  Ref<KvRecordList> rows = Store().NewRecordList();
  rows->AddColumn("CLASS_ID", 2, 2);
  rows->AddColumn("OBJECT_ID", 4, 3);
  for (int32_t row = 0; row < static_cast<int32_t>(objects.size()); ++row) {
    rows->SetValue("CLASS_ID", row, Variant(objects[row].class_id));
    rows->SetValue("OBJECT_ID", row, Variant(objects[row].object_id));
  }
  return rows;
}

inline Ref<KvRecordList> SettingsHost::List(const std::vector<std::string>& columns,
                                            const std::vector<std::vector<std::string>>& rows) {
  Ref<KvRecordList> list = Store().NewRecordList();
  for (const std::string& column : columns) list->AddColumn(column, 254, 1);
  for (int32_t r = 0; r < static_cast<int32_t>(rows.size()); ++r)
    for (size_t c = 0; c < columns.size(); ++c) list->SetValue(columns[c], r, Variant(rows[r][c]));
  return list;
}

inline void SettingsHost::SetVariable(const std::string& name, const std::string& value) {
  emu::Environment environment = host_.GetEnvironment();
  environment.variables[name] = value;
  host_.SetEnvironment(environment);
}

inline void SettingsHost::SetClock(double ole_date) {
  emu::Environment environment = host_.GetEnvironment();
  environment.clock = ole_date;
  host_.SetEnvironment(environment);
}

inline void SettingsHost::SetUser(int32_t user_id) {
  emu::Environment environment = host_.GetEnvironment();
  environment.user = emu::ObjectKey{"Admin Root", user_id};
  host_.SetEnvironment(environment);
}

inline void SettingsHost::Answer(std::vector<DialogAction> actions) {
  emu::HostAnswers answers;
  answers.template_dialog = std::move(actions);
  host_.AddAnswers(answers);
}

inline Variant ValueOf(const emu::DumpedObject& object, const std::string& attribute) {
  for (const auto& [name, value] : object.values)
    if (name == attribute) return value;
  return Variant();
}

inline std::vector<std::string> Texts(const std::vector<ShownMessage>& messages) {
  std::vector<std::string> texts;
  for (const ShownMessage& m : messages) texts.push_back(m.text);
  return texts;
}

inline std::vector<std::string> Column(const Ref<KvRecordList>& list, const std::string& column) {
  std::vector<std::string> out;
  for (int32_t r = 0; r < list->GetRecordCount(); ++r)
    out.push_back(list->GetValue(column, r).ToString());
  return out;
}

inline std::vector<int32_t> ViewIds(const emu::StepRecordings& seen, size_t view) {
  std::vector<int32_t> ids;
  if (view >= seen.host.views.size()) return ids;
  for (const emu::ObjectRef& ref : seen.host.views[view].view->ObjectIds())
    ids.push_back(ref.object_id);
  return ids;
}

}  // namespace vtx::settings_testing
