#include <string>
#include <vector>

#include "records/electronic_record_fixture.h"

namespace vtx::records_test {
namespace {

class RecordLinkingTest : public ElectronicRecordTest {
 protected:
  RecordLinkingTest() { ElectronicRecordFieldAccess::SetSession(record_, Session()); }

  // A stored, empty record to link.
  Ref<KvObject> StoredRecord() {
    const int32_t id = Store().Insert("Electronic Record", {{"CN_HOOK_OPERATION", "Test"}});
    return Load(kElectronicRecord, id);
  }

  clsElectronicRecord record_;
};

TEST_F(RecordLinkingTest, RelationLinkWithoutSecondEndLinksTheFirstOnly) {
  const int32_t part = InsertPart("4711", "Bolt");
  const int32_t link = Store().Insert(
      "Part_Doc", {{"CLASS_ID1", int16_t{kPart}}, {"OBJECT_ID1", part}, {"ROLE", "spare"}});

  ASSERT_TRUE(CreateRecord("CHECKIN", kPartDoc, link));

  const auto record = Records().at(0);
  EXPECT_EQ(DescriptionOf(record), "Checkin relation between: '4711 A' of class: 'Part'");
  EXPECT_EQ(LinkedEnds(record.ref.object_id),
            std::vector<std::string>{"100:" + std::to_string(part)});
}

TEST_F(RecordLinkingTest, CompositionWhoseSonIsNotFoundLinksTheParentOnly) {
  const int32_t parent = InsertPart("4711", "Assembly");
  // The son's id names no part: the query over the parts finds one row.
  const int32_t link =
      Store().Insert("Part_Tree", {{"PAR_OBJECT_ID", parent}, {"SON_OBJECT_ID", 99999}});
  Ref<KvObject> link_object = Load(kPartTree, link);
  Ref<KvObject> parent_end;
  Ref<KvObject> son_end;

  EXPECT_EQ(record_.GetDescriptionObjectHierLink(link_object, parent_end, son_end), 1);
  ASSERT_TRUE(parent_end);
  EXPECT_EQ(parent_end->GetObjectId(), parent);
  EXPECT_FALSE(son_end);

  ASSERT_TRUE(CreateRecord("CHECKIN", kPartTree, link));
  const auto record = Records().at(0);
  EXPECT_EQ(DescriptionOf(record), "Checkin composition between: '4711 A' of class: 'Part'");
  EXPECT_EQ(LinkedEnds(record.ref.object_id),
            std::vector<std::string>{"100:" + std::to_string(parent)});
}

struct EndsCase {
  const char* name;
  bool son_first;    // the son was stored before the parent (lower id)
  bool same_object;  // the link joins an object to itself
};

class HierLinkEndsTest : public RecordLinkingTest,
                         public ::testing::WithParamInterface<EndsCase> {};

TEST_P(HierLinkEndsTest, FindsBothClassesWhateverTheRowOrder) {
  int32_t parent = 0;
  int32_t son = 0;
  if (GetParam().son_first) {
    son = InsertPart("4712", "Bolt");
    parent = InsertPart("4711", "Assembly");
  } else {
    parent = InsertPart("4711", "Assembly");
    son = InsertPart("4712", "Bolt");
  }
  if (GetParam().same_object) son = parent;
  Ref<KvObject> link = Load(kPartTree, Store().Link("Part_Tree", {kPart, parent}, {kPart, son}));

  const LinkEndClasses ends = record_.GetHierLinkEndClasses(link);

  EXPECT_EQ(ends.ParentClassId, kPart);
  EXPECT_EQ(ends.SonClassId, kPart);
}

INSTANTIATE_TEST_SUITE_P(Rows, HierLinkEndsTest,
                         ::testing::Values(EndsCase{"ParentFirst", false, false},
                                           EndsCase{"SonFirst", true, false},
                                           EndsCase{"OneRowMatchesBoth", false, true}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(RecordLinkingTest, EndClassQueryAsksTheFamilyForBothIds) {
  const int32_t parent = InsertPart("4711", "Assembly");
  const int32_t son = InsertPart("4712", "Bolt");
  Ref<KvObject> link = Load(kPartTree, Store().Link("Part_Tree", {kPart, parent}, {kPart, son}));
  host_.Monitor().SetTracing(true);

  record_.GetHierLinkEndClasses(link);

  std::vector<std::string> calls;
  for (const auto& entry : host_.Monitor().Trace()) {
    if (entry.op != "KvQueryClasses.AddClass" && entry.op != "KvQueryConditions.Add" &&
        entry.op != "KvSelectList.Add")
      continue;
    std::string call = entry.op;
    for (const auto& arg : entry.args) call += "|" + arg.ToString();
    calls.push_back(call);
  }
  const std::string p = std::to_string(parent);
  const std::string s = std::to_string(son);
  EXPECT_EQ(calls, (std::vector<std::string>{
                       "KvQueryClasses.AddClass|100|F",
                       "KvQueryConditions.Add||OBJECT_ID|=|" + p + "|0|F",
                       "KvQueryConditions.Add|OR|OBJECT_ID|=|" + s + "|0|F",
                       "KvSelectList.Add|CLASS_ID|F|-1",
                       "KvSelectList.Add|OBJECT_ID|F|-1",
                   }));
}

TEST_F(RecordLinkingTest, SuperClassOfALinkIsTheFamilyThatOwnsIt) {
  EXPECT_EQ(record_.GetTheSuperClassOfTheLink(kPartTree), kPart);
  EXPECT_EQ(record_.GetTheSuperClassOfTheLink(kPartDoc), 0);
  // Id 0 is what a family without a composition link reports.
  EXPECT_EQ(record_.GetTheSuperClassOfTheLink(0), kDoc);
}

TEST_F(RecordLinkingTest, LinkBetweenObjectsAbsorbsEveryFailure) {
  const int32_t part = InsertPart("4711", "Bolt");
  const int32_t tool = Store().Insert("Tool", {{"TOOL_NUMBER", "T-9"}});
  Ref<KvObject> record = StoredRecord();
  Ref<KvObject> nothing;
  Ref<KvObject> tool_object = Load(kTool, tool);
  Ref<KvObject> part_object = Load(kPart, part);

  EXPECT_EQ(record_.LinkBetweenKvObjects(record, nothing), 0);
  EXPECT_EQ(record_.LinkBetweenKvObjects(record, tool_object), 0);
  FailCall("KvObject.CreateLink");
  EXPECT_EQ(record_.LinkBetweenKvObjects(record, part_object), 0);
  FailCall("KvObject.Insert");
  EXPECT_EQ(record_.LinkBetweenKvObjects(record, part_object), 0);
  EXPECT_TRUE(LinkedEnds(record->GetObjectId()).empty());

  EXPECT_EQ(record_.LinkBetweenKvObjects(record, part_object), 0);
  EXPECT_EQ(LinkedEnds(record->GetObjectId()),
            std::vector<std::string>{"100:" + std::to_string(part)});
}

TEST_F(RecordLinkingTest, FailingLinkInsertStillReportsTheRecordStored) {
  const int32_t part = InsertPart("4711", "Bolt");
  FailCall("KvObject.Insert", 2);

  EXPECT_TRUE(CreateRecord("CHECKIN", kPart, part));

  const auto records = Records();
  ASSERT_EQ(records.size(), 1u);
  EXPECT_TRUE(LinkedEnds(records[0].ref.object_id).empty());
}

TEST_F(RecordLinkingTest, LogicLinkEndThatCannotBeLoadedEscapes) {
  const int32_t part = InsertPart("4711", "Bolt");
  const int32_t link = Store().Insert("Part_Doc", {{"CLASS_ID1", int16_t{kPart}},
                                                   {"OBJECT_ID1", part},
                                                   {"CLASS_ID2", int16_t{kDoc}},
                                                   {"OBJECT_ID2", 4242}});
  Ref<KvObject> link_object = Load(kPartDoc, link);
  Ref<KvObject> first;
  Ref<KvObject> second;

  EXPECT_THROW(record_.GetDescriptionObjectLogicLink(link_object, first, second), RuntimeError);
  ASSERT_TRUE(first);
  EXPECT_EQ(first->GetObjectId(), part);
  EXPECT_FALSE(second);
}

}  // namespace
}  // namespace vtx::records_test
