#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "settings/cls_admin_settings.h"
#include "settings/settings_host.h"

namespace vtx::settings_testing {
namespace {

class InfosOfSectionTest : public ::testing::Test {
 protected:
  // Sections EXP1 and EXP2 each hold a TARGET setting and a Source setting
  // naming a class; OTHER holds a TARGET too but does not start with EXP.
  void Populate(const std::string& second_class) {
    t_.AddAdmin(Variant("EXP1"), "target ", {"t1"});
    t_.AddAdmin(Variant("EXP1"), "Source", {" Settings Folder "});
    t_.AddAdmin(Variant("EXP2"), "TARGET", {"t2"});
    t_.AddAdmin(Variant("EXP2"), "Source", {second_class});
    t_.AddAdmin(Variant("OTHER"), "TARGET", {"t3"});
  }
  bool Run(const std::string& start, const std::string& subject, Ref<KvRecordList>& list) {
    return settings_.GetInfosOfSectionStartedWith(t_.Session(), start, subject, "SECTION", "SOURCE",
                                                  "SHOWN", true, list);
  }

  SettingsHost t_;
  ClsAdminSettings settings_;
};

TEST_F(InfosOfSectionTest, CollectsMatchingSubjectsWithTheirCompanionClass) {
  Populate("Admin Setting");
  Ref<KvRecordList> list;
  ASSERT_TRUE(Run("EXP", "TARGET", list));
  ASSERT_EQ(list->GetColumnCount(), 4);
  EXPECT_EQ(Column(list, "TARGET"), (std::vector<std::string>{"t1", "t2"}));
  EXPECT_EQ(Column(list, "SECTION"), (std::vector<std::string>{"EXP1", "EXP2"}));
  EXPECT_EQ(Column(list, "SOURCE"), (std::vector<std::string>{"Settings Folder", "Admin Setting"}));
  EXPECT_EQ(list->GetValue("SHOWN", 1), Variant(false));
  EXPECT_TRUE(t_.Take().platform.messages.empty());
}

TEST_F(InfosOfSectionTest, LowerCaseSubjectNameNeverMatches) {
  Populate("Admin Setting");
  Ref<KvRecordList> list;
  ASSERT_TRUE(Run("EXP", "target", list));
  EXPECT_EQ(list->GetColumnCount(), 4);
  EXPECT_EQ(list->GetRecordCount(), 0);
}

TEST_F(InfosOfSectionTest, UnknownClassStopsWithTheRowsBuiltSoFar) {
  Populate("No Such Class");
  Ref<KvRecordList> list;
  EXPECT_FALSE(Run("EXP", "TARGET", list));
  EXPECT_EQ(Column(list, "SOURCE"), (std::vector<std::string>{"Settings Folder", "No Such Class"}));
  const auto messages = t_.Take().platform.messages;
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].text, "No Such Class is not a known class");
  EXPECT_EQ(messages[0].title, "VTX");
}

TEST_F(InfosOfSectionTest, UnknownStartIsReportedWithoutAList) {
  Populate("Admin Setting");
  Ref<KvRecordList> list = t_.Store().NewRecordList();
  EXPECT_FALSE(Run("ZZ", "TARGET", list));
  EXPECT_TRUE(list.IsNothing());
  EXPECT_EQ(Texts(t_.Take().platform.messages),
            (std::vector<std::string>{"''ZZ*'' not found in Admin Settings"}));
}

TEST_F(InfosOfSectionTest, MissingCompanionColumnEndsInTheErrorReport) {
  Populate("Admin Setting");
  t_.SetVariable("DEBUG", "TRUE");
  Ref<KvRecordList> list;
  EXPECT_FALSE(settings_.GetInfosOfSectionStartedWith(t_.Session(), "EXP", "TARGET", "SECTION",
                                                      "ORIGIN", "SHOWN", true, list));
  const auto messages = t_.Take().platform.messages;
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].text.rfind("Following Error has occured in "
                                   "''GetSubjectOfSectionStartedWith''\rNumber      : 9\r",
                                   0),
            0u)
      << messages[0].text;
}

