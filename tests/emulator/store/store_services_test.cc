#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <filesystem>
#include <functional>
#include <future>
#include <set>

#include "emulator/host_objects/emu_options.h"
#include "emulator/sql/database.h"
#include "emulator/store/call_transaction.h"
#include "emulator/store/object_table.h"
#include "emulator/store/store.h"
#include "store_fixture.h"
#include "support/temp_folder.h"

namespace vtx::emu {
namespace {

using testing::PlantModel;
using testing::StoreTest;

class ClassDictionaryTest : public StoreTest {
 protected:
  static std::vector<int16_t> Ids(const Ref<KvClassList>& list) {
    std::vector<int16_t> out;
    for (int32_t i = 0; i < list->GetCount(); ++i) out.push_back(list->Item(i)->GetClassId());
    return out;
  }
};

TEST_F(ClassDictionaryTest, ListsComeInAscendingId) {
  auto classes = NewClasses(*store_);
  EXPECT_EQ(Ids(classes->GetAllClasses()),
            (std::vector<int16_t>{100, 101, 150, 200, 250, 300, 400, 401, 900}));
  auto assembly = classes->ClassById(101);
  EXPECT_EQ(Ids(assembly->GetClassLinks()->GetAll()), (std::vector<int16_t>{150, 250, 300}));
  EXPECT_EQ(Ids(assembly->GetClassLinks()->GetTo(401)), (std::vector<int16_t>{300}));
  EXPECT_EQ(Ids(classes->ClassByName("History")->GetClassLinks()->GetTo(100)),
            (std::vector<int16_t>{300}));
  EXPECT_EQ(Ids(assembly->GetClassLinks()->GetTo(200)), (std::vector<int16_t>{250}));
  EXPECT_TRUE(Ids(classes->ClassById(200)->GetClassLinks()->GetTo(400)).empty());
}

TEST_F(ClassDictionaryTest, LookupsOfUnknownClassesGiveNothing) {
  auto classes = NewClasses(*store_);
  EXPECT_FALSE(classes->ClassById(999));
  EXPECT_FALSE(classes->ClassByName("part"));
  EXPECT_FALSE(classes->ClassByTableName("TN_NONE"));
  auto part = classes->ClassByTableName("tn_parts");
  ASSERT_TRUE(part);
  EXPECT_EQ(part->GetDefaultValue(), Variant("Part"));
  EXPECT_EQ(classes->ClassById(101)->GetHierarchyLinkClassId(), 150);
  EXPECT_EQ(classes->ClassById(101)->GetSuperClassId(), 100);
  EXPECT_EQ(classes->ClassById(150)->GetClassKind(), 6);
}

TEST_F(ClassDictionaryTest, AttributesByIndexOrName) {
  auto part = NewClasses(*store_)->ClassById(100);
  auto attributes = part->GetAttributes();
  EXPECT_EQ(attributes->Item(Variant(int16_t{4}))->GetName(), "PART_NUMBER");
  EXPECT_EQ(attributes->Item(Variant("part_number"))->GetExternalName(), "Part Number");
  EXPECT_EQ(part->AttributeByName("STATE", 0)->GetLookupClassId(), 900);
  EXPECT_TRUE(part->AttributeByName("NOTE", 0)->IsExcludedFromHistory());
  EXPECT_EQ(part->GetIdentifierAttributes()->Item(Variant(int16_t{1}))->GetName(), "REVISION");
  EXPECT_EQ(attributes->GetClass()->GetName(), "Part");
  for (const Variant& missing : {Variant(int16_t{99}), Variant(int16_t{-1}), Variant("NOPE")}) {
    try {
      attributes->Item(missing);
      ADD_FAILURE() << "found";
    } catch (const RuntimeError& e) {
      EXPECT_EQ(e.Number(), err::kSubscriptOutOfRange);
    }
  }
  EXPECT_THROW(part->AttributeByName("NOPE", 0), RuntimeError);
  EXPECT_FALSE(part->HasAttribute("NOPE"));
}

TEST_F(StoreTest, LookupItems) {
  auto table = os_->GetLookupTable(900);
  EXPECT_EQ(table->FindItem("Released")->GetId(), 2);
  EXPECT_EQ(table->FindItem("in work")->GetId(), 3) << "exact text";
  EXPECT_FALSE(table->FindItem("Obsolete"));
  EXPECT_EQ(os_->GetLookupItemById(900, 1)->GetText(), "In Work");
  EXPECT_FALSE(os_->GetLookupItemById(900, 42));
  EXPECT_EQ(os_->FindLookupItem(900, "In Work")->GetId(), 1);
  EXPECT_THROW(os_->GetLookupTable(999), RuntimeError);
}

TEST_F(StoreTest, SequencesAdvanceAndFormat) {
  auto part = NewClasses(*store_)->ClassById(101);
  auto sequence =
      os_->GetSequences()->GetSequenceOfAttribute(part->AttributeByName("PART_NUMBER", 0));
  ASSERT_TRUE(sequence) << "inherited from the top class";
  EXPECT_EQ(sequence->NextValue(), Variant("PN-01000"));
  EXPECT_EQ(os_->GetSequences()
                ->GetSequenceOfAttribute(
                    NewClasses(*store_)->ClassById(100)->AttributeByName("PART_NUMBER", 0))
                ->NextValue(),
            Variant("PN-01001"))
      << "one sequence, whichever class asks";
  EXPECT_FALSE(os_->GetSequences()->GetSequenceOfAttribute(part->AttributeByName("TITLE", 0)));
}

TEST_F(StoreTest, OptionsAreRecordedInOrderAndCopied) {
  auto options = os_->GetDefaultOptions()->Copy();
  options->SetMode(2);
  options->SetFlagA(false);
  options->SetModeC(2);
  auto copy = CastTo<EmuOptions>(Ref<Dispatch>(options->Copy()));
  EXPECT_EQ(copy->Settings(),
            (std::vector<EmuOptions::Setting>{{"SetMode", 2}, {"SetFlagA", 0}, {"SetModeC", 2}}));
  EXPECT_TRUE(CastTo<EmuOptions>(Ref<Dispatch>(os_->GetDefaultOptions()))->Settings().empty());
  EXPECT_EQ(os_->GetSession(), session_);
}

TEST_F(StoreTest, MonitorTracesAndFailsOperations) {
  store_->Monitor().SetTracing(true);
  const int32_t id = Part("1");  // host actions are neither traced nor counted
  EXPECT_TRUE(store_->Monitor().Trace().empty());
  store_->Monitor().AddFault(Fault{"KvObject.Insert", 2, -2147467259, "Store failed", false});
  auto first = os_->CreateObject(400);
  first->Insert(nullptr);
  auto second = os_->CreateObject(400);
  try {
    second->Insert(nullptr);
    FAIL() << "inserted";
  } catch (const RuntimeError& e) {
    EXPECT_EQ(e.Description(), "Store failed");
  }
  EXPECT_EQ(second->GetObjectId(), 0) << "nothing stored";
  EXPECT_EQ(store_->Dump("History").size(), 1u);
  second->Insert(nullptr);  // the fault was not persistent
  EXPECT_EQ(store_->Dump("History").size(), 2u);

  const auto trace = store_->Monitor().TakeTrace();
  std::vector<std::string> ops;
  for (const TraceEntry& e : trace) ops.push_back(e.op);
  EXPECT_EQ(ops, (std::vector<std::string>{"KvObjectStore.CreateObject", "KvObject.Insert",
                                           "KvObjectStore.CreateObject", "KvObject.Insert",
                                           "KvObject.GetObjectId", "KvObject.Insert"}));
  ASSERT_EQ(trace[0].args.size(), 1u);
  EXPECT_EQ(trace[0].args[0].value, Variant(int16_t{400}));
  EXPECT_EQ(store_->Monitor().CallCount("KvObject.Insert"), 3);
  (void)id;
}

TEST_F(StoreTest, AFailedDeleteLeavesEverythingInPlace) {
  const int32_t part = Part("1");
  const int32_t history = store_->Insert("History", {});
  store_->Link("Part_History", PartRef(part), ObjectRef{400, history});
  auto object = os_->GetObjectById(100, part);
  store_->Delete(PartRef(part));
  EXPECT_THROW(object->Delete(nullptr), RuntimeError) << "already gone";
  EXPECT_THROW(object->Update(), RuntimeError);
  EXPECT_THROW(object->Retrieve(), RuntimeError);
  EXPECT_EQ(store_->Dump("Part_History").size(), 0u);
  EXPECT_EQ(store_->Dump("History").size(), 1u);
}

// What an add-in call reads back of its own writes, and what it leaves to the
// next call: its rows are served from the call's memory, so every write and
// every rollback must reach that memory.
TEST_F(StoreTest, ACallReadsItsWritesAndLeavesOnlyWhatItCommitted) {
  const ClassDef& def = *store_->GetModel().ByName("Part");
  auto title = [&](int32_t id) {
    const auto row = store_->Objects().Read(def, id);
    return row ? (*row)[def.FindAttribute("TITLE")].ToString() : "missing";
  };
  auto found = [&](int32_t id) {
    CallTransaction next(*store_);
    return std::string(store_->Find("Part", id) ? "found" : "missing");
  };
  struct Case {
    const char* name;
    std::function<std::string()> run;
    const char* expected;
  };
  const Case cases[] = {
      {"an update read back in the call that made it",
       [&] {
         const int32_t id = Part("1", "A", {{"TITLE", "old"}});
         CallTransaction call(*store_);
         EXPECT_EQ(title(id), "old");
         store_->Update(PartRef(id), {{"TITLE", "new"}});
         return title(id);
       },
       "new"},
      {"an insert of an abandoned call",
       [&] {
         int32_t id = 0;
         {
           CallTransaction abandoned(*store_);
           id = Part("2");
           EXPECT_EQ(store_->Find("Part", id), PartRef(id));
         }
         return found(id);
       },
       "missing"},
      {"an object deleted in the call",
       [&] {
         const int32_t id = Part("4");
         CallTransaction call(*store_);
         EXPECT_TRUE(store_->Find("Part", id));
         store_->Delete(PartRef(id));
         return std::string(store_->Find("Part", id) ? "found" : "missing");
       },
       "missing"},
      {"an insert that failed, in the call that tried it",
       [&] {
         store_->Db()
             .Prepare(
                 "CREATE TRIGGER refuse BEFORE INSERT ON TN_PARTS WHEN NEW.TITLE = 'no' "
                 "BEGIN SELECT RAISE(ABORT, 'refused'); END")
             .Run();
         const int32_t next = Part("5") + 1;
         CallTransaction call(*store_);
         EXPECT_THROW(Part("6", "A", {{"TITLE", "no"}}), RuntimeError);
         return std::string(store_->Find("Part", next) ? "found" : "missing");
       },
       "missing"},
      {"an insert of an outer call abandoned after a nested call ended",
       [&] {
         int32_t id = 0;
         {
           CallTransaction outer(*store_);
           id = Part("3");
           CallTransaction(*store_).Commit();
         }
         return found(id);
       },
       "missing"},
  };
  for (const Case& c : cases) EXPECT_EQ(c.run(), c.expected) << c.name;
}

// Two writers insert into one file at the same time; every row and every id
// arrives, and no id is given twice. The writers are processes; Windows has
// no fork, so there they are threads with a connection each.
TEST(StoreProcessesTest, ConcurrentWritersLoseNothing) {
  const test::TempFolder folder("vtx_store_concurrent");
  const auto path = folder / "concurrent.db";
  Store::Open(path.string(), PlantModel());  // create the schema first
  constexpr int kPerProcess = 200;
  auto write = [&](int p) {
    try {
      auto store = Store::Open(path.string(), PlantModel());
      auto session = MakeRef<testing::FakeSession>();
      auto os = NewObjectStore(store, session);
      auto seq = os->GetSequences()->GetSequenceOfAttribute(
          NewClasses(*store)->ClassById(100)->AttributeByName("PART_NUMBER", 0));
      for (int i = 0; i < kPerProcess; ++i) {
        auto part = os->CreateObject(100);
        part->SetValue("PART_NUMBER", seq->NextValue());
        part->SetValue("TITLE", Variant("p" + std::to_string(p)));
        part->Insert(nullptr);
      }
      return true;
    } catch (...) {
      return false;
    }
  };
#ifdef _WIN32
  std::vector<std::future<bool>> writers;
  for (int p = 0; p < 2; ++p) writers.push_back(std::async(std::launch::async, write, p));
  for (std::future<bool>& writer : writers) EXPECT_TRUE(writer.get());
#else
  std::vector<pid_t> children;
  for (int p = 0; p < 2; ++p) {
    const pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) _exit(write(p) ? 0 : 1);
    children.push_back(pid);
  }
  for (pid_t pid : children) {
    int status = 0;
    waitpid(pid, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }
#endif
  auto store = Store::Open(path.string(), PlantModel());
  const auto dump = store->Dump("Part");
  ASSERT_EQ(dump.size(), 2u * kPerProcess);
  std::set<std::string> numbers;
  for (size_t i = 0; i < dump.size(); ++i) {
    if (i > 0) {
      EXPECT_LT(dump[i - 1].ref.object_id, dump[i].ref.object_id);
    }
    numbers.insert(dump[i].values[4].second.AsString());
  }
  EXPECT_EQ(numbers.size(), 2u * kPerProcess) << "no sequence number given twice";
}

// A call reads, another process commits, then the call writes: the write
// lock is taken afresh (a read snapshot cannot be upgraded once stale), the
// new id comes after the other process's, and the call now sees its rows.
TEST(StoreProcessesTest, ACallWritesAfterAnotherProcessCommittedSinceItsReads) {
  const test::TempFolder folder("vtx_store_snapshot");
  const auto path = folder / "snapshot.db";
  auto ours = Store::Open(path.string(), PlantModel());
  auto theirs = Store::Open(path.string(), PlantModel());
  const int32_t first = ours->Insert("Part", {{"TITLE", "first"}});
  const ClassDef& part = *ours->GetModel().ByName("Part");
  auto title = [&] {
    CallTransaction read(*ours);
    return (*ours->Objects().Read(part, first))[part.FindAttribute("TITLE")].ToString();
  };
  CallTransaction call(*ours);
  ASSERT_EQ(title(), "first");
  const int32_t other = theirs->Insert("Part", {{"TITLE", "theirs"}});
  theirs->Update({part.id, first}, {{"TITLE", "changed"}});
  EXPECT_GT(ours->Insert("Part", {{"TITLE", "ours"}}), other);
  EXPECT_TRUE(ours->Find("Part", other));
  EXPECT_EQ(title(), "changed") << "the row read before the lock was taken";
  call.Commit();
  EXPECT_EQ(theirs->Dump("Part").size(), 3u);
  // A row kept from an earlier call is not served once another process changed it.
  EXPECT_EQ(title(), "changed");
  theirs->Update({part.id, first}, {{"TITLE", "again"}});
  EXPECT_EQ(title(), "again");
  // A call that decides what it writes from what it reads locks at once.
  theirs->Db().Prepare("PRAGMA busy_timeout = 0").Step();
  CallTransaction locked(*ours, true);
  EXPECT_THROW(theirs->Insert("Part", {}), RuntimeError);
}

}  // namespace
}  // namespace vtx::emu
