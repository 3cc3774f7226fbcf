#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "settings/cls_admin_settings.h"
#include "settings/settings_host.h"

namespace vtx::settings_testing {
namespace {

struct SeriesCase {
  const char* name;
  std::vector<int> attributes;      // value attributes of the class
  std::vector<std::string> stored;  // values 1, 2, ... written
  std::vector<std::string> expected;
};

class ValueSeriesTest : public ::testing::TestWithParam<SeriesCase> {};

TEST_P(ValueSeriesTest, ReadsValuesUntilTheFirstMissingNumber) {
  const SeriesCase& c = GetParam();
  SettingsModel model;
  model.values = c.attributes;
  SettingsHost t(model);
  // Higher values are stored without a value.
  t.AddAdmin(Variant("S"), "Tag", c.stored);

  ClsAdminSettings settings;
  Ref<KvRecordList> list;
  ASSERT_TRUE(settings.GetSettingValues(t.Session(), "S", "Tag", true, list)) << c.name;
  ASSERT_EQ(list->GetColumnCount(), 1) << c.name;
  EXPECT_EQ(list->GetColumnName(0), "Tag") << c.name;
  EXPECT_EQ(Column(list, "Tag"), c.expected) << c.name;

  Ref<KvRecordList> section;
  ASSERT_TRUE(settings.GetSettingSection(t.Session(), "S", true, section)) << c.name;
  EXPECT_EQ(Column(section, "TAG"), c.expected) << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Gaps, ValueSeriesTest,
    ::testing::Values(
        SeriesCase{"FiveValues", {1, 2, 3, 4, 5}, {"v1", "v2"}, {"v1", "v2", "", "", ""}},
        SeriesCase{"GapAfterTwo", {1, 2, 4}, {"v1", "v2"}, {"v1", "v2"}},
        SeriesCase{"OneValue", {1, 3}, {"v1"}, {"v1"}}),
    [](const auto& info) { return std::string(info.param.name); });

struct LookupCase {
  const char* name;
  std::string section;  // text the caller names
  bool found;
};

class LookupSectionTest : public ::testing::TestWithParam<LookupCase> {};

// The setting's section is the lookup item 2, "EXPORT".
TEST_P(LookupSectionTest, ComparesTheLookupCodeOfTheSectionText) {
  const LookupCase& c = GetParam();
  SettingsModel model;
  model.lookup_section = true;
  SettingsHost t(model);
  t.AddAdmin(Variant(int32_t{2}), "Tag", {"v1"});

  ClsAdminSettings settings;
  Ref<KvRecordList> list;
  EXPECT_EQ(settings.GetSettingValues(t.Session(), c.section, "Tag", true, list), c.found)
      << c.name;
  std::string value = "kept";
  EXPECT_EQ(settings.GetValueAdminSettingByIndex(t.Session(), c.section, "Tag", 0, value), c.found)
      << c.name;
  EXPECT_EQ(value, c.found ? "v1" : "kept") << c.name;
}

INSTANTIATE_TEST_SUITE_P(Sections, LookupSectionTest,
                         ::testing::Values(LookupCase{"ItemText", "EXPORT", true},
                                           LookupCase{"OtherItem", "GENERAL", false},
                                           LookupCase{"CodeAsTextIsNoItem", "2", false},
                                           LookupCase{"NotAnItem", "NOPE", false}),
                         [](const auto& info) { return std::string(info.param.name); });

struct UserCase {
  const char* name;
  std::vector<int32_t> owners;  // users holding a setting (S, Tag)
  int32_t user_id;
  std::optional<std::string> expected;  // value 1 found, nullopt: none
};

class UserSettingValuesTest : public ::testing::TestWithParam<UserCase> {};

TEST_P(UserSettingValuesTest, UserIdBelowOneMatchesAnyUser) {
  const UserCase& c = GetParam();
  SettingsHost t;
  for (int32_t owner : c.owners)
    t.AddUser(Variant("S"), "Tag", owner, {"of " + std::to_string(owner)});

  ClsAdminSettings settings;
  Ref<KvRecordList> list;
  const bool ok = settings.GetSettingValues(t.Session(), "S", "Tag", false, list, c.user_id);
  ASSERT_EQ(ok, c.expected.has_value()) << c.name;
  if (ok) {
    EXPECT_EQ(list->GetValue("Tag", 0).ToString(), *c.expected) << c.name;
  } else {
    EXPECT_TRUE(list.IsNothing()) << c.name;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Users, UserSettingValuesTest,
    ::testing::Values(UserCase{"AnyUserWhenOnlyOne", {7}, 0, "of 7"},
                      UserCase{"SeveralUsersWithoutIdFail", {7, 8}, 0, std::nullopt},
                      UserCase{"ChosenUser", {7, 8}, 8, "of 8"},
                      UserCase{"NegativeIdMeansAny", {8}, -1, "of 8"},
                      UserCase{"OtherUser", {7}, 9, std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SetSettingValuesTest, CreationWithoutRowsStoresNothingButSucceeds) {
  SettingsHost t;
  ClsAdminSettings settings;
  EXPECT_TRUE(
      settings.SetSettingValues(t.Session(), "S", "Tag", false, 3, t.List({"CN_VALUE_1"}, {})));
  EXPECT_TRUE(t.Dump("User Setting").empty());
}

TEST(SetSettingValuesTest, TwoMatchesChangeNothing) {
  SettingsHost t;
  t.AddAdmin(Variant("S"), "Tag", {"a"});
  t.AddAdmin(Variant("S"), "Tag", {"b"});
  ClsAdminSettings settings;
  EXPECT_FALSE(
      settings.SetSettingValues(t.Session(), "S", "Tag", true, 0, t.List({"Tag"}, {{"x"}})));
  const auto dump = t.Dump("Admin Setting");
  EXPECT_EQ(ValueOf(dump[0], "CN_VALUE_1").ToString(), "a");
  EXPECT_EQ(ValueOf(dump[1], "CN_VALUE_1").ToString(), "b");
  EXPECT_TRUE(t.Take().platform.messages.empty());
}

}  // namespace
}  // namespace vtx::settings_testing