// The root holds folder F1 on its desktop; F1 holds setting A1 and folder F2,
// F2 holds setting A2. Folder F3 and setting A3 are in no tree.
class AdminTreeTest : public ::testing::Test {
 protected:
  AdminTreeTest() {
    root_ = t_.AddRoot("Root");
    f1_ = t_.AddFolder("F1");
    f2_ = t_.AddFolder("F2");
    a1_ = t_.AddAdmin(Variant("S"), "T");
    a2_ = t_.AddAdmin(Variant("S"), "T");
    t_.PutOnDesktop(root_, {kFolder, f1_});
    t_.PlaceUnder({kFolder, f1_}, {kAdminSetting, a1_});
    t_.PlaceUnder({kFolder, f1_}, {kFolder, f2_});
    t_.PlaceUnder({kFolder, f2_}, {kAdminSetting, a2_});
  }
  Ref<KvRecordList> Root() { return t_.Selection({{kAdminRoot, root_}}); }

  SettingsHost t_;
  ClsAdminSettings settings_;
  int32_t root_, f1_, f2_, a1_, a2_;
};

TEST_F(AdminTreeTest, ShowsWhatNoTreeHoldsBelowTheRoot) {
  const int32_t f3 = t_.AddFolder("F3");
  const int32_t a3 = t_.AddAdmin(Variant("S"), "U");
  ASSERT_TRUE(settings_.GetBackASWhichAreNotInTheTree(t_.Session(), Root()));
  const emu::StepRecordings seen = t_.Take();
  ASSERT_EQ(seen.host.views.size(), 1u);
  EXPECT_EQ(seen.host.views[0].view->Caption(), "Admin settings not in the tree (probably unused)");
  EXPECT_EQ(seen.host.views[0].view->Type(), 1);
  EXPECT_FALSE(seen.host.views[0].view->Modal());
  // The desktop folder is no son of any tree either.
  EXPECT_EQ(ViewIds(seen), (std::vector<int32_t>{f1_, f3, a3}));
}

TEST_F(AdminTreeTest, DoublesBelowTheRootIgnoreSettingsOutside) {
  t_.AddAdmin(Variant("S"), "T");
  ASSERT_TRUE(settings_.GetBackTheDoubles(t_.Session(), Root()));
  const emu::StepRecordings seen = t_.Take();
  ASSERT_EQ(seen.host.views.size(), 1u);
  EXPECT_EQ(seen.host.views[0].view->Caption(), "List of doubles");
  EXPECT_EQ(ViewIds(seen), (std::vector<int32_t>{a1_, a2_}));
}

struct DoublesCase {
  const char* name;
  std::vector<std::pair<std::string, std::string>> settings;  // section, subject
  std::vector<int> expected;                                  // positions in `settings`
};

class GetBackTheDoublesTest : public ::testing::TestWithParam<DoublesCase> {};

TEST_P(GetBackTheDoublesTest, ListsSettingsSharingSectionAndSubject) {
  const DoublesCase& c = GetParam();
  SettingsHost t;
  std::vector<int32_t> ids;
  for (const auto& [section, subject] : c.settings)
    ids.push_back(t.AddAdmin(Variant(section), subject));
  ClsAdminSettings settings;
  ASSERT_TRUE(settings.GetBackTheDoubles(t.Session())) << c.name;
  const emu::StepRecordings seen = t.Take();
  if (c.expected.empty()) {
    EXPECT_TRUE(seen.host.views.empty()) << c.name;
    EXPECT_EQ(Texts(seen.platform.messages),
              (std::vector<std::string>{"There is no duplicate item among the Admin Settings"}))
        << c.name;
    return;
  }
  std::vector<int32_t> expected;
  for (int position : c.expected) expected.push_back(ids[position]);
  EXPECT_EQ(ViewIds(seen), expected) << c.name;
  EXPECT_TRUE(seen.platform.messages.empty()) << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Sets, GetBackTheDoublesTest,
    ::testing::Values(
        DoublesCase{"ThreeListedOnce", {{"S", "T"}, {"S", "T"}, {"S", "T"}}, {0, 1, 2}},
        DoublesCase{"SubjectCaseDiffers", {{"S", "T"}, {"S", "t"}}, {}},
        DoublesCase{"SectionCaseDiffers", {{"S", "T"}, {"s", "T"}}, {}},
        DoublesCase{"OrderOfFirstMembers",
                    {{"B", "T"}, {"A", "T"}, {"A", "T"}, {"B", "T"}, {"C", "T"}},
                    {0, 3, 1, 2}},
        DoublesCase{"Nothing", {}, {}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace vtx::settings_testing
