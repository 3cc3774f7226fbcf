#include <string>
#include <vector>

#include "records/electronic_record_fixture.h"

namespace vtx::records_test {
namespace {

class RecordLinkingTest : public ElectronicRecordTest {
 protected:
  RecordLinkingTest() { ElectronicRecordFieldAccess::SetSession(record_, Session()); }
  clsElectronicRecord record_;
};

// The query rows come in OBJECT_ID order, whichever end that puts first.
struct EndsCase {
  const char* name;
  int32_t parent, son;
};

class HierLinkEndsTest : public RecordLinkingTest,
                         public ::testing::WithParamInterface<EndsCase> {};

TEST_P(HierLinkEndsTest, FindsBothClassesWhateverTheRowOrder) {
  const int32_t id = Store().Link("Part_Tree", {kPart, GetParam().parent}, {kPart, GetParam().son});
  Ref<KvObject> link = Load(kPartTree, id);

  const LinkEndClasses ends = record_.GetHierLinkEndClasses(link);

  EXPECT_EQ(ends.ParentClassId, kPart);
  EXPECT_EQ(ends.SonClassId, kPart);
}

INSTANTIATE_TEST_SUITE_P(Rows, HierLinkEndsTest,
                         ::testing::Values(EndsCase{"ParentFirst", kBolt, kNut},
                                           EndsCase{"SonFirst", kNut, kBolt},
                                           EndsCase{"OneRowForBoth", kBolt, kBolt}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(RecordLinkingTest, SonNotFoundLeavesTheSonNothing) {
  Ref<KvObject> link = Load(kPartTree, kNoSon);
  Ref<KvObject> parent, son;

  EXPECT_EQ(record_.GetDescriptionObjectHierLink(link, parent, son), 1);
  ASSERT_TRUE(parent);
  EXPECT_EQ(parent->GetObjectId(), kBolt);
  EXPECT_FALSE(son);
}

TEST_F(RecordLinkingTest, EndClassQueryAsksTheFamilyForBothIds) {
  Ref<KvObject> link = Load(kPartTree, kBoltNut);
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
  EXPECT_EQ(calls, (std::vector<std::string>{
                       "KvQueryClasses.AddClass|100|F", "KvQueryConditions.Add||OBJECT_ID|=|1|0|F",
                       "KvQueryConditions.Add|OR|OBJECT_ID|=|2|0|F",
                       "KvSelectList.Add|CLASS_ID|F|-1", "KvSelectList.Add|OBJECT_ID|F|-1"}));
}

TEST_F(RecordLinkingTest, SuperClassOfALinkIsTheFamilyThatOwnsIt) {
  EXPECT_EQ(record_.GetTheSuperClassOfTheLink(kPartTree), kPart);
  EXPECT_EQ(record_.GetTheSuperClassOfTheLink(kPartDoc), 0);
  // 0 is what a family without a composition link reports.
  EXPECT_EQ(record_.GetTheSuperClassOfTheLink(0), kDoc);
}

TEST_F(RecordLinkingTest, LinkBetweenObjectsAbsorbsEveryFailure) {
  Ref<KvObject> record = Load(kElectronicRecord, Store().Insert("Electronic Record", {}));
  Ref<KvObject> nothing, hammer = Load(kTool, kHammer), bolt = Load(kPart, kBolt);

  EXPECT_EQ(record_.LinkBetweenKvObjects(record, nothing), 0);
  EXPECT_EQ(record_.LinkBetweenKvObjects(record, hammer), 0);
  FailCall("KvObject.CreateLink");
  EXPECT_EQ(record_.LinkBetweenKvObjects(record, bolt), 0);
  FailCall("KvObject.Insert");
  EXPECT_EQ(record_.LinkBetweenKvObjects(record, bolt), 0);
  EXPECT_TRUE(LinkedEnds(record->GetObjectId()).empty());

  EXPECT_EQ(record_.LinkBetweenKvObjects(record, bolt), 0);
  EXPECT_EQ(LinkedEnds(record->GetObjectId()), std::vector<std::string>{"100:1"});
}

TEST_F(RecordLinkingTest, FailingLinkInsertStillReportsTheRecordStored) {
  FailCall("KvObject.Insert", 2);

  EXPECT_TRUE(CreateRecord("CHECKIN", kPart, kBolt));

  const auto records = Records();
  ASSERT_EQ(records.size(), 1u);
  EXPECT_TRUE(LinkedEnds(records[0].ref.object_id).empty());
}

TEST_F(RecordLinkingTest, EndThatCannotBeLoadedEscapesAfterTheFirstEnd) {
  const int32_t id = Store().Insert(
      "Part_Doc",
      {{"CLASS_ID1", kPart}, {"OBJECT_ID1", kBolt}, {"CLASS_ID2", kDoc}, {"OBJECT_ID2", 4242}});
  Ref<KvObject> link = Load(kPartDoc, id);
  Ref<KvObject> first, second;

  EXPECT_THROW(record_.GetDescriptionObjectLogicLink(link, first, second), RuntimeError);
  ASSERT_TRUE(first);
  EXPECT_EQ(first->GetObjectId(), kBolt);
  EXPECT_FALSE(second);
}

}  // namespace
}  // namespace vtx::records_test
