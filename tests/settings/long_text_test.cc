#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "runtime/runtime_error.h"
#include "settings/cls_admin_settings.h"
#include "settings/settings_host.h"

namespace vtx::testing {
namespace {

TEST(GetSettingLongValueTest, ReadsTheLongTextOfTheOneMatch) {
  SettingsHost t;
  t.AddAdmin(Variant("S"), "T", {}, 0, "a long text");
  ClsAdminSettings settings;
  EXPECT_EQ(settings.GetSettingLongValue(t.Session(), "S", "T", true), "a long text");
  EXPECT_EQ(settings.GetSettingLongValue(t.Session(), "S", "Nope", true), "");
  EXPECT_TRUE(t.Take().platform.messages.empty());
}

TEST(GetSettingLongValueTest, WarnsWithoutIconOrTitleAboutSeveralMatches) {
  SettingsHost t;
  t.AddAdmin(Variant("S"), "T", {}, 0, "one");
  t.AddAdmin(Variant("S"), "T", {}, 0, "two");
  ClsAdminSettings settings;
  EXPECT_EQ(settings.GetSettingLongValue(t.Session(), "S", "T", true), "");
  const auto messages = t.Take().platform.messages;
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].text,
            "Warning: 2 Admin Setting objects match forspecified section and subject CN_SUBJECT");
  EXPECT_EQ(messages[0].style, 0);
  EXPECT_FALSE(messages[0].title.has_value());
}

TEST(GetSettingLongValueTest, FindsClassesByNameSoTdmTablesWork) {
  SettingsModel model;
  model.set = "TDM_";
  model.admin_table = "TDM_ADMIN_SETTING";
  model.user_table = "TDM_USER_SETTING";
  SettingsHost t(model);
  t.AddUser(Variant("S"), "T", 4);
  ClsAdminSettings settings;
  ASSERT_TRUE(settings.SetSettingLongValue(t.Session(), "S", "T", false, 4, "for user 4"));
  EXPECT_EQ(settings.GetSettingLongValue(t.Session(), "S", "T", false, 4), "for user 4");
  const auto dump = t.Dump("User Setting");
  ASSERT_EQ(dump.size(), 1u);
  EXPECT_EQ(ValueOf(dump[0], "TDM_VALUE_LONG").ToString(), "for user 4");
}

TEST(GetSettingLongValueTest, MissingClassGivesAnEmptyTextAndHostErrorsReachTheCaller) {
  SettingsModel model;
  model.user_name = "Personal Setting";
  SettingsHost t(model);
  t.AddUser(Variant("S"), "T", 0);
  ClsAdminSettings settings;
  EXPECT_EQ(settings.GetSettingLongValue(t.Session(), "S", "T", false), "");

  const int64_t next = t.Host().Monitor().CallCount("KvQueryFactory.RunWithOptions") + 1;
  t.Host().Monitor().AddFault({"KvQueryFactory.RunWithOptions", next, 7, "Out of memory", false});
  t.AddAdmin(Variant("S"), "T", {}, 0, "x");
  try {
    settings.GetSettingLongValue(t.Session(), "S", "T", true);
    FAIL() << "expected the host's error";
  } catch (const RuntimeError& error) {
    EXPECT_EQ(error.Number(), 7);
  }
  EXPECT_TRUE(t.Take().platform.messages.empty());
}

TEST(SetSettingLongValueTest, CreatesOnceThenUpdates) {
  SettingsHost t;
  ClsAdminSettings settings;
  ASSERT_TRUE(settings.SetSettingLongValue(t.Session(), "S", "T", true, 5, "first"));
  ASSERT_TRUE(settings.SetSettingLongValue(t.Session(), "S", "T", true, 5, "second"));
  const auto dump = t.Dump("Admin Setting");
  ASSERT_EQ(dump.size(), 1u);
  EXPECT_EQ(ValueOf(dump[0], "SETTING_ID").ToString(), "AS0001");
  EXPECT_EQ(ValueOf(dump[0], "CN_VALUE_LONG").ToString(), "second");
  EXPECT_EQ(ValueOf(dump[0], "CN_USER_ID").ToInt32(), 5);
  EXPECT_EQ(ValueOf(dump[0], "CN_SECTION").ToString(), "S");
}

TEST(SetSettingLongValueTest, RefusesAnAmbiguousAddress) {
  SettingsHost t;
  t.AddAdmin(Variant("S"), "T", {}, 0, "one");
  t.AddAdmin(Variant("S"), "T", {}, 0, "two");
  ClsAdminSettings settings;
  EXPECT_FALSE(settings.SetSettingLongValue(t.Session(), "S", "T", true, 0, "three"));
  const auto messages = t.Take().platform.messages;
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].text, "Only one setting with same section and subject should exist");
  EXPECT_EQ(messages[0].style, 16);
  EXPECT_EQ(messages[0].title, "Korvel");
  EXPECT_EQ(ValueOf(t.Dump("Admin Setting")[1], "CN_VALUE_LONG").ToString(), "two");
}

TEST(SetSettingLongValueTest, CreationWithoutSequenceFailsToTheCaller) {
  SettingsModel model;
  model.admin_sequence = false;
  SettingsHost t(model);
  ClsAdminSettings settings;
  try {
    settings.SetSettingLongValue(t.Session(), "S", "T", true, 0, "x");
    FAIL() << "expected the error to reach the caller";
  } catch (const RuntimeError& error) {
    EXPECT_EQ(error.Number(), 91);
  }
  EXPECT_TRUE(t.Dump("Admin Setting").empty());
}

TEST(LongTextSectionTest, LookupSectionsMatchByCodeOnlyForSingleSettings) {
  SettingsModel model;
  model.lookup_section = true;
  SettingsHost t(model);
  t.AddAdmin(Variant(int32_t{2}), "T", {}, 0, "exported");
  ClsAdminSettings settings;
  EXPECT_EQ(settings.GetSettingLongValue(t.Session(), "EXPORT", "T", true), "exported");

  // Compared directly, the text does not fit the lookup attribute.
  Ref<KvRecordList> by_text;
  EXPECT_FALSE(settings.GetLongValueBySection(t.Session(), "EXPORT", true, by_text));
}

TEST(GetLongValueBySectionTest, ListsSubjectSectionIdentifierAndLongText) {
  SettingsHost t;
  const int32_t first = t.AddUser(Variant("S"), "A", 7);
  t.AddUser(Variant("S"), "B", 8);
  t.AddUser(Variant("Other"), "C", 7);
  ClsAdminSettings settings;
  Ref<KvRecordList> list;
  ASSERT_TRUE(settings.GetLongValueBySection(t.Session(), "S", false, list, 7));
  ASSERT_EQ(list->GetRecordCount(), 1);
  EXPECT_EQ(list->GetValue("CN_SUBJECT", 0).ToString(), "A");
  EXPECT_EQ(list->GetValue("USER_SETTING_ID", 0).ToString(), "U" + std::to_string(first));
  ASSERT_TRUE(list->GetHeader()->HasColumn("CN_VALUE_LONG"));

  Ref<KvRecordList> everyone;
  ASSERT_TRUE(settings.GetLongValueBySection(t.Session(), "S", false, everyone));
  EXPECT_EQ(everyone->GetRecordCount(), 2);
  Ref<KvRecordList> empty;
  ASSERT_TRUE(settings.GetLongValueBySection(t.Session(), "None", true, empty));
  EXPECT_EQ(empty->GetRecordCount(), 0);
}

}  // namespace
}  // namespace vtx::testing
