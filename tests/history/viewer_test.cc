#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "history/history_model.h"
#include "history/test_host.h"
#include "utils/cls_utils.h"

namespace vtx::testing {
namespace {

struct LinkNameCase {
  const char* label;
  std::string object_family;       // name of the object's superclass
  std::string history_family;      // name of History's superclass
  std::vector<std::string> links;  // in ascending class id
  std::string expected;            // "" for Nothing
};

// A model whose object class "Member" sits below `object_family` and whose
// History sits below `history_family` (itself when named "History"); every
// link class joins the two families.
nlohmann::json LinkNameModel(const LinkNameCase& c) {
  nlohmann::json classes = nlohmann::json::array();
  classes.push_back({{"id", 100},
                     {"name", c.object_family},
                     {"table", "TN_FAMILY"},
                     {"super", 100},
                     {"kind", 1}});
  classes.push_back(
      {{"id", 110}, {"name", "Member"}, {"table", "TN_MEMBERS"}, {"super", 100}, {"kind", 1}});
  int history_super = 400;
  if (c.history_family == c.object_family) {
    history_super = 100;
  } else if (c.history_family != "History") {
    history_super = 390;
    classes.push_back({{"id", 390},
                       {"name", c.history_family},
                       {"table", "TN_HISTORY_FAMILY"},
                       {"super", 390},
                       {"kind", 1}});
  }
  classes.push_back({{"id", 400},
                     {"name", "History"},
                     {"table", "TN_HISTORY"},
                     {"super", history_super},
                     {"kind", 1}});
  for (size_t i = 0; i < c.links.size(); ++i) {
    const int id = 300 + static_cast<int>(i);
    classes.push_back({{"id", id},
                       {"name", c.links[i]},
                       {"table", "TN_LINK_" + std::to_string(i)},
                       {"super", id},
                       {"kind", 7},
                       {"ends", {100, 400}}});
  }
  return {{"classes", classes}};
}

class GetLinkClassTest : public ::testing::TestWithParam<LinkNameCase> {};

TEST_P(GetLinkClassTest, MatchesLinkClassNamesAgainstBothSuperclassNames) {
  const LinkNameCase& c = GetParam();
  TestHost t(LinkNameModel(c));
  Ref<KvObject> member = t.Load({110, t.Insert("Member", {}, 1)});
  Ref<KvClass> history = t.Session()->GetClasses()->ClassByName("History");

  clsUtils utils;
  Ref<KvClass> found = utils.GetLinkClass(member, history);

  if (c.expected.empty()) {
    EXPECT_TRUE(found.IsNothing()) << c.label << ": found " << found->GetName();
  } else {
    ASSERT_FALSE(found.IsNothing()) << c.label;
    EXPECT_EQ(found->GetName(), c.expected) << c.label;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Names, GetLinkClassTest,
    ::testing::Values(
        LinkNameCase{"both names needed",
                     "Document",
                     "History",
                     {"Document_Part", "Document_History"},
                     "Document_History"},
        LinkNameCase{"lower index wins",
                     "Document",
                     "History",
                     {"History_of_Document", "Document_History"},
                     "History_of_Document"},
        LinkNameCase{"letter case matters",
                     "Document",
                     "History",
                     {"document_history", "Document_HISTORY"},
                     ""},
        LinkNameCase{
            "superclass name, not the class's own", "Document", "History", {"Member_History"}, ""},
        LinkNameCase{"history's superclass name",
                     "Document",
                     "Trail",
                     {"Document_History", "Document_Trail"},
                     "Document_Trail"},
        LinkNameCase{"same family needs the name twice",
                     "Item",
                     "Item",
                     {"Item_History", "Item_Item"},
                     "Item_Item"},
        LinkNameCase{"same family, names adjacent", "Item", "Item", {"ItemItem"}, "ItemItem"},
        LinkNameCase{"same family, name once", "Item", "Item", {"Item_Link"}, ""},
        LinkNameCase{"no link class", "Document", "History", {}, ""}),
    [](const auto& info) { return "Case" + std::to_string(info.index); });

class ViewHistoryTest : public ::testing::Test {
 protected:
  ViewHistoryTest() : t_(HistoryModel()) {
    t_.Insert("Datasheet", {{"DOC_NUMBER", "A-100"}}, 1);
    t_.Insert("Document", {{"DOC_NUMBER", "A-200"}}, 2);
    t_.Insert("Tool", {{"TOOL_NUMBER", "T-1"}}, 3);
    t_.Insert("Drawing", {{"REVISION", "A"}, {"DWG_NUMBER", "D-1"}}, 4);
    for (int32_t id : {11, 12, 13, 14}) t_.Insert("History", {{"H_TEXT", "h"}}, id);
    t_.Link("Document_History", {kDatasheet, 1}, {kHistory, 13});
    t_.Link("Document_History", {kDatasheet, 1}, {kHistory, 11});
    t_.Link("Document_History", {kDatasheet, 1}, {kHistory, 12});
    t_.Link("Document_History_Archive", {kDatasheet, 1}, {kHistory, 14});
    t_.Link("Drawing_History", {kDrawing, 4}, {kHistory, 14});
  }

  emu::StepRecordings View(emu::ObjectRef object) {
    // The history list waits for the user to close it.
    emu::HostAnswers close_without_selecting;
    close_without_selecting.modal_views.push_back(std::nullopt);
    t_.Host().AddAnswers(close_without_selecting);
    Ref<KvSession> session = t_.Session();
    Ref<KvRecordList> selection = t_.Selection({object});
    utils_.ViewHistory(session, selection);
    return t_.Take();
  }

  TestHost t_;
  clsUtils utils_;
};

TEST_F(ViewHistoryTest, ShowsTheLastOfOneViewPerHistoryObjectWithAllOfThem) {
  emu::StepRecordings seen = View({kDatasheet, 1});

  EXPECT_TRUE(seen.platform.messages.empty());
  ASSERT_EQ(seen.host.views.size(), 3u);
  for (size_t i = 0; i < seen.host.views.size(); ++i) {
    const auto& view = seen.host.views[i];
    EXPECT_EQ(view.view->Type(), 8);
    EXPECT_EQ(view.view->Caption(), "History of object A-100");
    EXPECT_EQ(view.shown, i == 2) << "view " << i;
  }
  // Only the link class the name search found: not the archive's history.
  EXPECT_EQ(Ids(seen.host.views.back().view->ObjectIds()), (std::vector<int32_t>{11, 12, 13}));
}

struct NothingToShowCase {
  const char* label;
  emu::ObjectRef object;
  std::vector<ShownMessage> messages;
};

class ViewHistoryNothingToShowTest : public ViewHistoryTest,
                                     public ::testing::WithParamInterface<NothingToShowCase> {};

TEST_P(ViewHistoryNothingToShowTest, ShowsTheCaseMessageAndNoView) {
  emu::StepRecordings seen = View(GetParam().object);
  EXPECT_TRUE(seen.host.views.empty()) << GetParam().label;
  EXPECT_EQ(seen.platform.messages, GetParam().messages) << GetParam().label;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ViewHistoryNothingToShowTest,
    ::testing::Values(
        NothingToShowCase{
            "no history objects", {kDocument, 2}, {{"No History on this object", 16, "KORVEL"}}},
        NothingToShowCase{"no link class",
                          {kTool, 3},
                          {{"Data Model error: this object has no link class with History "
                            "class. \r\nPlease contact your administrator.",
                            65552, "VTX"}}},
        NothingToShowCase{"REVISION first identifier", {kDrawing, 4}, {}}),
    [](const auto& info) { return "Case" + std::to_string(info.index); });

TEST_F(ViewHistoryTest, ReportsAHostFailureUnderItsOwnName) {
  t_.SetVariable("DEBUG", "true");
  t_.Host().Monitor().AddFault({"KvObject.GetRelatedObjects", 1, 440, "Query failed", false});

  emu::StepRecordings seen = View({kDatasheet, 1});

  EXPECT_TRUE(seen.host.views.empty());
  ASSERT_EQ(seen.platform.messages.size(), 1u);
  EXPECT_EQ(seen.platform.messages[0].text,
            "Following Error has occured in ''ViewHistory''\rNumber      : 440\r"
            "Description : Query failed");
}

}  // namespace
}  // namespace vtx::testing
