#include <set>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "history/test_host.h"
#include "utils/cls_utils.h"

namespace vtx::testing {
namespace {

constexpr int16_t kProject = 50;
constexpr int16_t kPart = 100;
constexpr int16_t kPartTree = 150;

nlohmann::json ProjectModel(int max_query_size = 10000) {
  auto text = [](const char* name) {
    return nlohmann::json{{"name", name}, {"external", name}, {"type", 1}};
  };
  return {{"classes",
           {{{"id", kProject},
             {"name", "Project"},
             {"table", "TN_PROJECTS"},
             {"super", kProject},
             {"kind", 1},
             {"attributes", {text("PROJECT_NAME")}},
             {"identifiers", {"PROJECT_NAME"}}},
            {{"id", 60},
             {"name", "Project_Part"},
             {"table", "TN_PROJECT_PART"},
             {"super", 60},
             {"kind", 7},
             {"ends", {kProject, kPart}}},
            {{"id", kPart},
             {"name", "Part"},
             {"table", "TN_PARTS"},
             {"super", kPart},
             {"kind", 1},
             {"attributes", {text("PART_NUMBER"), text("TITLE")}},
             {"identifiers", {"PART_NUMBER"}},
             {"hierarchyLink", kPartTree}},
            {{"id", kPartTree},
             {"name", "Part_Tree"},
             {"table", "TN_PART_TREE"},
             {"super", kPartTree},
             {"kind", 6},
             {"ends", {kPart, kPart}},
             {"attributes", {{{"name", "TDMX_ORDERING"}, {"external", "Order"}, {"type", 3}}}}}}},
          {"host", {{"maxQuerySize", max_query_size}}}};
}

// Project 1 holds part 11 on its desktop, project 2 holds parts 11 and 18,
// project 3 holds nothing, project 4 only the leaf 18. Below 11: 12 and 13, below 13: 14. Parts 15,
// 16 and 17 are in no project; 16 is the father of 17.
void Populate(TestHost& t) {
  for (int32_t id : {1, 2, 3, 4})
    t.Insert("Project", {{"PROJECT_NAME", "Project " + std::to_string(id)}}, id);
  for (int32_t id : {11, 12, 13, 14, 15, 16, 17, 18})
    t.Insert("Part", {{"PART_NUMBER", "P-" + std::to_string(id)}, {"TITLE", "T"}}, id);
  t.Link("Project_Part", {kProject, 1}, {kPart, 11});
  t.Link("Project_Part", {kProject, 2}, {kPart, 18});
  t.Link("Project_Part", {kProject, 2}, {kPart, 11});
  t.Link("Project_Part", {kProject, 4}, {kPart, 18});
  t.Store().Link("Part_Tree", {kPart, 11}, {kPart, 12}, {{"TDMX_ORDERING", 2}});
  t.Store().Link("Part_Tree", {kPart, 11}, {kPart, 13}, {{"TDMX_ORDERING", 1}});
  t.Store().Link("Part_Tree", {kPart, 13}, {kPart, 14}, {{"TDMX_ORDERING", 1}});
  t.Store().Link("Part_Tree", {kPart, 16}, {kPart, 17}, {{"TDMX_ORDERING", 1}});
}

class TreeQueriesTest : public ::testing::Test {
 protected:
  explicit TreeQueriesTest(int max_query_size = 10000) : t_(ProjectModel(max_query_size)) {
    Populate(t_);
  }

  Ref<KvObjects> Objects(int16_t class_id, const std::vector<int32_t>& ids) {
    Ref<KvObjects> objects = t_.Session()->GetObjectStore()->CreateObjects();
    for (int32_t id : ids) objects->Add(t_.Load({class_id, id}));
    return objects;
  }
  static std::vector<int32_t> IdsOf(const Ref<KvObjects>& objects) {
    std::vector<int32_t> ids;
    for (int32_t i = 0; i < objects->GetCount(); ++i)
      ids.push_back(objects->Item(i)->GetObjectId());
    return ids;
  }
  static std::vector<std::string> Columns(const Ref<KvRecordList>& rows) {
    std::vector<std::string> names;
    for (int32_t c = 0; c < rows->GetColumnCount(); ++c) names.push_back(rows->GetColumnName(c));
    return names;
  }
  static std::multiset<std::pair<int32_t, int32_t>> FatherSon(const Ref<KvRecordList>& rows) {
    std::multiset<std::pair<int32_t, int32_t>> pairs;
    for (int32_t r = 0; r < rows->GetRecordCount(); ++r)
      pairs.insert(
          {rows->GetValue("F.OBJECT_ID", r).ToInt32(), rows->GetValue("S.OBJECT_ID", r).ToInt32()});
    return pairs;
  }
  Ref<KvStrings> Strings(const std::vector<std::string>& items) {
    Ref<KvStrings> strings = t_.Session()->CreateStringList();
    for (const auto& item : items) strings->Add(item);
    return strings;
  }

