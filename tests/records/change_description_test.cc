#include <string>
#include <vector>

#include "records/electronic_record_fixture.h"

namespace vtx::records_test {
namespace {

constexpr const char* kPartHeader = "Update object: '4711 A' of class: 'Part'\r\n";

TEST_F(ElectronicRecordTest, UpdateDescribesEveryChangedAttribute) {
  const int32_t part = InsertPart("4711", "Bolt", {{"STATE", 1}});
  ASSERT_EQ(SaveOriginal(kPart, part), -1);
  Store().Update({kPart, part}, {{"TITLE", "Screw"}, {"STATE", Variant::Null()}});

  ASSERT_TRUE(CreateRecord("UPDATE", kPart, part));

  EXPECT_EQ(DescriptionOf(Records().at(0)),
            "Update object: '4711 A' of class: 'Part'\r\n"
            "\r\n"
            "Title was: 'Bolt' is: 'Screw '\r\n"
            "\r\n"
            "State was: 'New'");
}

TEST_F(ElectronicRecordTest, CheckinOfTheSameObjectIsOneSentence) {
  const int32_t part = InsertPart("4711", "Bolt", {{"STATE", 1}});
  ASSERT_TRUE(CreateRecord("CHECKIN", kPart, part));
  EXPECT_EQ(DescriptionOf(Records().at(0)), "Checkin object: '4711 A' of class: 'Part'");
}

TEST_F(ElectronicRecordTest, UpdateInAnyLetterCaseIsAnUpdate) {
  const int32_t part = InsertPart("4711", "Bolt");
  ASSERT_EQ(SaveOriginal(kPart, part), -1);
  Store().Update({kPart, part}, {{"TITLE", "Screw"}});

  ASSERT_TRUE(CreateRecord("uPdAtE", kPart, part));

  const auto record = Records().at(0);
  EXPECT_EQ(DescriptionOf(record),
            std::string(kPartHeader) + "\r\nTitle was: 'Bolt' is: 'Screw '\r\n");
  EXPECT_EQ(ValueOf(record, "CN_HOOK_OPERATION"), Variant("Update"));
}

// One attribute change between the saved and the current state, and the line
// it gives (empty: no record at all).
struct ChangeCase {
  const char* name;
  emu::Values before;
  emu::Values after;
  std::string line;
};

class AttributeChangeTest : public ElectronicRecordTest,
                            public ::testing::WithParamInterface<ChangeCase> {
 protected:
  void SetUp() override {
    other_user_ = Store().Insert("User", {{"LOGIN", "asmith"}, {"LAST_NAME", "Smith"}});
  }
  int32_t other_user_ = 0;
};

TEST_P(AttributeChangeTest, DescribesTheChange) {
  emu::Values before = GetParam().before;
  for (auto& [name, value] : before)
    if (value == Variant("<user>")) value = Variant(user_id_);
  emu::Values after = GetParam().after;
  for (auto& [name, value] : after) {
    if (value == Variant("<user>")) value = Variant(user_id_);
    if (value == Variant("<other>")) value = Variant(other_user_);
  }
  const int32_t part = InsertPart("4711", "Bolt", before);
  ASSERT_EQ(SaveOriginal(kPart, part), -1);
  Store().Update({kPart, part}, after);

  const bool stored = CreateRecord("UPDATE", kPart, part);

  if (GetParam().line.empty()) {
    EXPECT_FALSE(stored);
    EXPECT_TRUE(Records().empty());
  } else {
    ASSERT_TRUE(stored);
    EXPECT_EQ(DescriptionOf(Records().at(0)), kPartHeader + GetParam().line);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Changes, AttributeChangeTest,
    ::testing::Values(
        ChangeCase{"NothingChanged", {}, {}, ""},
        ChangeCase{"OnlyExcludedChanged", {{"NOTE", "a"}}, {{"NOTE", "b"}}, ""},
        ChangeCase{"CaseMatters", {}, {{"TITLE", "BOLT"}}, "\r\nTitle was: 'Bolt' is: 'BOLT '\r\n"},
        ChangeCase{"ValueAdded", {}, {{"QTY", int16_t{5}}}, "\r\nQuantity was: '' is: '5 '\r\n"},
        ChangeCase{"Int16MarkerIsEmpty",
                   {{"QTY", int16_t{5}}},
                   {{"QTY", int16_t{-32767}}},
                   "\r\nQuantity was: '5'"},
        ChangeCase{
            "Int16MarkerEqualsNull", {{"QTY", int16_t{-32767}}}, {{"QTY", Variant::Null()}}, ""},
        ChangeCase{"Int32MarkerIsEmpty",
                   {{"MASS", -2147483647}},
                   {{"MASS", 12}},
                   "\r\nMass was: '' is: '12 '\r\n"},
        ChangeCase{
            "Int32MarkerEqualsNull", {{"MASS", -2147483647}}, {{"MASS", Variant::Null()}}, ""},
        ChangeCase{"OtherNegativeIsAValue",
                   {{"MASS", -2147483646}},
                   {{"MASS", Variant::Null()}},
                   "\r\nMass was: '-2147483646'"},
        ChangeCase{"LookupItems",
                   {{"STATE", 1}},
                   {{"STATE", 2}},
                   "\r\nState was: 'New' is: 'Released '\r\n"},
        ChangeCase{"UnknownLookupItemIsEmpty",
                   {{"STATE", 7}},
                   {{"STATE", 2}},
                   "\r\nState was: '' is: 'Released '\r\n"},
        ChangeCase{"ReferencedObjects",
                   {{"OWNER", "<user>"}},
                   {{"OWNER", "<other>"}},
                   "\r\nOwner was: 'jdoe' is: 'asmith '\r\n"},
        ChangeCase{"ReferenceToMissingObject",
                   {{"OWNER", 9999}},
                   {{"OWNER", "<user>"}},
                   "\r\nOwner was: '**DELETED**' is: 'jdoe '\r\n"},
        ChangeCase{"NegativeReferenceIsEmpty",
                   {{"OWNER", -1}},
                   {{"OWNER", "<user>"}},
                   "\r\nOwner was: '' is: 'jdoe '\r\n"},
        ChangeCase{"TwoLines",
                   {{"QTY", int16_t{1}}},
                   {{"TITLE", "Nut"}, {"QTY", int16_t{2}}},
                   "\r\nTitle was: 'Bolt' is: 'Nut '\r\n\r\nQuantity was: '1' is: '2 '\r\n"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ElectronicRecordTest, UpdateWithoutSavedObjectStoresNothing) {
  const int32_t part = InsertPart("4711", "Bolt");
  EXPECT_FALSE(CreateRecord("UPDATE", kPart, part));
  EXPECT_TRUE(Records().empty());
}

TEST_F(ElectronicRecordTest, UpdateAgainstObjectOfAnotherClassStoresNothing) {
  const int32_t doc = Store().Insert("Doc", {{"DOC_NUMBER", "D-1"}, {"TITLE", "Drawing"}});
  const int32_t part = InsertPart("4711", "Bolt");
  ASSERT_EQ(SaveOriginal(kDoc, doc), -1);

  EXPECT_FALSE(CreateRecord("UPDATE", kPart, part));
  EXPECT_TRUE(Records().empty());
}

TEST_F(ElectronicRecordTest, UpdateComparesWithWhateverObjectOfTheClassWasSaved) {
  const int32_t first = InsertPart("4711", "Bolt");
  const int32_t second = InsertPart("4712", "Bolt");
  ASSERT_EQ(SaveOriginal(kPart, first), -1);

  ASSERT_TRUE(CreateRecord("UPDATE", kPart, second));

  EXPECT_EQ(DescriptionOf(Records().at(0)),
            "Update object: '4711 A' of class: 'Part'\r\n"
            "\r\nOBJECT_ID was: '" +
                std::to_string(first) + "' is: '" + std::to_string(second) +
                " '\r\n"
                "\r\nPart Number was: '4711' is: '4712 '\r\n");
}

TEST_F(ElectronicRecordTest, DeleteListsTheLastNonEmptyValues) {
  const int32_t part = InsertPart("4711", "Bolt", {{"STATE", 1}, {"NOTE", "kept out"}});

  ASSERT_TRUE(CreateRecord("DELETE", kPart, part));

  EXPECT_EQ(DescriptionOf(Records().at(0)),
            "Delete object: '4711 A' of class: 'Part'\r\n"
            "\r\nCLASS_ID was: '100'"
            "\r\nOBJECT_ID was: '" +
                std::to_string(part) +
                "'"
                "\r\nPart Number was: '4711'"
                "\r\nRevision was: 'A'"
                "\r\nTitle was: 'Bolt'"
                "\r\nState was: 'New'");
}

TEST_F(ElectronicRecordTest, CheckinOfRelationLinkNamesBothEnds) {
  const int32_t part = InsertPart("4711", "Bolt");
  const int32_t doc = Store().Insert("Doc", {{"DOC_NUMBER", "D-1"}});
  const int32_t link = Store().Link("Part_Doc", {kPart, part}, {kDoc, doc});

  ASSERT_TRUE(CreateRecord("ADD", kPartDoc, link));

  const auto record = Records().at(0);
  EXPECT_EQ(DescriptionOf(record),
            "Add relation between: '4711 A' of class: 'Part'\r\n and: 'D-1' of class: 'Doc'");
  EXPECT_EQ(
      LinkedEnds(record.ref.object_id),
      (std::vector<std::string>{"100:" + std::to_string(part), "200:" + std::to_string(doc)}));
}

TEST_F(ElectronicRecordTest, CheckinOfCompositionLinkNamesParentAndSon) {
  const int32_t parent = InsertPart("4711", "Assembly");
  const int32_t son = InsertPart("4712", "Bolt");
  const int32_t link = Store().Link("Part_Tree", {kPart, parent}, {kPart, son});

  ASSERT_TRUE(CreateRecord("CHECKIN", kPartTree, link));

  const auto record = Records().at(0);
  EXPECT_EQ(DescriptionOf(record),
            "Checkin composition between: '4711 A' of class: 'Part'\r\n"
            " and: '4712 A' of class: 'Part'");
  EXPECT_EQ(
      LinkedEnds(record.ref.object_id),
      (std::vector<std::string>{"100:" + std::to_string(parent), "100:" + std::to_string(son)}));
}

TEST_F(ElectronicRecordTest, RelationLinkWithoutFirstEndNamesOnlyTheSecond) {
  const int32_t doc = Store().Insert("Doc", {{"DOC_NUMBER", "D-1"}});
  const int32_t link = Store().Insert(
      "Part_Doc", {{"CLASS_ID2", int16_t{kDoc}}, {"OBJECT_ID2", doc}, {"ROLE", "spare"}});

  ASSERT_TRUE(CreateRecord("CHECKIN", kPartDoc, link));

  const auto record = Records().at(0);
  EXPECT_EQ(DescriptionOf(record), "Checkin relation between: '\r\n and: 'D-1' of class: 'Doc'");
  EXPECT_EQ(LinkedEnds(record.ref.object_id),
            std::vector<std::string>{"200:" + std::to_string(doc)});
}

TEST_F(ElectronicRecordTest, UpdateOfRelationLinkHasTheTwoEndHeader) {
  const int32_t part = InsertPart("4711", "Bolt");
  const int32_t doc = Store().Insert("Doc", {{"DOC_NUMBER", "D-1"}});
  const int32_t link = Store().Link("Part_Doc", {kPart, part}, {kDoc, doc}, {{"ROLE", "spare"}});
  ASSERT_EQ(SaveOriginal(kPartDoc, link), -1);
  Store().Update({kPartDoc, link}, {{"ROLE", "main"}});

  ASSERT_TRUE(CreateRecord("UPDATE", kPartDoc, link));

  EXPECT_EQ(DescriptionOf(Records().at(0)),
            "Update relation between: '4711 A' class: 'Part'\r\n"
            "and: 'D-1' class: 'Doc'\r\n"
            "\r\nRole was: 'spare' is: 'main '\r\n");
}

TEST_F(ElectronicRecordTest, UpdateOfLinkWithMissingEndFailsAndStoresNothing) {
  const int32_t part = InsertPart("4711", "Bolt");
  const int32_t link = Store().Insert(
      "Part_Doc", {{"CLASS_ID1", int16_t{kPart}}, {"OBJECT_ID1", part}, {"ROLE", "spare"}});
  ASSERT_EQ(SaveOriginal(kPartDoc, link), -1);
  Store().Update({kPartDoc, link}, {{"ROLE", "main"}});

  try {
    CreateRecord("UPDATE", kPartDoc, link);
    FAIL() << "the missing end must fail the description";
  } catch (const RuntimeError& e) {
    EXPECT_EQ(e.Number(), err::kObjectVariableNotSet);
  }
  EXPECT_TRUE(Records().empty());
}

// GetAttDisplayValue on its own: it never fails.
class DisplayValueTest : public ElectronicRecordTest {
 protected:
  std::string Display(int32_t part, const std::string& attribute) {
    Ref<KvObject> object = Load(kPart, part);
    Ref<KvSession> session = Session();
    return record_.GetAttDisplayValue(session, object, attribute);
  }
  clsElectronicRecord record_;
};

TEST_F(DisplayValueTest, NothingAndUnknownAttributesDisplayAsEmpty) {
  Ref<KvObject> nothing;
  Ref<KvSession> session = Session();
  EXPECT_EQ(record_.GetAttDisplayValue(session, nothing, "TITLE"), "");
  EXPECT_EQ(Display(InsertPart("4711", "Bolt"), "NO_SUCH_ATTRIBUTE"), "");
}

TEST_F(DisplayValueTest, UnreadableLookupItemDisplaysAsDeleted) {
  const int32_t part = InsertPart("4711", "Bolt", {{"STATE", 1}});
  FailCall("KvObjectStore.GetLookupItemById");
  EXPECT_EQ(Display(part, "STATE"), "**DELETED**");
  EXPECT_EQ(Display(part, "STATE"), "New");
}

TEST_F(DisplayValueTest, UnreadableReferencedObjectDisplaysAsDeleted) {
  const int32_t part = InsertPart("4711", "Bolt", {{"OWNER", user_id_}});
  FailCall("KvObjectDisplay.GetText");
  EXPECT_EQ(Display(part, "OWNER"), "**DELETED**");
  EXPECT_EQ(Display(part, "OWNER"), "jdoe");
}

TEST_F(DisplayValueTest, FailureBeforeTheReadDisplaysAsEmpty) {
  const int32_t part = InsertPart("4711", "Bolt", {{"STATE", 1}});
  FailCall("KvClasses.ClassById");
  EXPECT_EQ(Display(part, "STATE"), "");
  FailCall("KvRecord.GetValue");
  EXPECT_EQ(Display(part, "TITLE"), "");
}

TEST_F(ElectronicRecordTest, PrimaryKeyByKindOfClass) {
  const int32_t part = InsertPart("4711", "Bolt");
  const int32_t doc = Store().Insert("Doc", {{"DOC_NUMBER", "D-1"}});
  const int32_t link = Store().Link("Part_Doc", {kPart, part}, {kDoc, doc});
  clsElectronicRecord record;
  Ref<KvObject> part_object = Load(kPart, part);
  Ref<KvObject> link_object = Load(kPartDoc, link);

  EXPECT_EQ(record.GetPrimaryKey(part_object), "4711 A");
  EXPECT_EQ(record.GetPrimaryKey(link_object), "From Class Part_Doc");
}

}  // namespace
}  // namespace vtx::records_test
