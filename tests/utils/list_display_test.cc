#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "history/test_host.h"
#include "utils/cls_utils.h"

namespace vtx::testing {
namespace {

nlohmann::json PartModel() {
  return {{"classes",
           {{{"id", 100},
             {"name", "Part"},
             {"table", "TN_PARTS"},
             {"super", 100},
             {"kind", 1},
             {"attributes", {{{"name", "PART_NUMBER"}, {"external", "Number"}, {"type", 1}}}},
             {"identifiers", {"PART_NUMBER"}}}}}};
}

class ListDisplayTest : public ::testing::Test {
 protected:
  ListDisplayTest() : t_(PartModel()) {
    for (int32_t id : {1, 2, 3})
      t_.Insert("Part", {{"PART_NUMBER", "P-" + std::to_string(id)}}, id);
  }
  Ref<KvObjects> Parts(const std::vector<int32_t>& ids) {
    Ref<KvObjects> objects = t_.Session()->GetObjectStore()->CreateObjects();
    for (int32_t id : ids) objects->Add(t_.Load({100, id}));
    return objects;
  }

  TestHost t_;
  clsUtils utils_;
};

struct ShowCase {
  const char* label;
  std::vector<int32_t> proposed;
  bool modal;
  std::optional<int32_t> answer;    // the user's selection in a modal view
  std::optional<int32_t> selected;  // KvSelectedObject afterwards (starts as part 3)
};

class ShowObjectsTest : public ListDisplayTest, public ::testing::WithParamInterface<ShowCase> {};

TEST_P(ShowObjectsTest, FillsCaptionsAndShowsTheView) {
  const ShowCase& c = GetParam();
  if (c.modal) {
    emu::HostAnswers answers;
    answers.modal_views.push_back(c.answer ? std::optional<emu::ObjectKey>({"Part", *c.answer})
                                           : std::nullopt);
    t_.Host().AddAnswers(answers);
  }
  Ref<KvObject> selected = t_.Load({100, 3});

  ASSERT_TRUE(utils_.ShowObjects(t_.Session(), Parts(c.proposed), selected, 4, c.modal, "Pick"))
      << c.label;
  const auto views = t_.Take().host.views;
  ASSERT_EQ(views.size(), 1u) << c.label;
  EXPECT_EQ(views[0].view->Type(), 4);
  EXPECT_EQ(views[0].view->Caption(), "Pick");
  EXPECT_TRUE(views[0].shown);
  EXPECT_EQ(views[0].view->Modal(), c.modal);
  EXPECT_NE(views[0].view->OwnerHandle(), 0);
  EXPECT_EQ(Ids(views[0].view->ObjectIds()), c.proposed) << c.label;
  if (c.selected) {
    ASSERT_FALSE(selected.IsNothing()) << c.label;
    EXPECT_EQ(selected->GetObjectId(), *c.selected) << c.label;
  } else {
    EXPECT_TRUE(selected.IsNothing()) << c.label;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ShowObjectsTest,
    ::testing::Values(ShowCase{"modal with a selection", {1, 2}, true, 2, 2},
                      ShowCase{
                          "modal without a selection", {1, 2}, true, std::nullopt, std::nullopt},
                      ShowCase{"modeless keeps the old selection", {1}, false, std::nullopt, 3},
                      ShowCase{"empty list", {}, false, std::nullopt, 3}),
    [](const auto& info) { return "Case" + std::to_string(info.index); });

struct JoinCase {
  std::vector<std::string> items;
  std::optional<std::string> separator;  // nullopt: omitted
  std::string joined;
};

class ConvertKvStringsToStringTest : public ListDisplayTest,
                                     public ::testing::WithParamInterface<JoinCase> {};

TEST_P(ConvertKvStringsToStringTest, JoinsWithoutATrailingSeparator) {
  const JoinCase& c = GetParam();
  Ref<KvStrings> strings = t_.Session()->CreateStringList();
  for (const auto& item : c.items) strings->Add(item);
  std::string result = "stale";

  const bool ok = c.separator ? utils_.ConvertKvStringsToString(strings, result, *c.separator)
                              : utils_.ConvertKvStringsToString(strings, result);
  EXPECT_TRUE(ok);
  EXPECT_EQ(result, c.joined);
}

INSTANTIATE_TEST_SUITE_P(Cases, ConvertKvStringsToStringTest,
                         ::testing::Values(JoinCase{{"a", "b", "c"}, ";", "a;b;c"},
                                           JoinCase{{}, ";", ""},
                                           JoinCase{{"a", "b"}, std::nullopt, "ab"},
                                           JoinCase{{"a", "b"}, " - ", "a - b"},
                                           JoinCase{{"é", "ü"}, "ß", "éßü"}));

TEST_F(ListDisplayTest, JoiningNothingReportsAndFails) {
  std::string result = "stale";
  EXPECT_FALSE(utils_.ConvertKvStringsToString(nullptr, result, ";"));
  EXPECT_EQ(result, "");
}

}  // namespace
}  // namespace vtx::testing
