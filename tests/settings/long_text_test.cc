#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "runtime/runtime_error.h"
#include "settings/cls_admin_settings.h"
#include "settings/settings_host.h"

namespace vtx::settings_testing {
namespace {

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
}  // namespace vtx::settings_testing
