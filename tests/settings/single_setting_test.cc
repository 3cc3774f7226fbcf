#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "settings/cls_admin_settings.h"
#include "settings/settings_host.h"

namespace vtx::settings_testing {
namespace {

struct AttributeSetCase {
  const char* name;
  std::string set;    // spelling of the class's attributes
  std::string table;  // the class's table name
  bool readable;      // whether the names chosen exist in the class
};

class AttributeSetTest : public ::testing::TestWithParam<AttributeSetCase> {};

// The class's table name alone decides the spelling; a wrong choice names
// attributes the class lacks and the read fails.
TEST_P(AttributeSetTest, TableNamePrefixChoosesTheSpelling) {
  const AttributeSetCase& c = GetParam();
  SettingsModel model;
  model.set = c.set;
  model.admin_table = c.table;
  SettingsHost t(model);
  const int32_t id = t.AddAdmin(Variant("S"), "T", {"one", "two", "three"});
  Ref<KvObject> setting = t.Load({kAdminSetting, id});

  ClsAdminSettings settings;
  std::string value = "before";
  const bool ok = settings.GetAdminSettingValue(t.Session(), setting, 3, value, "NoType");

  EXPECT_EQ(ok, c.readable) << c.name;
  if (c.readable) {
    EXPECT_EQ(value, "three") << c.name;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Tables, AttributeSetTest,
    ::testing::Values(
        AttributeSetCase{"TdmTable", "TDM_", "TDM_ADMIN_SETTING", true},
        AttributeSetCase{"TdmPrefixAlone", "TDM_", "TDMX", true},
        AttributeSetCase{"CnTable", "CN_", "TN_ADMIN_SETTING", true},
        AttributeSetCase{"LowerCaseTdmMeansCn", "CN_", "tdm_admin_setting", true},
        AttributeSetCase{"LowerCaseTdmWithTdmNamesFails", "TDM_", "tdm_settings", false},
        AttributeSetCase{"OtherTableWithTdmNamesFails", "TDM_", "TN_ADMIN_SETTING", false}),
    [](const auto& info) { return std::string(info.param.name); });

struct DefinedCase {
  const char* name;
  bool admin;
  std::optional<int32_t> user_id;  // nullopt: left out
  bool expected;
};

class IsSettingDefinedTest : public ::testing::TestWithParam<DefinedCase> {};

// Admin setting (S, T) of user 5; user settings (S, T) of users 0 and 7.
TEST_P(IsSettingDefinedTest, MatchesUserSettingsByUserIdOnly) {
  const DefinedCase& c = GetParam();
  SettingsHost t;
  t.AddAdmin(Variant("S"), "T", {}, 5);
  t.AddUser(Variant("S"), "T", 0);
  t.AddUser(Variant("S"), "T", 7);
  t.AddUser(Variant("S"), "Other", 9);

  ClsAdminSettings settings;
  const bool found = c.user_id
                         ? settings.IsSettingDefined(t.Session(), "S", "T", c.admin, *c.user_id)
                         : settings.IsSettingDefined(t.Session(), "S", "T", c.admin);
  EXPECT_EQ(found, c.expected) << c.name;
  EXPECT_TRUE(t.Take().platform.messages.empty()) << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Users, IsSettingDefinedTest,
    ::testing::Values(DefinedCase{"AdminIgnoresUserId", true, 42, true},
                      DefinedCase{"AdminWithoutUserId", true, std::nullopt, true},
                      DefinedCase{"UserWithoutIdMeansUserZero", false, std::nullopt, true},
                      DefinedCase{"UserSeven", false, 7, true},
                      DefinedCase{"UserNineHasOtherSubjectOnly", false, 9, false},
                      DefinedCase{"UnknownUser", false, 8, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(GetAdminSettingTest, HandsBackTheFirstMatchReadInFull) {
  SettingsHost t;
  const int32_t first = t.AddAdmin(Variant("S"), "T", {"a"});
  t.AddAdmin(Variant("S"), "T", {"b"});

  ClsAdminSettings settings;
  Ref<KvObject> found;
  ASSERT_TRUE(settings.GetAdminSetting(t.Session(), "S", "T", found, true, true));
  EXPECT_EQ(found->GetObjectId(), first);
  EXPECT_EQ(found->GetData()->GetValue("CN_VALUE_1").ToString(), "a");
  EXPECT_TRUE(t.Take().platform.messages.empty());
}

struct MissingCase {
  const char* name;
  bool admin;
  bool mandatory;
};

class GetAdminSettingMissingTest : public ::testing::TestWithParam<MissingCase> {};

TEST_P(GetAdminSettingMissingTest, ComplainsOnlyWhenMandatory) {
  const MissingCase& c = GetParam();
  SettingsHost t;
  t.AddAdmin(Variant("S"), "T");

  ClsAdminSettings settings;
  Ref<KvObject> found;
  EXPECT_FALSE(settings.GetAdminSetting(t.Session(), "S", "Nope", found, c.admin, c.mandatory));
  EXPECT_TRUE(found.IsNothing());
  const auto messages = t.Take().platform.messages;
  if (!c.mandatory) {
    EXPECT_TRUE(messages.empty()) << c.name;
    return;
  }
  ASSERT_EQ(messages.size(), 1u) << c.name;
  EXPECT_EQ(messages[0].text,
            "There is no Admin Setting which the Subject is ''Nope'' and the Section is ''S''.\r\n"
            "Contact your Administrator !");
  EXPECT_EQ(messages[0].style, 16);
  EXPECT_EQ(messages[0].title, "VTX");
}

INSTANTIATE_TEST_SUITE_P(Modes, GetAdminSettingMissingTest,
                         ::testing::Values(MissingCase{"AdminMandatory", true, true},
                                           MissingCase{"UserMandatory", false, true},
                                           MissingCase{"AdminOptional", true, false}),
                         [](const auto& info) { return std::string(info.param.name); });

struct ValueCase {
  const char* name;
  std::string stored;  // value 2 of the setting
  std::string kind;
  bool mandatory;
  bool expected;
  std::string message;  // "" for none
};

class GetAdminSettingValueTest : public ::testing::TestWithParam<ValueCase> {};

TEST_P(GetAdminSettingValueTest, ChecksMandatoryValuesByKind) {
  const ValueCase& c = GetParam();
  SettingsHost t;
  t.SetVariable("DEBUG", "true");
  const int32_t id = t.AddAdmin(Variant("Sec"), "Sub", {"first", c.stored});
  Ref<KvObject> setting = t.Load({kAdminSetting, id});
  Ref<KvClass> folder_class = t.Session()->GetClasses()->ClassByTableName("TN_SETTINGS_FOLDER");

  ClsAdminSettings settings;
  std::string value;
  EXPECT_EQ(settings.GetAdminSettingValue(t.Session(), setting, 2, value, c.kind, c.mandatory,
                                          folder_class),
            c.expected)
      << c.name;
  EXPECT_EQ(value, c.stored) << c.name;
  const auto messages = t.Take().platform.messages;
  if (c.message.empty()) {
    EXPECT_TRUE(messages.empty()) << c.name << ": " << messages[0].text;
  } else {
    // With DEBUG on, a check may first report its own failure.
    ASSERT_FALSE(messages.empty()) << c.name;
    EXPECT_EQ(messages.back().text, c.message) << c.name;
    EXPECT_EQ(messages.back().style, 16) << c.name;
    EXPECT_EQ(messages.back().title, "VTX") << c.name;
  }
}

const char* const kWrong =
    "''SETTING_ID'' (Subject = ''Sub'', Section = ''Sec''. It should be a real ";

INSTANTIATE_TEST_SUITE_P(
    Kinds, GetAdminSettingValueTest,
    ::testing::Values(
        ValueCase{"OptionalEmpty", "", "TableName", false, true, ""},
        ValueCase{"OptionalUnchecked", "nonsense", "TableName", false, true, ""},
        ValueCase{"MandatoryEmpty", "", "ClassName", true, false,
                  "The value 2 has not to be empty for the Admin Setting ''SETTING_ID'' "
                  "(Subject = ''Sub'', Section = ''Sec''."},
        ValueCase{"ClassNameUnchecked", "no such class", "ClassName", true, true, ""},
        ValueCase{"NoTypeUnchecked", "x", "NoType", true, true, ""},
        ValueCase{"TableNameKnown", "TN_ADMIN", "TableName", true, true, ""},
        ValueCase{"TableNameUnknown", "TN_NOPE", "TableName", true, false,
                  std::string("The value 2(TN_NOPE) is not correct for the Admin Setting ") +
                      kWrong + "''Table Name''."},
        ValueCase{"InternalNameKnown", "FOLDER_ID", "AttributeInternalName", true, true, ""},
        ValueCase{"InternalNameUnknown", "NOPE", "AttributeInternalName", true, false,
                  std::string("The value 2(NOPE) is not correct for the Admin Setting ") + kWrong +
                      "''Attribute Internal Name''."},
        ValueCase{"ExternalNameUnknown", "Nope", "AttributeExternalName", true, false,
                  std::string("The value 2(Nope) is not correct for the Admin Setting ") + kWrong +
                      "''Attribute External Name''."},
        ValueCase{"KindIsCaseSensitive", "x", "notype", true, false,
                  "Following Error has occured in ''GetAdminSettingValue''\rNumber      : 1\r"
                  "Description : Application-defined or object-defined error"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SettingsFailureTest, MissingSettingsClassEndsInFalse) {
  SettingsModel model;
  model.user_table = "TN_OTHER";
  SettingsHost t(model);
  ClsAdminSettings settings;
  EXPECT_FALSE(settings.IsSettingDefined(t.Session(), "S", "T", false));
  Ref<KvObject> found;
  EXPECT_FALSE(settings.GetAdminSetting(t.Session(), "S", "T", found, false, true));
  EXPECT_TRUE(t.Take().platform.messages.empty());
}

}  // namespace
}  // namespace vtx::settings_testing
