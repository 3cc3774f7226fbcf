#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <tuple>

#include "emulator/host_objects/emu_record.h"
#include "emulator/store/store.h"
#include "store_fixture.h"

namespace vtx::emu {
namespace {

using testing::IdsOf;
using testing::StoreTest;

class RecordListTest : public StoreTest {
 protected:
  // Rows of (NAME, TAB, ORDER).
  Ref<KvRecordList> Rows(const std::vector<std::tuple<const char*, int32_t, Variant>>& rows) {
    auto list = NewRecordList(*store_);
    list->AddColumn("NAME", 40, 1);
    list->AddColumn("TAB", 0, 3);
    list->AddColumn("ORDER", 0, 3);
    for (size_t i = 0; i < rows.size(); ++i) {
      const auto r = static_cast<int32_t>(i);
      list->SetValue("NAME", r, Variant(std::get<0>(rows[i])));
      list->SetValue("TAB", r, Variant(std::get<1>(rows[i])));
      list->SetValue("ORDER", r, std::get<2>(rows[i]));
    }
    return list;
  }
  Ref<KvRecordList> SortKeys(const std::vector<std::pair<const char*, bool>>& keys) {
    auto keys_list = NewRecordList(*store_);
    keys_list->AddColumn("COL_NAME", 256, 1);
    keys_list->AddColumn("TDM_DIRECTION", 4, 15);
    for (size_t i = 0; i < keys.size(); ++i) {
      keys_list->SetValue("COL_NAME", static_cast<int32_t>(i), Variant(keys[i].first));
      keys_list->SetBooleanValue("TDM_DIRECTION", static_cast<int32_t>(i), keys[i].second);
    }
    return keys_list;
  }
  static std::string Names(const Ref<KvRecordList>& list) {
    std::string out;
    for (int32_t r = 0; r < list->GetRecordCount(); ++r) out += list->GetStringValue("NAME", r);
    return out;
  }
};

TEST_F(RecordListTest, SortsByTheSortListRowsStably) {
  struct Case {
    const char* name;
    std::vector<std::pair<const char*, bool>> keys;
    int32_t count;
    const char* expected;
  };
  const Case cases[] = {
      {"TabThenOrder", {{"TAB", true}, {"ORDER", true}}, 5, "ebdac"},
      {"TabDescending", {{"TAB", false}}, 5, "cabde"},
      {"StableOnEqualKeys", {{"TAB", true}}, 5, "abdec"},
      {"NullsFirst", {{"ORDER", true}}, 5, "ebdac"},
      {"OnlyTheFirstRows", {{"ORDER", true}}, 2, "bacde"},
      {"NoKeys", {}, 5, "abcde"},
  };
  for (const Case& c : cases) {
    auto list = Rows({{"a", 1, Variant(int32_t{3})},
                      {"b", 1, Variant(int32_t{1})},
                      {"c", 2, Variant(int32_t{9})},
                      {"d", 1, Variant(int32_t{2})},
                      {"e", 1, Variant::Null()}});
    list->Sort(SortKeys(c.keys), c.count, 0);
    EXPECT_EQ(Names(list), c.expected) << c.name;
  }
  auto texts = Rows({{"b", 0, Variant("B")}, {"a", 0, Variant("a")}, {"c", 0, Variant(2)}});
  texts->Sort(SortKeys({{"ORDER", true}}), 3, 0);
  EXPECT_EQ(Names(texts), "cba") << "numbers before texts, texts binary";
  EXPECT_THROW(texts->Sort(SortKeys({{"NOPE", true}}), 3, 0), RuntimeError);
}

TEST_F(RecordListTest, RowsGrowOnlyAtTheEnd) {
  auto list = NewRecordList(*store_);
  list->AddColumn("A", 0, 1);
  list->SetValue("A", 0, Variant("x"));
  EXPECT_EQ(list->GetRecordCount(), 1);
  struct Bad {
    const char* name;
    std::function<void()> call;
  };
  const Bad bad[] = {
      {"WriteBeyondNextRow", [&] { list->SetValue("A", 2, Variant("y")); }},
      {"WriteUnknownColumn", [&] { list->SetValue("B", 0, Variant("y")); }},
      {"ReadUnknownColumn", [&] { list->GetValue("B", 0); }},
      {"ReadRowOutOfRange", [&] { list->GetValue("A", 1); }},
      {"ReadNegativeRow", [&] { list->GetValue("A", -1); }},
      {"RecordOutOfRange", [&] { list->GetRecord(1); }},
      {"ColumnIndexOutOfRange", [&] { list->GetValueAt(1, 0); }},
  };
  for (const Bad& b : bad) {
    try {
      b.call();
      ADD_FAILURE() << b.name << " accepted";
    } catch (const RuntimeError& e) {
      EXPECT_EQ(e.Number(), err::kSubscriptOutOfRange) << b.name;
    }
  }
  EXPECT_EQ(list->HasGuiSelection(), 0);
  EXPECT_EQ(list->GetValue("a", 0), Variant("x")) << "column names ignore case";
}

TEST_F(RecordListTest, FindRecordMatchesEveryColumnOfTheRecord) {
  auto list = Rows({{"a", 1, Variant(int32_t{3})},
                    {"b", 2, Variant(int32_t{3})},
                    {"b", 2, Variant(int32_t{4})}});
  struct Case {
    Values values;
    int32_t expected;
  };
  const Case cases[] = {
      {{{"NAME", Variant("b")}}, 1},       {{{"NAME", Variant("b")}, {"ORDER", Variant(4.0)}}, 2},
      {{{"TAB", Variant(int16_t{1})}}, 0}, {{{"NAME", Variant("B")}}, -1},
      {{{"COLOUR", Variant("b")}}, -1},
  };
  for (const Case& c : cases) {
    auto record = MakeRef<EmuRecord>(store_->SharedMonitor());
    for (const auto& [name, value] : c.values) record->SetValue(name, value);
    EXPECT_EQ(list->FindRecord(record), c.expected) << c.values.front().first;
  }
}

TEST_F(RecordListTest, RecordsAreCopiesOfTheirRow) {
  auto list = Rows({{"a", 1, Variant(int32_t{3})}});
  auto record = list->GetRecord(0);
  record->SetValue("NAME", Variant("changed"));
  record->SetValue("EXTRA", Variant(1));
  EXPECT_EQ(list->GetValue("NAME", 0), Variant("a"));
  EXPECT_TRUE(record->GetHeader()->HasColumn("extra"));
  EXPECT_EQ(record->GetHeader()->GetCount(), 4);
  EXPECT_THROW(record->GetValue("MISSING"), RuntimeError);
}

class CollectionTest : public StoreTest {};

TEST_F(CollectionTest, CopiesAreIndependent) {
  auto objects = os_->CreateObjects();
  const int32_t a = Part("a"), b = Part("b");
  objects->Add(os_->GetObjectById(100, a));
  auto copy = objects->GetCopy();
  copy->Add(os_->GetObjectById(100, b));
  EXPECT_EQ(IdsOf(objects), (std::vector<int32_t>{a}));
  EXPECT_EQ(IdsOf(copy), (std::vector<int32_t>{a, b}));
  objects->Clear();
  EXPECT_EQ(copy->GetCount(), 2);
  EXPECT_THROW(copy->Item(2), RuntimeError);
}

TEST_F(CollectionTest, IndexOfComparesStoredIdentity) {
  const int32_t a = Part("a"), b = Part("b");
  auto objects = os_->CreateObjects();
  objects->Add(os_->GetObjectById(100, a));
  objects->Add(os_->GetObjectById(100, b));
  objects->Add(os_->GetObjectById(100, a));
  EXPECT_EQ(objects->IndexOf(os_->GetObjectById(100, b)->NewInstance()), 1);
  EXPECT_EQ(objects->IndexOf(os_->GetObjectById(100, a)), 0);
  auto fresh = os_->CreateObject(100);
  EXPECT_EQ(objects->IndexOf(fresh), -1);
  objects->Add(fresh);
  EXPECT_EQ(objects->IndexOf(fresh), 3);
  EXPECT_EQ(objects->IndexOf(os_->CreateObject(100)), -1) << "another new object";
  fresh->SetValue("PART_NUMBER", Variant("f"));
  fresh->Insert(nullptr);
  EXPECT_EQ(objects->IndexOf(os_->GetObjectById(100, fresh->GetObjectId())), 3) << "stored later";
  objects->Add(os_->GetObjectById(100, Part("c")));
  EXPECT_EQ(objects->IndexOf(objects->Item(4)->NewInstance()), 4) << "added after indexing";
}

TEST_F(CollectionTest, RetrieveAllReadsTheNamedAttributes) {
  const int32_t a = Part("a", "A", {{"TITLE", Variant("ta")}, {"QTY", Variant(1)}});
  const int32_t b =
      store_->Insert("Assembly", {{"PART_NUMBER", Variant("b")}, {"TITLE", Variant("tb")}});
  auto objects = os_->CreateObjects();
  objects->Add(os_->GetObjectById(100, a)->NewInstance());
  objects->Add(os_->GetObjectById(101, b)->NewInstance());
  objects->SetAttributesToRead("PART_NUMBER;TITLE");
  objects->RetrieveAll();
  EXPECT_EQ(objects->Item(0)->GetValue("TITLE"), Variant("ta"));
  EXPECT_EQ(objects->Item(1)->GetValue("PART_NUMBER"), Variant("b"));
  EXPECT_TRUE(objects->Item(0)->GetValue("QTY").IsEmpty()) << "not asked for";

  auto rows = objects->GetRecordList();
  ASSERT_EQ(rows->GetColumnCount(), 4);
  EXPECT_EQ(rows->GetColumnName(2), "PART_NUMBER");
  EXPECT_EQ(rows->GetValue("CLASS_ID", 1), Variant(int16_t{101}));

  objects->SetAttributesToRead("PART_NUMBER;NOPE");
  EXPECT_THROW(objects->RetrieveAll(), RuntimeError);
}

TEST_F(CollectionTest, RecordListFollowsChangesOfTheObjects) {
  const int32_t a = Part("a");
  auto objects = os_->CreateObjects();
  auto object = os_->GetObjectById(100, a);
  objects->Add(object);
  EXPECT_EQ(objects->GetRecordList()->GetValue("TITLE", 0).IsNull(), true);
  object->SetValue("TITLE", Variant("new"));
  EXPECT_EQ(objects->GetRecordList()->GetValue("TITLE", 0), Variant("new"));
}

TEST_F(CollectionTest, RepeatedCopiesOfALargeCollectionStayCheap) {
  const int kObjects = 10000;
  std::vector<int32_t> ids;
  for (int i = 0; i < kObjects; ++i)
    ids.push_back(store_->Insert("History", {{"CN_TEXT", Variant("h" + std::to_string(i))}}));
  const int32_t part = Part("p");
  for (int32_t id : ids) store_->Link("Part_History", PartRef(part), ObjectRef{400, id});

  auto q = os_->NewQuery();
  q->GetQueryClasses()->AddClass(400, "S");
  const auto start = std::chrono::steady_clock::now();
  auto history = os_->GetObjectById(100, part)->GetRelatedObjects(q);
  ASSERT_EQ(history->GetCount(), kObjects);
  // What a viewer does once per history object.
  Ref<KvObjects> last;
  for (int i = 0; i < kObjects; ++i)
    last = os_->ObjectsFromRecords(history->GetCopy()->GetRecordList(), false);
  EXPECT_EQ(last->GetCount(), kObjects);
  EXPECT_EQ(last->Item(kObjects - 1)->GetValue("CN_TEXT"), Variant("h9999"));
  const auto seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  EXPECT_LT(seconds, 20.0);
}

}  // namespace
}  // namespace vtx::emu
