#include <gtest/gtest.h>

#include "emulator/host_objects/emu_record.h"
#include "emulator/sql/database.h"
#include "emulator/store/store.h"
#include "store_fixture.h"
#include "support/case_name.h"

namespace vtx::emu {
namespace {

using testing::IdsOf;
using testing::StoreTest;

class ObjectTest : public StoreTest {};

TEST_F(ObjectTest, InsertStampsAndReadsBack) {
  auto part = os_->CreateObject(100);
  part->PrepareNew();
  part->SetValue("PART_NUMBER", Variant("4711"));
  EXPECT_TRUE(part->GetValue("TITLE").IsEmpty()) << "nothing wrote it yet";
  part->Insert(os_->GetDefaultOptions());
  const int32_t id = part->GetObjectId();
  EXPECT_GT(id, 0);
  EXPECT_TRUE(part->GetValue("TITLE").IsNull()) << "stored without a value";

  auto again = os_->GetObjectById(100, id);
  EXPECT_EQ(again->GetValue("PART_NUMBER"), Variant("4711"));
  EXPECT_TRUE(again->GetValue("REVISION").IsNull());
  EXPECT_EQ(again->GetValue("KV_CREATED_BY"), Variant(int32_t{7}));
  EXPECT_EQ(again->GetValue("KV_CREATED_AT"), Variant::Date(Clock()));
  EXPECT_EQ(again->GetValue("CLASS_ID"), Variant(int16_t{100}));
  EXPECT_EQ(again->GetAttributeCount(), 14);
}

// A text longer than its attribute's length (UTF-16 units) fails the store
// operation, as a database column refuses it, and nothing is written.
TEST_F(ObjectTest, TextsLongerThanTheirAttributeAreRefusedAndNothingIsWritten) {
  auto part = os_->CreateObject(100);
  part->SetValue("PART_NUMBER", Variant(std::string(41, 'x')));
  try {
    part->Insert(nullptr);
    ADD_FAILURE() << "41 characters stored in 40";
  } catch (const RuntimeError& e) {
    EXPECT_EQ(e.Number(), err::kHostFailure);
    EXPECT_EQ(e.Description(),
              "The value of PART_NUMBER in Part is 41 characters long; the attribute holds 40");
  }
  EXPECT_TRUE(store_->Dump("Part").empty());
  part->SetValue("PART_NUMBER", Variant(std::string(40, 'x')));
  part->SetValue("REVISION", Variant("\u00c4\u00d6\u00dc\u00df"));  // 4 characters in 8 bytes
  part->Insert(nullptr);
  const int32_t id = part->GetObjectId();
  part->SetValue("REVISION", Variant("ABCDE"));
  EXPECT_THROW(part->Update(), RuntimeError);
  EXPECT_THROW(store_->Update(PartRef(id), {{"REVISION", Variant("ABCDE")}}), RuntimeError);
  EXPECT_EQ(os_->GetObjectById(100, id)->GetValue("REVISION"), Variant("\u00c4\u00d6\u00dc\u00df"));
}

struct Conversion {
  const char* name;
  const char* attribute;
  Variant written;
  Variant read;  // Empty: the write fails with `error`
  int32_t error;
};
VTX_PRINT_CASE_BY_NAME(Conversion)

class ConversionTest : public StoreTest, public ::testing::WithParamInterface<Conversion> {};

TEST_P(ConversionTest, WritesConvertAsAutomationDoes) {
  const Conversion& c = GetParam();
  auto part = os_->CreateObject(100);
  if (c.read.IsEmpty()) {
    try {
      part->SetValue(c.attribute, c.written);
      FAIL() << "accepted";
    } catch (const RuntimeError& e) {
      EXPECT_EQ(e.Number(), c.error);
    }
    return;
  }
  part->SetValue(c.attribute, c.written);
  EXPECT_EQ(part->GetValue(c.attribute), c.read);
  part->Insert(nullptr);
  EXPECT_EQ(os_->GetObjectById(100, part->GetObjectId())->GetValue(c.attribute), c.read)
      << "the stored value reads back in the attribute's type";
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ConversionTest,
    ::testing::Values(
        Conversion{"TextToLong", "QTY", Variant("7"), Variant(int32_t{7}), 0},
        Conversion{"DoubleToLongRoundsToEven", "QTY", Variant(2.5), Variant(int32_t{2}), 0},
        Conversion{"BoolToShort", "SHORT_QTY", Variant(true), Variant(int16_t{-1}), 0},
        Conversion{"ShortOverflows", "SHORT_QTY", Variant(int32_t{70000}), Variant(), 6},
        Conversion{"TextNotANumber", "QTY", Variant("7a"), Variant(), 13},
        Conversion{"NumberToText", "TITLE", Variant(1.5), Variant("1.5"), 0},
        Conversion{"TextToDouble", "WEIGHT", Variant("2.25"), Variant(2.25), 0},
        Conversion{"TextToBoolean", "FLAG", Variant("True"), Variant(true), 0},
        Conversion{"NumberToBoolean", "FLAG", Variant(int32_t{0}), Variant(false), 0},
        Conversion{"DoubleToDate", "DUE", Variant(46361.5), Variant::Date(46361.5), 0},
        Conversion{"TextToReference", "STATE", Variant("2"), Variant(int32_t{2}), 0},
        Conversion{"NullStaysNull", "QTY", Variant::Null(), Variant::Null(), 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ObjectTest, DataRecordIsTheObject) {
  auto part = os_->CreateObject(100);
  auto data = part->GetData();
  data->SetLongValue("QTY", 3);
  data->SetStringValue("SHORT_QTY", "12");
  EXPECT_EQ(part->GetValue("QTY"), Variant(int32_t{3}));
  EXPECT_EQ(part->GetValue("SHORT_QTY"), Variant(int16_t{12}));
  EXPECT_THROW(data->SetValue("COLOUR", Variant("red")), RuntimeError);
  EXPECT_THROW(part->GetValue("COLOUR"), RuntimeError);
}

TEST_F(ObjectTest, AnInstanceKeepsWhatItReadUntilItReadsAgain) {
  const int32_t id = Part("1", "A", {{"TITLE", Variant("Bolt")}});
  auto first = os_->GetObjectById(100, id);
  auto second = os_->GetObjectById(100, id);
  second->SetValue("TITLE", Variant("Screw"));
  second->Update();
  EXPECT_EQ(first->GetValue("TITLE"), Variant("Bolt"));
  first->Refresh();
  EXPECT_EQ(first->GetValue("TITLE"), Variant("Screw"));

  // An update stores only what this instance changed.
  first->SetValue("QTY", Variant(int32_t{5}));
  store_->Update(PartRef(id), {{"TITLE", Variant("Nut")}});
  first->Update();
  auto fresh = os_->GetObjectById(100, id);
  EXPECT_EQ(fresh->GetValue("TITLE"), Variant("Nut"));
  EXPECT_EQ(fresh->GetValue("QTY"), Variant(int32_t{5}));
}

TEST_F(ObjectTest, NewInstanceHoldsOnlyItsIdsUntilRetrieve) {
  const int32_t id = Part("1", "A", {{"TITLE", Variant("Bolt")}});
  auto stored = os_->GetObjectById(100, id);
  auto copy = stored->NewInstance();
  EXPECT_EQ(copy->GetObjectId(), id);
  EXPECT_EQ(copy->GetValue("OBJECT_ID"), Variant(id));
  EXPECT_TRUE(copy->GetValue("TITLE").IsEmpty());
  copy->PrepareNew();
  copy->Retrieve();
  EXPECT_EQ(copy->GetValue("TITLE"), Variant("Bolt"));
  EXPECT_EQ(copy->GetKeyText("/"), "1/A");
}

TEST_F(ObjectTest, DefaultsFillOnlyEmptyAttributes) {
  auto part = os_->CreateObject(101);
  part->PrepareNew();
  part->SetValue("TITLE", Variant("given"));
  EXPECT_TRUE(part->ApplyClassDefaults());
  EXPECT_EQ(part->GetValue("TITLE"), Variant("given"));
  EXPECT_EQ(part->GetValue("STATE"), Variant(int32_t{1}));
  auto other = os_->CreateObject(100);
  other->PrepareNew();
  other->CompleteNew();
  EXPECT_EQ(other->GetValue("TITLE"), Variant("untitled"));
}

TEST_F(ObjectTest, IdsAreNeverReused) {
  const int32_t a = Part("1");
  const int32_t b = Part("2");
  store_->Delete(PartRef(b));
  const int32_t c = Part("3");
  EXPECT_GT(c, b);
  EXPECT_EQ(store_->Insert("Project", {{"NAME", Variant("P")}}, 500), 500);
  EXPECT_GT(Part("4"), 500);
  EXPECT_THROW(store_->Insert("Project", {}, a), RuntimeError) << "an id already held";
}

// Within one write transaction the highest id is remembered, not read again:
// a given id and a link's end (which need not be an object) must raise it.
TEST_F(ObjectTest, IdsStayAboveEveryIdHeldWithinOneTransaction) {
  Database::Transaction tx(store_->Db());
  const int32_t part = Part("1");
  EXPECT_EQ(store_->Insert("Project", {{"NAME", Variant("P")}}, 900), 900);
  EXPECT_GT(Part("2"), 900);
  store_->Insert("Part_History", {{"OBJECT_ID1", Variant(part)},
                                  {"CLASS_ID1", Variant(int16_t{100})},
                                  {"OBJECT_ID2", Variant(int32_t{5000})},
                                  {"CLASS_ID2", Variant(int16_t{400})}});
  EXPECT_GT(Part("3"), 5000);
  tx.Commit();
}

TEST_F(ObjectTest, DeleteTakesItsLinksAlong) {
  const int32_t parent = Part("P");
  const int32_t child = Part("C");
  const int32_t other = Part("O");
  const int32_t history = store_->Insert("History", {{"CN_TEXT", Variant("h")}});
  const int32_t tree = store_->Link("Part_Tree", PartRef(parent), PartRef(child));
  const int32_t keep = store_->Link("Part_Tree", PartRef(parent), PartRef(other));
  const int32_t to_history = store_->Link("Part_History", PartRef(child), ObjectRef{400, history});
  // A link attached to a link goes with it.
  const int32_t on_link =
      store_->Link("Part_History", ObjectRef{150, tree}, ObjectRef{400, history});

  os_->GetObjectById(100, child)->Delete(nullptr);
  for (int32_t gone : {child, tree, to_history, on_link})
    EXPECT_FALSE(store_->Find("Part_Tree", gone) || store_->Find("Part", gone) ||
                 store_->Find("Part_History", gone))
        << gone;
  EXPECT_TRUE(store_->Find("Part_Tree", keep));
  EXPECT_TRUE(store_->Find("History", history));
  EXPECT_THROW(os_->GetObjectById(100, child), RuntimeError);
}

TEST_F(ObjectTest, LinksJoinObjectsThatFitTheirEnds) {
  const int32_t project = store_->Insert("Project", {{"NAME", Variant("P")}});
  const int32_t part = Part("1");
  auto p = os_->GetObjectById(200, project);
  auto link = p->CreateLink(250, os_->GetObjectById(100, part));
  EXPECT_EQ(link->GetObjectId(), 0) << "not stored yet";
  EXPECT_EQ(link->GetValue("CLASS_ID1"), Variant(int16_t{200}));
  EXPECT_EQ(link->GetValue("OBJECT_ID2"), Variant(part));
  link->Insert(nullptr);
  // A relation link may be made from either end; the order is the caller's.
  auto back = os_->GetObjectById(100, part)->CreateLink(250, p);
  EXPECT_EQ(back->GetValue("OBJECT_ID1"), Variant(part));
  EXPECT_THROW(p->CreateLink(300, os_->GetObjectById(100, part)), RuntimeError)
      << "Part_History does not join projects";
  EXPECT_THROW(p->CreateLink(100, os_->GetObjectById(100, part)), RuntimeError)
      << "not a link class";
}

TEST_F(ObjectTest, LinkToHangsTheObjectUnderItsFather) {
  const int32_t father = Part("F");
  const int32_t son = Part("S");
  auto record = MakeRef<EmuRecord>(store_->SharedMonitor());
  record->SetValue("TDMX_ORDERING", Variant(int32_t{3}));
  auto link =
      os_->GetObjectById(100, son)->LinkTo(0, os_->GetObjectById(100, father), record, nullptr);
  EXPECT_GT(link->GetObjectId(), 0);
  EXPECT_EQ(link->GetClassId(), 150);
  EXPECT_EQ(link->GetValue("PAR_OBJECT_ID"), Variant(father));
  EXPECT_EQ(link->GetValue("SON_OBJECT_ID"), Variant(son));
  EXPECT_EQ(os_->GetObjectById(150, link->GetObjectId())->GetValue("TDMX_ORDERING"),
            Variant(int32_t{3}));
  auto project = os_->GetObjectById(200, store_->Insert("Project", {{"NAME", Variant("P")}}));
  EXPECT_THROW(project->LinkTo(0, os_->GetObjectById(100, father), nullptr, nullptr), RuntimeError)
      << "projects have no hierarchy link class";
}

class RelatedTest : public StoreTest {
 protected:
  Ref<KvQuery> HistoryQuery(int16_t link_class = 300) {
    auto q = os_->NewQuery();
    q->GetQueryClasses()->AddClass(100, "F");
    q->GetQueryClasses()->AddClass(400, "S");
    if (link_class) q->GetQueryClasses()->AddClass(link_class, "L");
    return q;
  }
};

TEST_F(RelatedTest, RelatedObjectsAscendAndNeverNothing) {
  const int32_t part = Part("1");
  auto none = os_->GetObjectById(100, part)->GetRelatedObjects(HistoryQuery());
  ASSERT_TRUE(none);
  EXPECT_EQ(none->GetCount(), 0);

  const int32_t h1 = store_->Insert("Electronic Record", {{"CN_TEXT", Variant("late")}});
  const int32_t h2 = store_->Insert("History", {{"CN_TEXT", Variant("early")}});
  store_->Link("Part_History", PartRef(part), ObjectRef{400, h2});
  store_->Link("Part_History", PartRef(part), ObjectRef{401, h1});
  store_->Link("Part_History", PartRef(part), ObjectRef{401, h1});  // twice: listed once
  const int32_t unrelated = store_->Insert("History", {});
  (void)unrelated;

  auto related = os_->GetObjectById(100, part)->GetRelatedObjects(HistoryQuery());
  EXPECT_EQ(IdsOf(related), (std::vector<int32_t>{h1, h2}));
  EXPECT_EQ(related->Item(0)->GetClassId(), 401);
  EXPECT_EQ(related->Item(1)->GetValue("CN_TEXT"), Variant("early"));
}

TEST_F(RelatedTest, RelatedObjectsFollowTheLinkClassOrAnyWithoutOne) {
  const int32_t project = store_->Insert("Project", {{"NAME", Variant("P")}});
  const int32_t p1 = Part("1"), p2 = Part("2"), p3 = Part("3");
  store_->Link("Project_Part", ObjectRef{200, project}, PartRef(p2));
  store_->Link("Part_Tree", PartRef(p2), PartRef(p3));
  store_->Link("Part_Tree", PartRef(p1), PartRef(p2));

  auto q = os_->NewQuery();
  q->GetQueryClasses()->AddClass(100, "S");
  // Seen from the part: its project is not a part, its son is, its father is not (composition
  // links relate parents to sons only).
  EXPECT_EQ(IdsOf(os_->GetObjectById(100, p2)->GetRelatedObjects(q)), (std::vector<int32_t>{p3}));
  auto from_project = os_->NewQuery();
  from_project->GetQueryClasses()->AddClass(100, "S");
  from_project->GetQueryClasses()->AddClass(250, "L");
  EXPECT_EQ(IdsOf(os_->GetObjectById(200, project)->GetRelatedObjects(from_project)),
            (std::vector<int32_t>{p2}));
  // Relation links work both ways.
  auto to_project = os_->NewQuery();
  to_project->GetQueryClasses()->AddClass(200, "S");
  EXPECT_EQ(IdsOf(os_->GetObjectById(100, p2)->GetRelatedObjects(to_project)),
            (std::vector<int32_t>{project}));

  EXPECT_EQ(IdsOf(os_->GetObjectById(100, p2)->GetLinkedObjects(nullptr, nullptr)),
            (std::vector<int32_t>{project, p1, p3}));
  EXPECT_EQ(os_->GetObjectById(100, Part("lonely"))->GetLinkedObjects(nullptr, nullptr)->GetCount(),
            0);
}

TEST_F(RelatedTest, OnDesktopMeansRelatedAndInNobodysTree) {
  const int32_t project = store_->Insert("Project", {{"NAME", Variant("P")}});
  const int32_t top = Part("top"), inner = Part("inner"), loose = Part("loose");
  store_->Link("Project_Part", ObjectRef{200, project}, PartRef(top));
  store_->Link("Project_Part", ObjectRef{200, project}, PartRef(inner));
  store_->Link("Part_Tree", PartRef(top), PartRef(inner));
  EXPECT_TRUE(os_->GetObjectById(100, top)->IsOnDesktop());
  EXPECT_FALSE(os_->GetObjectById(100, inner)->IsOnDesktop());
  EXPECT_FALSE(os_->GetObjectById(100, loose)->IsOnDesktop());
}

TEST_F(ObjectTest, DisplayAndKeyText) {
  const int32_t id = Part("4711", "B");
  EXPECT_EQ(os_->GetObjectDisplay(100, id, 0)->GetText(0), "4711 B");
  EXPECT_EQ(os_->GetObjectById(100, id)->GetKeyText("-"), "4711-B");
  EXPECT_THROW(os_->GetObjectDisplay(100, id + 100, 0), RuntimeError);
  EXPECT_THROW(os_->GetObjectById(200, id), RuntimeError) << "not a project";
  EXPECT_EQ(store_->FindByKey("Part", "4711 B"), (ObjectRef{100, id}));
  EXPECT_FALSE(store_->FindByKey("Part", "4711"));
}

TEST_F(ObjectTest, DumpListsTheFamilyByObjectId) {
  const int32_t a = store_->Insert("Assembly", {{"LEVEL", Variant(int32_t{2})}});
  const int32_t p = Part("1");
  const auto dump = store_->Dump("Part");
  ASSERT_EQ(dump.size(), 2u);
  EXPECT_EQ(dump[0].ref, (ObjectRef{101, a}));
  EXPECT_EQ(dump[0].class_name, "Assembly");
  EXPECT_EQ(dump[0].values.back().first, "LEVEL");
  EXPECT_EQ(dump[0].values.back().second, Variant(int16_t{2}));
  EXPECT_EQ(dump[1].ref, (ObjectRef{100, p}));
  EXPECT_TRUE(dump[1].values[6].second.IsNull());
  EXPECT_EQ(store_->Dump("Assembly").size(), 1u);
}

}  // namespace
}  // namespace vtx::emu
