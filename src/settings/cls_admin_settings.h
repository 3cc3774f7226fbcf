#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "host/kv_host.h"
#include "runtime/method_table.h"

namespace vtx {

namespace settings {
struct SettingsQuery;
}  // namespace settings

// The settings store: administrator and user settings kept as Korvel objects
// addressed by section and subject (and user id for user settings), with
// numbered text values, one long text and instructions.
//
// Every operation stands alone on the session it is given; the only state is
// the seven attribute names of the settings class that the last call resolved
// (GetAttributeNames rewrites them at the start of every operation).
// Arguments the language passes by reference and that an operation writes are
// non-const references; optional parameters default to their type's default.
// Results handed out (records lists, objects) belong to the caller.
// Thread-safety: one instance serves one call at a time, on one thread
// (apartment model); the attribute-name fields are shared by all operations.
class ClsAdminSettings : public Dispatch {
 public:
  // Sets the template dialog's caption text and its translation.
  ClsAdminSettings();

  // Single-setting lookup (single_setting.cc).
  bool IsSettingDefined(const Ref<KvSession>& KvSession, const std::string& section,
                        const std::string& Subject, bool admin, int32_t UserId = 0);
  bool GetAdminSetting(const Ref<KvSession>& KvSession, const std::string& section,
                       const std::string& Subject, Ref<KvObject>& KvAdminSetting, bool IsAdmin,
                       bool IsMandatory = false, int32_t UserId = 0);
  bool GetAdminSettingValue(const Ref<KvSession>& KvSession, const Ref<KvObject>& KvAdminSetting,
                            int16_t Number, std::string& value, const std::string& KindOfValue,
                            bool IsMandatory = false, const Ref<KvClass>& KvClass = nullptr);

  // Multi-value read and write (multi_value.cc).
  bool GetSettingValues(const Ref<KvSession>& KvSession, std::string SectionName,
                        std::string TagName, bool admin, Ref<KvRecordList>& KvRecordList,
                        int32_t UserId = 0);
  bool GetValueAdminSettingByIndex(const Ref<KvSession>& KvSession, const std::string& SectionName,
                                   const std::string& Subject, int16_t Index, std::string& value);
  bool SetSettingValues(const Ref<KvSession>& KvSession, const std::string& SectionName,
                        const std::string& Subject, bool admin, int32_t UserId,
                        const Ref<KvRecordList>& Values);
  bool GetSettingSection(const Ref<KvSession>& KvSession, const std::string& SectionName,
                         bool admin, Ref<KvRecordList>& KvRecordList, int32_t UserId = 0);

  // Creation and uniqueness (setting_creation.cc).
  bool CreateSilentUserSettingObject(Ref<KvSession> KvSession, std::string section,
                                     std::string Subject, Ref<KvRecordList> RecListOfValues,
                                     std::string Description);
  bool CreateAndLinkAdminSetting(Ref<KvSession> KvSession, const std::string& FolderID,
                                 const Ref<KvRecord>& KvAttributesValue,
                                 Ref<KvObject>& KvAdminSetting);
  bool CheckUnicityAdminSettings(Ref<KvSession> KvSession, const Ref<KvRecordList>& FirstRec,
                                 const std::string& Sstr, bool IsAdmin, int32_t UserId = 0);

  // Long text (long_text.cc). The first two catch nothing: host failures
  // reach the caller as RuntimeError.
  std::string GetSettingLongValue(Ref<KvSession> KvSession, const std::string& SectionName,
                                  const std::string& TagName, bool admin, int32_t UserId = 0);
  bool SetSettingLongValue(const Ref<KvSession>& KvSession, const std::string& SectionName,
                           const std::string& Subject, bool admin, int32_t UserId,
                           std::string LongTxt);
  bool GetLongValueBySection(const Ref<KvSession>& KvSession, const std::string& SectionName,
                             bool IsAdmin, Ref<KvRecordList>& KvRecordList, int32_t UserId = 0);

  // Maintenance queries (maintenance.cc, doubles.cc).
  bool GetInfosOfSectionStartedWith(const Ref<KvSession>& KvSession, std::string SectionStart,
                                    std::string SubjectName, std::string SectionName,
                                    std::string SourceClass, std::string ShownStatus, bool admin,
                                    Ref<KvRecordList>& ResultList, int32_t UserId = 0);
  bool GetBackASWhichAreNotInTheTree(const Ref<KvSession>& KvSession,
                                     const Ref<KvRecordList>& FirstRec);
  bool GetBackTheDoubles(const Ref<KvSession>& KvSession,
                         const Ref<KvRecordList>& FirstRec = nullptr);

  // Template selection (template_selection.cc).
  bool GetSelectedTemplate(const Ref<KvSession>& KvSession, const std::string& SectionName,
                           std::string& SelectedTemplate);
  bool GetBackTheDescriptions(const Ref<KvSession>& KvSession,
                              const Ref<KvStrings>& KvSectionValues, const std::string& SectionName,
                              Ref<KvRecordList>& KvRecordList);

  // Late binding by name (the scenario runner and the COM layer).
  Variant Invoke(std::string_view name, InvokeKind kind, std::vector<Variant>& args) override;
  std::string_view GetTypeName() const override { return "ClsAdminSettings"; }
  static const MethodTable<ClsAdminSettings>& Methods();

  // Resolves the seven attribute names for `KvClass`: the primary identifier
  // from the class, the others from the TDM_ or CN_ set as the table name
  // starts with "TDM" or not. False (fields unchanged) when the primary
  // identifier cannot be found. A private operation of the class: it is not
  // late-bound (not in Methods()); only the scenario runner calls it directly.
  bool GetAttributeNames(const Ref<KvSession>& KvSession, const Ref<KvClass>& KvClass);

 private:
  // Name of value attribute `number` (prefix followed by the decimal number).
  std::string ValueAttributeName(int32_t number) const;
  // Adds the section condition: the text itself for a text attribute, the
  // lookup item's id (16-bit) for a lookup attribute.
  void AddSectionCondition(const Ref<KvObjectStore>& store, const Ref<KvClass>& settings_class,
                           const Ref<KvQuery>& query, const std::string& section);
  // Restricts `q` to `settings_class`, the section, the subject when given
  // and, for user settings, a positive user id.
  void SelectSettings(const settings::SettingsQuery& q, const Ref<KvClass>& settings_class,
                      const std::string& section, const std::string* subject, bool admin,
                      int32_t user_id);

  std::string section_attribute_;
  std::string subject_attribute_;
  std::string user_id_attribute_;
  std::string value_prefix_;
  std::string long_value_attribute_;
  std::string primary_identifier_;
  std::string instructions_attribute_;
};

}  // namespace vtx
