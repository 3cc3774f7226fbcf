#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "emulator/host_objects/emu_record.h"
#include "emulator/store/family_select.h"
#include "emulator/store/object_table.h"
#include "emulator/store/store.h"
#include "platform/utf8_path.h"
#include "store_fixture.h"
#include "support/case_name.h"
#include "support/temp_folder.h"

namespace vtx::emu {
namespace {

using testing::IdsOf;
using testing::StoreTest;

class QueryTest : public StoreTest {
 protected:
  void SetUp() override {
    StoreTest::SetUp();
    ids_ = {Part("AB-1", "A", {{"TITLE", Variant("bolt")}, {"QTY", Variant(int32_t{5})}}),
            Part("AB-2", "A", {{"TITLE", Variant("Bolt")}, {"QTY", Variant(int32_t{10})}}),
            Part("ab-3", "B", {{"TITLE", Variant("nut")}, {"QTY", Variant(int32_t{15})}}),
            store_->Insert("Assembly", {{"PART_NUMBER", Variant("AB-4")},
                                        {"REVISION", Variant("A")},
                                        {"LEVEL", Variant(int32_t{1})}}),
            Part("X", "A", {{"TITLE", Variant("écrou")}})};
  }

  // The ids a query over the Part family finds.
  std::vector<int32_t> Find(const std::vector<Condition>& conditions, int32_t max_rows = 0) {
    auto factory = os_->GetQueryFactory();
    auto q = factory->GetQuery();
    q->GetQueryClasses()->AddClass(100, "F");
    for (const Condition& c : conditions)
      q->GetConditions()->Add(c.connector, c.attribute, c.op, c.value, 0, "F");
    q->GetSelectList()->Add("OBJECT_ID", "F", 0);
    q->SetMaxRows(max_rows);
    factory->Run();
    auto result = factory->GetResult();
    std::vector<int32_t> out;
    for (int32_t r = 0; r < result->GetRecordCount(); ++r)
      out.push_back(result->GetValue("OBJECT_ID", r).ToInt32());
    EXPECT_EQ(factory->GetRowCount(), result->GetRecordCount());
    return out;
  }