  TestHost t_;
  clsUtils utils_;
};

struct ExpandCase {
  const char* label;
  int16_t level;
  std::vector<std::string> display;  // empty: Nothing
  bool ordering;
  std::vector<std::string> columns;
  std::multiset<std::pair<int32_t, int32_t>> pairs;
};

class ExpandTreeTest : public TreeQueriesTest, public ::testing::WithParamInterface<ExpandCase> {};

TEST_P(ExpandTreeTest, SelectsTheRolesOrderingAndDisplayedAttributes) {
  const ExpandCase& c = GetParam();
  Ref<KvRecordList> rows;
  Ref<KvStrings> display = c.display.empty() ? nullptr : Strings(c.display);

  ASSERT_TRUE(
      utils_.ExpandTree(t_.Session(), Objects(kPart, {11}), c.level, rows, display, c.ordering))
      << c.label;
  EXPECT_EQ(Columns(rows), c.columns) << c.label;
  EXPECT_EQ(FatherSon(rows), c.pairs) << c.label;
  const auto files = t_.Take().platform.files_deleted;
  ASSERT_EQ(files.size(), 1u) << c.label;
  EXPECT_EQ(files[0], "C:\\Temp\\VTX_Temp\\TREE.inf") << c.label;
}

const std::vector<std::string> kRoleColumns = {"F.CLASS_ID",  "F.OBJECT_ID", "S.CLASS_ID",
                                               "S.OBJECT_ID", "L.CLASS_ID",  "L.OBJECT_ID"};
std::vector<std::string> With(std::vector<std::string> more) {
  std::vector<std::string> all = kRoleColumns;
  all.insert(all.end(), more.begin(), more.end());
  return all;
}

INSTANTIATE_TEST_SUITE_P(
    Selections, ExpandTreeTest,
    ::testing::Values(
        ExpandCase{"plain", 100, {}, false, kRoleColumns, {{11, 12}, {11, 13}, {13, 14}}},
        ExpandCase{"one level", 1, {}, false, kRoleColumns, {{11, 12}, {11, 13}}},
        ExpandCase{
            "ordering", 100, {}, true, With({"L.TDMX_ORDERING"}), {{11, 12}, {11, 13}, {13, 14}}},
        ExpandCase{
            "display attributes twice",
            100,
            {"TITLE", "PART_NUMBER"},
            true,
            With({"L.TDMX_ORDERING", "F.TITLE", "S.TITLE", "F.PART_NUMBER", "S.PART_NUMBER"}),
            {{11, 12}, {11, 13}, {13, 14}}}),
    [](const auto& info) { return "Case" + std::to_string(info.index); });

class ExpandTreeLimitTest : public TreeQueriesTest {
 protected:
  ExpandTreeLimitTest() : TreeQueriesTest(2) {}
};

TEST_F(ExpandTreeLimitTest, OversizedExpansionAsksForALargerMaxQuerySizeAndKeepsTheWorkFile) {
  Ref<KvRecordList> rows;
  EXPECT_FALSE(utils_.ExpandTree(t_.Session(), Objects(kPart, {11}), 100, rows));
  const auto seen = t_.Take().platform;
  EXPECT_EQ(seen.messages,
            (std::vector<ShownMessage>{
                {"You have to increase the internal parameter ''MaxQuerySize'' !", 16, "VTX"}}));
  EXPECT_TRUE(seen.files_deleted.empty());
  EXPECT_TRUE(rows.IsNothing());
}

TEST_F(TreeQueriesTest, ExpandTreeWithoutRootsFailsThroughTheReporter) {
  t_.SetVariable("DEBUG", "true");
  Ref<KvRecordList> rows;
  EXPECT_FALSE(utils_.ExpandTree(t_.Session(), Objects(kPart, {}), 100, rows));
  const auto messages = t_.Take().platform.messages;
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].text.rfind("Following Error has occured in ''ExpandTree''", 0), 0u);
}

TEST_F(TreeQueriesTest, CompositeObjectsPlayingOneRole) {
  Ref<KvRecordList> rows;
  ASSERT_TRUE(utils_.ExpandTree(t_.Session(), Objects(kPart, {11}), 100, rows));
  Ref<KvObjects> composite = t_.Session()->GetObjectStore()->ObjectsFromRecords(rows, true);

  for (const char* role : {"F", "S", "L"}) {
    Ref<KvObjects> objects;
    ASSERT_TRUE(utils_.GetObjectsFromCompositeObjects(t_.Session(), composite, role, objects))
        << role;
    EXPECT_EQ(objects->GetCount(), rows->GetRecordCount()) << role;
    for (int32_t r = 0; r < rows->GetRecordCount(); ++r)
      EXPECT_EQ(objects->Item(r)->GetObjectId(),
                rows->GetValue(std::string(role) + ".OBJECT_ID", r).ToInt32())
          << role << " row " << r;
  }
  for (const char* role : {"s", "X", "FS", ""}) {
    Ref<KvObjects> objects;
    EXPECT_FALSE(utils_.GetObjectsFromCompositeObjects(t_.Session(), composite, role, objects))
        << role;
    EXPECT_TRUE(objects.IsNothing()) << role;
  }
}

