#include <string>
#include <vector>

#include "records/electronic_record_fixture.h"

namespace vtx::records_test {
namespace {

// Every operation but an update or a deletion: one sentence naming the
// object, or the ends of the link, which are also what the record is linked to.
struct SentenceCase {
  const char* name;
  std::string operation;
  int16_t class_id;
  int32_t object_id;
  std::string description;
  std::vector<std::string> linked;
};

class OneSentenceTest : public ElectronicRecordTest,
                        public ::testing::WithParamInterface<SentenceCase> {};

TEST_P(OneSentenceTest, NamesTheObjectOrTheEnds) {
  const SentenceCase& c = GetParam();
  ASSERT_TRUE(CreateRecord(c.operation, c.class_id, c.object_id));
  const auto record = Records().at(0);
  EXPECT_EQ(DescriptionOf(record), c.description);
  EXPECT_EQ(LinkedEnds(record.ref.object_id), c.linked);
}

INSTANTIATE_TEST_SUITE_P(
    Operations, OneSentenceTest,
    ::testing::Values(SentenceCase{"Object",
                                   "CHECKIN",
                                   kPart,
                                   kBolt,
                                   "Checkin object: '4711 A' of class: 'Part'",
                                   {"100:1"}},
                      SentenceCase{"NoRecordLinkClass",
                                   "CHECKOUT",
                                   kTool,
                                   kHammer,
                                   "Checkout object: 'T-9' of class: 'Tool'",
                                   {}},
                      SentenceCase{"Relation",
                                   "ADD",
                                   kPartDoc,
                                   kBoltDrawing,
                                   "Add relation between: '4711 A' of class: 'Part'\r\n"
                                   " and: 'D-1' of class: 'Doc'",
                                   {"100:1", "200:3"}},
                      SentenceCase{"Composition",
                                   "checkIN",
                                   kPartTree,
                                   kBoltNut,
                                   "Checkin composition between: '4711 A' of class: 'Part'\r\n"
                                   " and: '4712 B' of class: 'Part'",
                                   {"100:1", "100:2"}},
                      SentenceCase{"RelationWithoutFirstEnd",
                                   "CHECKIN",
                                   kPartDoc,
                                   kNoFirstEnd,
                                   "Checkin relation between: '\r\n and: 'D-1' of class: 'Doc'",
                                   {"200:3"}},
                      SentenceCase{"RelationWithoutSecondEnd",
                                   "CHECKIN",
                                   kPartDoc,
                                   kNoSecondEnd,
                                   "Checkin relation between: '4711 A' of class: 'Part'",
                                   {"100:1"}},
                      SentenceCase{"CompositionWithoutSon",
                                   "CHECKIN",
                                   kPartTree,
                                   kNoSon,
                                   "Checkin composition between: '4711 A' of class: 'Part'",
                                   {"100:1"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ElectronicRecordTest, UpdateListsOldAndNewValues) {
  ASSERT_EQ(SaveOriginal(kPart, kBolt), -1);
  Store().Update({kPart, kBolt}, {{"TITLE", "Screw"}, {"STATE", Variant::Null()}});

  ASSERT_TRUE(CreateRecord("update", kPart, kBolt));

  EXPECT_EQ(DescriptionOf(Records().at(0)),
            "Update object: '4711 A' of class: 'Part'\r\n"
            "\r\n"
            "Title was: 'Bolt' is: 'Screw '\r\n"
            "\r\n"
            "State was: 'New'");
}

// One change of the nut between the saved and the stored state, and the text
// after the header ("": no record at all).
struct ChangeCase {
  const char* name;
  emu::Values before, after;
  std::string lines;
};

class RecordAttributeChangeTest : public ElectronicRecordTest,
                                  public ::testing::WithParamInterface<ChangeCase> {};

TEST_P(RecordAttributeChangeTest, DescribesTheChange) {
  Store().Update({kPart, kNut}, GetParam().before);
  ASSERT_EQ(SaveOriginal(kPart, kNut), -1);
  Store().Update({kPart, kNut}, GetParam().after);

  const bool stored = CreateRecord("UPDATE", kPart, kNut);

  if (GetParam().lines.empty()) {
    EXPECT_FALSE(stored);
    EXPECT_TRUE(Records().empty());
  } else {
    ASSERT_TRUE(stored);
    EXPECT_EQ(DescriptionOf(Records().at(0)),
              "Update object: '4712 B' of class: 'Part'\r\n" + GetParam().lines);
  }
}

const Variant kNull = Variant::Null();

INSTANTIATE_TEST_SUITE_P(
    Changes, RecordAttributeChangeTest,
    ::testing::Values(
        ChangeCase{"NothingChanged", {}, {}, ""},
        ChangeCase{"OnlyExcludedChanged", {{"NOTE", "a"}}, {{"NOTE", "b"}}, ""},
        ChangeCase{"CaseMatters", {}, {{"TITLE", "NUT"}}, "\r\nTitle was: 'Nut' is: 'NUT '\r\n"},
        ChangeCase{"Int16Marker",
                   {{"QTY", int16_t{5}}},
                   {{"QTY", int16_t{-32767}}},
                   "\r\nQuantity was: '5'"},
        ChangeCase{"Int16MarkerEqualsNull", {{"QTY", int16_t{-32767}}}, {{"QTY", kNull}}, ""},
        ChangeCase{"Int32Marker",
                   {{"MASS", -2147483647}},
                   {{"MASS", 12}},
                   "\r\nMass was: '' is: '12 '\r\n"},
        ChangeCase{"Int32MarkerEqualsNull", {{"MASS", -2147483647}}, {{"MASS", kNull}}, ""},
        ChangeCase{"OtherNegative",
                   {{"MASS", -2147483646}},
                   {{"MASS", kNull}},
                   "\r\nMass was: '-2147483646'"},
        ChangeCase{"LookupItems",
                   {{"STATE", 1}},
                   {{"STATE", 2}},
                   "\r\nState was: 'New' is: 'Released '\r\n"},
        ChangeCase{"UnknownLookupItem",
                   {{"STATE", 7}},
                   {{"STATE", 2}},
                   "\r\nState was: '' is: 'Released '\r\n"},
        ChangeCase{"ReferencedObjects",
                   {{"OWNER", kJane}},
                   {{"OWNER", kAnna}},
                   "\r\nOwner was: 'jdoe' is: 'asmith '\r\n"},
        ChangeCase{"MissingReferencedObject",
                   {{"OWNER", 9999}},
                   {{"OWNER", kJane}},
                   "\r\nOwner was: '**DELETED**' is: 'jdoe '\r\n"},
        ChangeCase{"NegativeReference",
                   {{"OWNER", -1}},
                   {{"OWNER", kJane}},
                   "\r\nOwner was: '' is: 'jdoe '\r\n"},
        ChangeCase{"TwoLines",
                   {{"QTY", int16_t{1}}},
                   {{"TITLE", "Washer"}, {"QTY", int16_t{2}}},
                   "\r\nTitle was: 'Nut' is: 'Washer '\r\n\r\nQuantity was: '1' is: '2 '\r\n"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ElectronicRecordTest, UpdateWithoutComparableSavedObjectStoresNothing) {
  EXPECT_FALSE(CreateRecord("UPDATE", kPart, kBolt));
  ASSERT_EQ(SaveOriginal(kDoc, kDrawing), -1);
  EXPECT_FALSE(CreateRecord("UPDATE", kPart, kBolt));
  EXPECT_TRUE(Records().empty());
}

TEST_F(ElectronicRecordTest, DeleteListsTheLastNonEmptyValues) {
  ASSERT_TRUE(CreateRecord("DELETE", kPart, kBolt));

  EXPECT_EQ(DescriptionOf(Records().at(0)),
            "Delete object: '4711 A' of class: 'Part'\r\n"
            "\r\nCLASS_ID was: '100'\r\nOBJECT_ID was: '1'\r\nPart Number was: '4711'"
            "\r\nRevision was: 'A'\r\nTitle was: 'Bolt'\r\nState was: 'New'\r\nOwner was: 'jdoe'");
}

TEST_F(ElectronicRecordTest, UpdateOfRelationLinkHasTheTwoEndHeader) {
  ASSERT_EQ(SaveOriginal(kPartDoc, kBoltDrawing), -1);
  Store().Update({kPartDoc, kBoltDrawing}, {{"ROLE", "main"}});

  ASSERT_TRUE(CreateRecord("UPDATE", kPartDoc, kBoltDrawing));

  EXPECT_EQ(DescriptionOf(Records().at(0)),
            "Update relation between: '4711 A' class: 'Part'\r\n"
            "and: 'D-1' class: 'Doc'\r\n"
            "\r\nRole was: 'spare' is: 'main '\r\n");
}

TEST_F(ElectronicRecordTest, DeletionOfLinkWithMissingEndFailsAndStoresNothing) {
  try {
    CreateRecord("DELETE", kPartDoc, kNoSecondEnd);
    FAIL() << "the missing end must fail the description";
  } catch (const RuntimeError& e) {
    EXPECT_EQ(e.Number(), err::kObjectVariableNotSet);
  }
  EXPECT_TRUE(Records().empty());
}

TEST_F(ElectronicRecordTest, DisplayValueNeverFails) {
  clsElectronicRecord record;
  Ref<KvSession> session = Session();
  Ref<KvObject> bolt = Load(kPart, kBolt);
  Ref<KvObject> nothing;

  EXPECT_EQ(record.GetAttDisplayValue(session, nothing, "TITLE"), "");
  EXPECT_EQ(record.GetAttDisplayValue(session, bolt, "NO_SUCH_ATTRIBUTE"), "");
  FailCall("KvObjectStore.GetLookupItemById");
  EXPECT_EQ(record.GetAttDisplayValue(session, bolt, "STATE"), "**DELETED**");
  FailCall("KvObjectDisplay.GetText");
  EXPECT_EQ(record.GetAttDisplayValue(session, bolt, "OWNER"), "**DELETED**");
  // A failure before the referenced object is read is no sign of deletion.
  FailCall("KvClasses.ClassById");
  EXPECT_EQ(record.GetAttDisplayValue(session, bolt, "STATE"), "");
  EXPECT_EQ(record.GetAttDisplayValue(session, bolt, "STATE"), "New");
}

}  // namespace
}  // namespace vtx::records_test