  std::vector<int32_t> ids_;
};

struct ConditionCase {
  const char* name;
  std::vector<Condition> conditions;
  std::vector<int> expected;  // indexes into ids_
};
VTX_PRINT_CASE_BY_NAME(ConditionCase)

class ConditionTest : public QueryTest, public ::testing::WithParamInterface<ConditionCase> {};

TEST_P(ConditionTest, FindsTheFamilyInObjectIdOrder) {
  std::vector<int32_t> expected;
  for (int i : GetParam().expected) expected.push_back(ids_[i]);
  EXPECT_EQ(Find(GetParam().conditions), expected);
}

Condition C(const char* connector, const char* attribute, const char* op, Variant value) {
  return Condition{connector, attribute, op, std::move(value), "F"};
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ConditionTest,
    ::testing::Values(
        ConditionCase{"NoCondition", {}, {0, 1, 2, 3, 4}},
        ConditionCase{"ExactTextIsCaseSensitive", {C("", "TITLE", "=", Variant("Bolt"))}, {1}},
        ConditionCase{"PrefixStar", {C("", "PART_NUMBER", "=", Variant("AB*"))}, {0, 1, 3}},
        ConditionCase{
            "PrefixStarIsCaseSensitive", {C("", "PART_NUMBER", "=", Variant("ab*"))}, {2}},
        ConditionCase{"PrefixCountsCharacters", {C("", "TITLE", "=", Variant("éc*"))}, {4}},
        ConditionCase{
            "StarAloneMatchesAllTexts", {C("", "PART_NUMBER", "=", Variant("*"))}, {0, 1, 2, 3, 4}},
        ConditionCase{"StarIsLiteralWithOtherOperators",
                      {C("", "PART_NUMBER", "<>", Variant("AB*"))},
                      {0, 1, 2, 3, 4}},
        ConditionCase{"TextNumberComparesAsNumber", {C("", "QTY", ">", Variant("7"))}, {1, 2}},
        ConditionCase{"LessOrEqual", {C("", "QTY", "<=", Variant(int32_t{10}))}, {0, 1}},
        ConditionCase{"AndBindsTighterThanOr",
                      {C("", "REVISION", "=", Variant("A")), C("", "QTY", "=", Variant(5)),
                       C("OR", "QTY", "=", Variant(15))},
                      {0, 2}},
        ConditionCase{"NullMeansNoValue", {C("", "QTY", "=", Variant::Null())}, {3, 4}},
        ConditionCase{
            "QuoteInValueIsJustText", {C("", "TITLE", "=", Variant("x' OR '1'='1"))}, {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(QueryTest, MaxRowsKeepsTheFirstRows) {
  EXPECT_EQ(Find({}, 2), (std::vector<int32_t>{ids_[0], ids_[1]}));
}

TEST_F(QueryTest, ColumnsAreTheSelectedAttributesWithTheirTypes) {
  auto factory = os_->GetQueryFactory();
  EXPECT_EQ(factory->GetQuery(), factory->GetQuery()) << "the factory's one query";
  EXPECT_EQ(factory->GetResult()->GetRecordCount(), 0) << "empty before a run";
  auto q = factory->GetQuery();
  q->GetQueryClasses()->AddClass(101, "F");
  q->GetSelectList()->Add("LEVEL", "F", 0);
  q->GetSelectList()->Add("PART_NUMBER", "F", 0);
  factory->RunWithOptions(os_->GetDefaultOptions()->Copy());
  auto result = factory->GetResult();
  ASSERT_EQ(result->GetColumnCount(), 2);
  EXPECT_EQ(result->GetColumnName(0), "LEVEL");
  EXPECT_EQ(result->GetHeader()->Item(1)->GetLength(), 40);
  EXPECT_EQ(result->GetValue("LEVEL", 0), Variant(int16_t{1}));
  q->GetSelectList()->Add("NOPE", "F", 0);
  EXPECT_THROW(factory->Run(), RuntimeError);
}

TEST_F(QueryTest, SeveralClassesGiveAliasPrefixedColumns) {
  const int32_t project = store_->Insert("Project", {{"NAME", Variant("P")}});
  const int32_t l2 = store_->Link("Project_Part", ObjectRef{200, project}, PartRef(ids_[2]));
  const int32_t l0 = store_->Link("Project_Part", ObjectRef{200, project}, PartRef(ids_[0]));
  auto factory = os_->GetQueryFactory();
  auto q = factory->GetQuery();
  q->GetQueryClasses()->AddClass(200, "F");
  q->GetQueryClasses()->AddClass(100, "S");
  q->GetQueryClasses()->AddClass(250, "L");
  factory->Run();
  auto result = factory->GetResult();
  ASSERT_EQ(result->GetColumnCount(), 6);
  EXPECT_EQ(result->GetColumnName(0), "F.CLASS_ID");
  EXPECT_EQ(result->GetColumnName(3), "S.OBJECT_ID");
  ASSERT_EQ(result->GetRecordCount(), 2);
  EXPECT_EQ(result->GetValue("L.OBJECT_ID", 0), Variant(l2)) << "then by link";
  EXPECT_EQ(result->GetValue("S.OBJECT_ID", 1), Variant(ids_[0]));
  EXPECT_EQ(result->GetValue("L.OBJECT_ID", 1), Variant(l0));
}

TEST_F(QueryTest, SqlQueryRunsThePlainStatement) {
  auto q = os_->CreateQuery();
  q->SetOptionA(0);
  q->SetOptionB(true);
  q->SetStatement("Select * from TDM_TITLES where COL_NAME <> 'None' And CLASS_ID = 100");
  q->Execute();
  auto rows = q->GetResult();
  ASSERT_EQ(rows->GetRecordCount(), 3);
  EXPECT_EQ(rows->GetColumnName(1), "COL_NAME") << "columns in the order the model wrote them";
  EXPECT_EQ(rows->GetHeader()->Item(0)->GetType(), 3);
  EXPECT_EQ(rows->GetHeader()->Item(1)->GetType(), 1);
  EXPECT_EQ(rows->GetValue("COL_NAME", 0), Variant("TITLE"));

  auto classes = os_->CreateQuery();
  classes->SetStatement("SELECT PART_NUMBER FROM TN_PARTS ORDER BY OBJECT_ID");
  classes->Execute();
  EXPECT_EQ(classes->GetResult()->GetRecordCount(), 4) << "a class table is a real table";
  classes->SetStatement("SELECT FROM nowhere");
  EXPECT_THROW(classes->Execute(), RuntimeError);
}

class TreeTest : public StoreTest {
 protected:
  // root -> a -> c, root -> b; a second root r2 -> d; a loop c -> root.
  void SetUp() override {
    StoreTest::SetUp();
    root_ = Part("root");
    a_ = Part("a");
    b_ = store_->Insert("Assembly", {{"PART_NUMBER", Variant("b")}});
    c_ = Part("c");
    r2_ = Part("r2");
    d_ = Part("d");
    l_ra_ = store_->Link("Part_Tree", PartRef(root_), PartRef(a_), {{"TDMX_ORDERING", Variant(1)}});
    l_rb_ = store_->Link("Part_Tree", PartRef(root_), ObjectRef{101, b_});
    l_ac_ = store_->Link("Part_Tree", PartRef(a_), PartRef(c_));
    l_rd_ = store_->Link("Part_Tree", PartRef(r2_), PartRef(d_));
  }

  Ref<KvTreeQuery> Tree(int16_t levels, std::vector<int32_t> roots, const std::string& file = "") {
    auto q = os_->CreateTreeQuery(file.empty() ? "C:\\Temp\\TREE.inf" : file);
    q->SetOptionA(0);
    q->SetOptionB(1);
    q->SetLevel(levels);
    q->SetOptionC(0);
    for (int32_t id : roots) q->GetRoots()->Add(os_->GetObjectById(100, id)->NewInstance());
    for (const char* alias : {"F", "S"}) {
      q->GetQueryClasses()->AddClass(100, alias);
      q->GetSelectList()->Add("CLASS_ID", alias, 0);
      q->GetSelectList()->Add("OBJECT_ID", alias, 0);
    }
    q->GetQueryClasses()->AddClass(150, "L");
    q->GetSelectList()->Add("CLASS_ID", "L", 0);
    q->GetSelectList()->Add("OBJECT_ID", "L", 0);
    q->GetSelectList()->Add("TDMX_ORDERING", "L", 0);
    q->GetSelectList()->Add("PART_NUMBER", "S", 0);
    return q;
  }

  static std::vector<int32_t> Column(const Ref<KvRecordList>& rows, const char* name) {
    std::vector<int32_t> out;
    for (int32_t r = 0; r < rows->GetRecordCount(); ++r)
      out.push_back(rows->GetValue(name, r).ToInt32());
    return out;
  }

  int32_t root_, a_, b_, c_, r2_, d_, l_ra_, l_rb_, l_ac_, l_rd_;
};

// Tree queries, link look-ups, a link moved to another son and a deletion
// find links and objects through an index (none scans the registry or a link
// table); a moved link is found at its new end only, a deleted one at
// neither.
TEST_F(TreeTest, LinksAreFoundThroughAnIndex) {
  Tree(0, {root_, r2_})->Execute();
  store_->Update(ObjectRef{150, l_ac_}, {{"SON_OBJECT_ID", Variant(d_)}});
  ObjectTable& objects = store_->Objects();
  EXPECT_TRUE(objects.LinksOf(c_).empty());
  const std::vector<LinkHit> at_d = objects.LinksOf(d_);
  ASSERT_EQ(at_d.size(), 2u);
  EXPECT_EQ(at_d[0].link_id, l_ac_);
  EXPECT_EQ(at_d[0].other_id, a_);
  store_->Delete(PartRef(root_));
  EXPECT_EQ(objects.LinksOf(a_).size(), 1u);  // root's link to a went with root
  Database& db = store_->Db();
  int plans = 0;
  for (const std::string& sql : db.PreparedTexts()) {
    if (sql.find("KV_OBJECTS") == std::string::npos &&
        sql.find("TN_PART_TREE") == std::string::npos)
      continue;
    ++plans;
    Statement plan = db.Prepare("EXPLAIN QUERY PLAN " + sql);
    while (plan.Step())
      for (const char* table : {"SCAN KV_OBJECTS", "SCAN TN_PART_TREE"})
        EXPECT_NE(plan.Text(3).rfind(table, 0), 0u) << sql << ": " << plan.Text(3);
  }
  EXPECT_GE(plans, 8);
}

TEST_F(TreeTest, ExpandsLevelByLevel) {
  struct Case {
    int16_t levels;
    std::vector<int32_t> links;
  };
  for (const Case& c : {Case{1, {l_ra_, l_rb_, l_rd_}}, Case{2, {l_ra_, l_rb_, l_rd_, l_ac_}},
                        Case{0, {l_ra_, l_rb_, l_rd_, l_ac_}}}) {
    auto q = Tree(c.levels, {root_, r2_});
    q->Execute();
    auto rows = q->GetResult(0, true)->GetRecordList();
    EXPECT_EQ(Column(rows, "L.OBJECT_ID"), c.links) << "levels " << c.levels;
  }
  auto q = Tree(2, {root_});
  q->Execute();
  auto rows = q->GetResult(0, true)->GetRecordList();
  std::vector<std::string> names;
  for (int32_t i = 0; i < rows->GetColumnCount(); ++i) names.push_back(rows->GetColumnName(i));
  EXPECT_EQ(names, (std::vector<std::string>{"F.CLASS_ID", "F.OBJECT_ID", "S.CLASS_ID",
                                             "S.OBJECT_ID", "L.CLASS_ID", "L.OBJECT_ID",
                                             "L.TDMX_ORDERING", "S.PART_NUMBER"}));
  EXPECT_EQ(rows->GetValue("S.CLASS_ID", 1), Variant(int16_t{101}));
  EXPECT_EQ(rows->GetValue("S.PART_NUMBER", 1), Variant("b"));
  EXPECT_EQ(rows->GetValue("L.TDMX_ORDERING", 0), Variant(int32_t{1}));
  EXPECT_TRUE(rows->GetValue("L.TDMX_ORDERING", 1).IsNull());
}

TEST_F(TreeTest, ALoopEndsAtTheLevelLimit) {
  const int32_t loop = store_->Link("Part_Tree", PartRef(c_), PartRef(root_));
  auto q = Tree(0, {root_});
  q->Execute();
  EXPECT_EQ(Column(q->GetResult(0, true)->GetRecordList(), "L.OBJECT_ID"),
            (std::vector<int32_t>{l_ra_, l_rb_, l_ac_, loop}));
}

TEST_F(TreeTest, FailsBeyondMaxQuerySize) {
  // A fan of 45 sons under one father: more rows than the model's 40.
  const int32_t fan = Part("fan");
  for (int i = 0; i < 45; ++i)
    store_->Link("Part_Tree", PartRef(fan), PartRef(Part("s" + std::to_string(i))));
  auto q = Tree(1, {fan});
  try {
    q->Execute();
    FAIL() << "expanded";
  } catch (const RuntimeError& e) {
    EXPECT_NE(e.Description().find("MaxQuerySize"), std::string::npos) << e.Description();
  }
  auto small = Tree(1, {root_});
  EXPECT_NO_THROW(small->Execute());
}

TEST_F(TreeTest, WritesTheWorkFileThroughThePathMapping) {
  // A folder name beyond ASCII: the mapped path is UTF-8, whatever the system's
  // narrow encoding of file names.
  const test::TempFolder folder("vtx_store_tree");
  const auto dir = folder.Path() / u8"é";
  std::filesystem::create_directories(dir);
  std::string asked;
  store_->SetPathMapper([&](const std::string& windows) {
    asked = windows;
    return Utf8FromPath(dir / "TREE.inf");
  });
  Tree(1, {root_}, "C:\\Temp\\VTX_Temp\\TREE.inf")->Execute();
  EXPECT_EQ(asked, "C:\\Temp\\VTX_Temp\\TREE.inf");
  std::ifstream in(dir / "TREE.inf", std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  EXPECT_EQ(text.str(), "[TREE]\r\nLevel=1\r\nRoot=100," + std::to_string(root_) + "\r\n");
}

TEST_F(TreeTest, CompositeRowsComeBackThroughObjectsFromRecords) {
  auto q = Tree(2, {root_});
  q->Execute();
  auto rows = q->GetResult(0, true)->GetRecordList();
  auto objects = os_->ObjectsFromRecords(rows, true);
  auto again = objects->GetRecordList();
  ASSERT_EQ(again->GetColumnCount(), rows->GetColumnCount());
  EXPECT_EQ(again->GetColumnName(0), "F.CLASS_ID");
  EXPECT_EQ(Column(again, "L.OBJECT_ID"), Column(rows, "L.OBJECT_ID"));
  // Its objects are the sons, holding their stored values.
  EXPECT_EQ(IdsOf(objects), (std::vector<int32_t>{a_, b_, c_}));
  EXPECT_EQ(objects->Item(1)->GetClassId(), 101);
  EXPECT_EQ(objects->Item(2)->GetValue("REVISION"), Variant("A"));
}

TEST_F(QueryTest, ObjectsFromRecordsOverlayTheRows) {
  auto list = NewRecordList(*store_);
  list->AddColumn("CLASS_ID", 0, 2);
  list->AddColumn("OBJECT_ID", 0, 3);
  list->AddColumn("TITLE", 0, 1);
  list->AddColumn("QTY", 0, 3);
  list->AddColumn("UNRELATED", 0, 1);
  list->SetValue("CLASS_ID", 0, Variant(int16_t{100}));
  list->SetValue("OBJECT_ID", 0, Variant(ids_[1]));
  list->SetValue("TITLE", 0, Variant("edited"));
  list->SetValue("QTY", 0, Variant("many"));  // does not convert: the stored value stays
  list->SetValue("UNRELATED", 0, Variant("x"));
  for (const Variant& flag : {Variant(true), Variant(int16_t{0})}) {
    auto objects = os_->ObjectsFromRecordList(list, flag);
    ASSERT_EQ(objects->GetCount(), 1);
    auto object = objects->Item(0);
    EXPECT_EQ(object->GetValue("TITLE"), Variant("edited"));
    EXPECT_EQ(object->GetValue("QTY"), Variant(int32_t{10}));
    EXPECT_EQ(object->GetValue("PART_NUMBER"), Variant("AB-2"));
    EXPECT_EQ(os_->ObjectFromRecord(list->GetRecord(0), flag)->GetValue("TITLE"),
              Variant("edited"));
  }
  EXPECT_EQ(os_->ObjectsFromRecordList(NewRecordList(*store_), false)->GetCount(), 0);
  list->SetValue("OBJECT_ID", 0, Variant(int32_t{99999}));
  EXPECT_THROW(os_->ObjectsFromRecordList(list, true), RuntimeError);
  list->SetValue("OBJECT_ID", 0, Variant(ids_[1]));
  list->SetValue("CLASS_ID", 0, Variant(int16_t{200}));
  EXPECT_THROW(os_->ObjectsFromRecordList(list, true), RuntimeError) << "not a project";
}

}  // namespace
}  // namespace vtx::emu