TEST_F(TreeQueriesTest, LinkClassByTableNamesAtAnIndex) {
  Ref<KvClass> link;
  ASSERT_TRUE(utils_.GetGeneralLinkClassByClassTableNames(t_.Session(), "TN_PROJECTS", "TN_PARTS",
                                                          link, Variant(int16_t{0})));
  EXPECT_EQ(link->GetName(), "Project_Part");
  Ref<KvClass> none;
  EXPECT_FALSE(utils_.GetGeneralLinkClassByClassTableNames(t_.Session(), "TN_PROJECTS", "TN_PARTS",
                                                           none, Variant(1)));
  EXPECT_FALSE(utils_.GetGeneralLinkClassByClassTableNames(t_.Session(), "TN_PROJECTS", "TN_PARTS",
                                                           none, Variant::Missing()));
}

TEST_F(TreeQueriesTest, DesktopObjectsAreListedOncePerProject) {
  Ref<KvObjects> found;
  ASSERT_TRUE(utils_.GetObjectsOnDeskTopInProjects(t_.Session(), Objects(kProject, {1, 2, 3}),
                                                   "TN_PARTS", found, "TITLE"));
  EXPECT_EQ(IdsOf(found), (std::vector<int32_t>{11, 11, 18}));
}

TEST_F(TreeQueriesTest, ProjectsWithoutDesktopObjectsGiveFalse) {
  Ref<KvRecordList> rows;
  EXPECT_FALSE(
      utils_.GetAllObjectsInAProject(t_.Session(), Objects(kProject, {3}), "TN_PARTS", rows));
  Ref<KvObjects> objects;
  EXPECT_FALSE(
      utils_.GetAllObjectsInAProject2(t_.Session(), Objects(kProject, {3}), "TN_PARTS", objects));
  EXPECT_FALSE(utils_.GetFreeObjects(t_.Session(), "TN_PARTS", objects, Objects(kProject, {3})));
  EXPECT_TRUE(objects.IsNothing());
}

TEST_F(TreeQueriesTest, SonsOfTheProjectTreesAreListedOnce) {
  Ref<KvObjects> objects;
  ASSERT_TRUE(utils_.GetAllObjectsInAProject2(t_.Session(), Objects(kProject, {1, 2}), "TN_PARTS",
                                              objects));
  std::vector<int32_t> ids = IdsOf(objects);
  EXPECT_EQ(std::set<int32_t>(ids.begin(), ids.end()), (std::set<int32_t>{12, 13, 14}));
  EXPECT_EQ(ids.size(), 3u);
}

TEST_F(TreeQueriesTest, DesktopObjectsWithoutTreesLeaveTheOutCollectionAlone) {
  const Ref<KvObjects> before = Objects(kPart, {15});
  Ref<KvObjects> objects = before;
  EXPECT_TRUE(
      utils_.GetAllObjectsInAProject2(t_.Session(), Objects(kProject, {4}), "TN_PARTS", objects));
  EXPECT_EQ(objects, before);
  EXPECT_TRUE(utils_.GetFreeObjects(t_.Session(), "TN_PARTS", objects, Objects(kProject, {4})));
  EXPECT_EQ(objects, before);
}

struct FreeCase {
  const char* label;
  bool all_projects;
  bool only_orphans;
  std::vector<int32_t> free;
};

class GetFreeObjectsTest : public TreeQueriesTest,
                           public ::testing::WithParamInterface<FreeCase> {};

TEST_P(GetFreeObjectsTest, ListsObjectsOutsideTheProjectTrees) {
  const FreeCase& c = GetParam();
  Ref<KvObjects> objects;
  ASSERT_TRUE(utils_.GetFreeObjects(t_.Session(), "TN_PARTS", objects,
                                    c.all_projects ? nullptr : Objects(kProject, {1}),
                                    c.only_orphans))
      << c.label;
  EXPECT_EQ(IdsOf(objects), c.free) << c.label;
}

// Roots of the trees are fathers only, never sons, so they count as free.
INSTANTIATE_TEST_SUITE_P(
    Cases, GetFreeObjectsTest,
    ::testing::Values(FreeCase{"all projects", true, false, {11, 15, 16, 17, 18}},
                      FreeCase{"given projects", false, false, {11, 15, 16, 17, 18}},
                      FreeCase{"orphans only", true, true, {15}}),
    [](const auto& info) { return "Case" + std::to_string(info.index); });

}  // namespace
}  // namespace vtx::testing
