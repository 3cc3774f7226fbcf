#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "runtime/ole_date.h"
#include "settings/cls_admin_settings.h"
#include "settings/settings_host.h"

namespace vtx::settings_testing {
namespace {

struct SilentCase {
  const char* name;
  bool sequence;
  std::string identifier;
};

class CreateSilentUserSettingTest : public ::testing::TestWithParam<SilentCase> {};

TEST_P(CreateSilentUserSettingTest, NumbersBySequenceElseByTheClock) {
  const SilentCase& c = GetParam();
  SettingsModel model;
  model.user_sequence = c.sequence;
  SettingsHost t(model);
  t.SetClock(date::FromIso("2026-12-05T10:11:12"));
  t.SetUser(7);

  ClsAdminSettings settings;
  ASSERT_TRUE(settings.CreateSilentUserSettingObject(
      t.Session(), "Sec", "Sub", t.List({"Anything"}, {{"a"}, {"b"}}), "How to use it"))
      << c.name;
  const auto dump = t.Dump("User Setting");
  ASSERT_EQ(dump.size(), 1u) << c.name;
  EXPECT_EQ(ValueOf(dump[0], "USER_SETTING_ID").ToString(), c.identifier) << c.name;
  EXPECT_EQ(ValueOf(dump[0], "CN_USER_ID").ToInt32(), 7) << c.name;
  EXPECT_EQ(ValueOf(dump[0], "CN_SECTION").ToString(), "Sec") << c.name;
  EXPECT_EQ(ValueOf(dump[0], "CN_SUBJECT").ToString(), "Sub") << c.name;
  EXPECT_EQ(ValueOf(dump[0], "CN_INSTRUCTIONS").ToString(), "How to use it") << c.name;
  EXPECT_EQ(ValueOf(dump[0], "CN_VALUE_1").ToString(), "a") << c.name;
  EXPECT_EQ(ValueOf(dump[0], "CN_VALUE_2").ToString(), "b") << c.name;
  EXPECT_TRUE(ValueOf(dump[0], "CN_VALUE_3").IsNull()) << c.name;
}

INSTANTIATE_TEST_SUITE_P(Identifiers, CreateSilentUserSettingTest,
                         ::testing::Values(SilentCase{"Sequence", true, "US0001"},
                                           SilentCase{"ClockStamp", false, "26Dec05101112"}),
                         [](const auto& info) { return std::string(info.param.name); });

struct FolderCase {
  const char* name;
  int folders_with_id;  // folders named "F1"
  bool created;
};

class CreateAndLinkAdminSettingTest : public ::testing::TestWithParam<FolderCase> {};

TEST_P(CreateAndLinkAdminSettingTest, CreatesOnlyUnderAnUnambiguousFolder) {
  const FolderCase& c = GetParam();
  SettingsHost t;
  std::vector<int32_t> folders;
  for (int i = 0; i < c.folders_with_id; ++i) folders.push_back(t.AddFolder("F1"));
  t.AddFolder("F2");
  Ref<KvRecordList> values = t.List({"CN_SECTION", "CN_SUBJECT", "CN_VALUE_1"}, {{"S", "T", "v"}});

  ClsAdminSettings settings;
  Ref<KvObject> created;
  EXPECT_EQ(settings.CreateAndLinkAdminSetting(t.Session(), "F1", values->GetRecord(0), created),
            c.created)
      << c.name;
  const auto dump = t.Dump("Admin Setting");
  if (!c.created) {
    EXPECT_TRUE(dump.empty()) << c.name;
    return;
  }
  ASSERT_EQ(dump.size(), 1u) << c.name;
  EXPECT_EQ(created->GetObjectId(), dump[0].ref.object_id) << c.name;
  EXPECT_EQ(ValueOf(dump[0], "CN_SECTION").ToString(), "S") << c.name;
  EXPECT_EQ(ValueOf(dump[0], "CN_VALUE_1").ToString(), "v") << c.name;
  const auto links = t.Dump("Admin_Tree");
  ASSERT_EQ(links.size(), 1u) << c.name;
  EXPECT_EQ(ValueOf(links[0], "PAR_OBJECT_ID").ToInt32(), folders[0]) << c.name;
  EXPECT_EQ(ValueOf(links[0], "SON_OBJECT_ID").ToInt32(), dump[0].ref.object_id) << c.name;
}

INSTANTIATE_TEST_SUITE_P(Folders, CreateAndLinkAdminSettingTest,
                         ::testing::Values(FolderCase{"OneFolder", 1, true},
                                           FolderCase{"NoFolder", 0, false},
                                           FolderCase{"SharedFolderId", 2, false}),
                         [](const auto& info) { return std::string(info.param.name); });

struct UnicityCase {
  const char* name;
  std::string mode;
  bool admin;
  int32_t user_id;
  bool expected;
};

class CheckUnicityTest : public ::testing::TestWithParam<UnicityCase> {};

// The record being saved is the administrator setting (S, T) or the user
// setting (S, T) of user 7; user 8 has a setting at the same address.
TEST_P(CheckUnicityTest, CountsOtherSettingsAtTheSameAddress) {
  const UnicityCase& c = GetParam();
  SettingsHost t;
  const int32_t admin = t.AddAdmin(Variant("S"), "T");
  const int32_t user7 = t.AddUser(Variant("S"), "T", 7);
  const int32_t user8 = t.AddUser(Variant("S"), "T", 8);
  const emu::ObjectRef saved =
      c.admin ? emu::ObjectRef{kAdminSetting, admin} : emu::ObjectRef{kUserSetting, user7};

  ClsAdminSettings settings;
  EXPECT_EQ(settings.CheckUnicityAdminSettings(t.Session(), t.Selection({saved}), c.mode, c.admin,
                                               c.user_id),
            c.expected)
      << c.name;
  const auto messages = t.Take().platform.messages;
  if (c.expected) {
    EXPECT_TRUE(messages.empty()) << c.name;
    return;
  }
  ASSERT_EQ(messages.size(), 1u) << c.name;
  const std::string found =
      c.admin ? "S" + std::to_string(admin) : "U" + std::to_string(c.user_id == 8 ? user8 : user7);
  EXPECT_EQ(messages[0].text,
            "There is already an Admin Setting which the Subject is T and the "
            "Section is S (" +
                found + ").")
      << c.name;
  EXPECT_EQ(messages[0].style, 16) << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Modes, CheckUnicityTest,
    ::testing::Values(UnicityCase{"UpdateOfAUniqueSetting", "UPDATE", true, 0, true},
                      UnicityCase{"LowerCaseModeFindsItself", "update", true, 0, false},
                      UnicityCase{"NewSettingAtATakenAddress", "NEW", true, 0, false},
                      UnicityCase{"UserSevenUpdatingOwnSetting", "UPDATE", false, 7, true},
                      UnicityCase{"UserEightsSettingCounts", "UPDATE", false, 8, false}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace vtx::settings_testing
