// Every kind of change an attacker who can write the database may make, each
// applied to a copy of one database, with `vtx verify`'s verdict without an
// anchor and against a checkpoint taken before the change. The attacker
// computes digests and hashes again with the store's own functions wherever
// that would hide the change. On SQLite, and on PostgreSQL when
// VTX_TEST_PG_CLUSTER names a running cluster (its socket folder).
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <libpq-fe.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <iostream>
#include <sstream>

#include <fmt/format.h>

#include "cli/audit_database.h"
#include "cli/checkpoint_command.h"
#include "cli/db_commands.h"
#include "cli/demo_command.h"
#include "cli/verify_command.h"
#include "emulator/sql/database.h"
#include "emulator/store/ledger.h"
#include "support/temp_folder.h"

namespace vtx::cli {
namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;

// Whoever can write the database, without the host.
class Attacker {
 public:
  explicit Attacker(const std::string& database)
      : store_(OpenAuditDatabase(database, emu::OpenMode::kWrite)), db_(store_->Db()) {}

  void Sql(const std::string& sql) { db_.Exec(sql); }
  int32_t Id(const std::string& sql) {
    emu::Statement s = db_.Prepare(sql);
    return s.Step() ? static_cast<int32_t>(s.Int(0)) : 0;
  }
  double Real(const std::string& sql) {
    emu::Statement s = db_.Prepare(sql);
    return s.Step() ? s.Real(0) : 0;
  }
  std::vector<emu::LedgerEntry> Entries() { return emu::ReadLedger(db_); }
  // Removes an object's row as SQL does, without the host's ledger.
  void RemoveIfStored(int32_t id) {
    const auto class_id = store_->Objects().ClassOf(id);
    if (!class_id) return;
    Sql(fmt::format("DELETE FROM {} WHERE OBJECT_ID = {}",
                    store_->GetModel().ById(*class_id)->table, id));
    Sql(fmt::format("DELETE FROM KV_OBJECTS WHERE OBJECT_ID = {}", id));
  }
  // A history link between a record and another object, without the host.
  int32_t AddLink(int32_t record, int32_t other, int16_t other_class) {
    const int32_t id = Id("SELECT max(OBJECT_ID) + 1 FROM KV_OBJECTS");
    Sql(fmt::format("INSERT INTO KV_OBJECTS (OBJECT_ID, CLASS_ID) VALUES ({}, 300)", id));
    Sql(fmt::format(
        "INSERT INTO TN_PART_HISTORY (OBJECT_ID, CLASS_ID, KV_CREATED_AT, KV_CREATED_BY, "
        "CLASS_ID1, OBJECT_ID1, CLASS_ID2, OBJECT_ID2) VALUES ({}, 300, {}, 1, 410, {}, {}, {})",
        id, Now(), record, other_class, other));
    return id;
  }
  // A record copied from `model` under a new id, dated `stamp`.
  int32_t CopyRecord(int32_t model, double stamp) {
    const int32_t id = Id("SELECT max(OBJECT_ID) + 1 FROM KV_OBJECTS");
    Sql(fmt::format("INSERT INTO KV_OBJECTS (OBJECT_ID, CLASS_ID) VALUES ({}, 410)", id));
    Sql(fmt::format(
        "INSERT INTO TN_ELECTRONIC_RECORD (OBJECT_ID, CLASS_ID, KV_CREATED_AT, KV_CREATED_BY, "
        "CN_USER_ID, CN_USER_NAME, CN_MACHINE_NAME, CN_USER_NT_ID, CN_OBJECT_ID, CN_CLASS_ID, "
        "CN_HOOK_OPERATION, CN_DESCRIPTION) SELECT {}, CLASS_ID, {}, KV_CREATED_BY, CN_USER_ID, "
        "CN_USER_NAME, CN_MACHINE_NAME, CN_USER_NT_ID, CN_OBJECT_ID, CN_CLASS_ID, "
        "CN_HOOK_OPERATION, 'forged' FROM TN_ELECTRONIC_RECORD WHERE OBJECT_ID = {}",
        id, stamp, model));
    return id;
  }
  // A well-formed entry for a stored row, appended to the chain.
  void Append(const char* action, int32_t id, int16_t class_id, double stamp) {
    const emu::LedgerHead head = emu::ReadHead(db_);
    emu::LedgerEntry e{head.seq + 1,
                       action,
                       id,
                       class_id,
                       stamp,
                       1,
                       *emu::RecordDigest(db_, *store_->GetModel().ById(class_id), id),
                       head.hash,
                       ""};
    e.hash = emu::EntryHash(e);
    Write(e);
  }
  // Numbers the entries again from 1 and computes every digest of a stored
  // row and every hash again, after `edit` changed the list.
  void Rechain(const std::function<void(std::vector<emu::LedgerEntry>&)>& edit = {}) {
    std::vector<emu::LedgerEntry> entries = emu::ReadLedger(db_);
    if (edit) edit(entries);
    Sql("DELETE FROM KV_LEDGER");
    std::string previous = emu::kGenesisHash;
    int64_t seq = 0;
    for (emu::LedgerEntry& e : entries) {
      e.seq = ++seq;
      if (e.action == emu::kInsertAction || e.action == emu::kLinkAction)
        if (auto digest = emu::RecordDigest(db_, *store_->GetModel().ById(e.class_id), e.object_id))
          e.digest = *digest;
      e.prev_hash = previous;
      e.hash = previous = emu::EntryHash(e);
      Write(e);
    }
  }
  double Now() const { return store_->Now(); }
  // The host itself, for what it does on its own.
  emu::Store& Host() { return *store_; }

 private:
  void Write(const emu::LedgerEntry& e) {
    emu::Statement insert = db_.Prepare(
        "INSERT INTO KV_LEDGER (SEQ, ACTION, OBJECT_ID, CLASS_ID, STAMP, USER_ID, DIGEST,"
        " PREV_HASH, HASH) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)");
    insert.BindInt(1, e.seq).BindText(2, e.action).BindInt(3, e.object_id).BindInt(4, e.class_id);
    insert.Bind(5, Variant(e.stamp)).BindInt(6, e.user_id).BindText(7, e.digest);
    insert.BindText(8, e.prev_hash).BindText(9, e.hash).Run();
  }

  std::shared_ptr<emu::Store> store_;
  emu::Database& db_;
};

// The databases of one backend: the original and fresh copies of it.
class Backend {
 public:
  virtual ~Backend() = default;
  virtual std::string Original() = 0;
  virtual std::string FreshCopy(const std::string& name) = 0;
};

class SqliteFiles : public Backend {
 public:
  std::string Original() override { return (folder_ / "original.db").string(); }
  std::string FreshCopy(const std::string& name) override {
    const fs::path copy = folder_ / (name + ".db");
    fs::copy_file(Original(), copy, fs::copy_options::overwrite_existing);
    return copy.string();
  }

 private:
  test::TempFolder folder_{"vtx_tamper"};
};

class ServerDatabases : public Backend {
 public:
  explicit ServerDatabases(std::string cluster) : cluster_(std::move(cluster)) {}
  ~ServerDatabases() override {
    for (const std::string& name : made_) Admin("DROP DATABASE IF EXISTS " + name);
  }
  std::string Original() override { return Uri(Name("original")); }
  std::string FreshCopy(const std::string& name) override {
    const std::string copy = Name(name);
    Admin("DROP DATABASE IF EXISTS " + copy);
    Admin(fmt::format("CREATE DATABASE {} TEMPLATE {}", copy, Name("original")));
    return Uri(copy);
  }

 private:
  std::string Name(const std::string& name) {
    std::string out = fmt::format("vtx_tamper_{}_", ::getpid());
    for (char c : name) out += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
    if (std::find(made_.begin(), made_.end(), out) == made_.end()) made_.push_back(out);
    return out;
  }
  std::string Uri(const std::string& name) const {
    return fmt::format("postgresql:///{}?host={}", name, cluster_);
  }
  void Admin(const std::string& sql) {
    PGconn* admin = PQconnectdb(Uri("postgres").c_str());
    PQclear(PQexec(admin, "SET client_min_messages = warning"));
    PGresult* result = PQexec(admin, sql.c_str());
    EXPECT_EQ(PQresultStatus(result), PGRES_COMMAND_OK) << sql << ": " << PQerrorMessage(admin);
    PQclear(result);
    PQfinish(admin);
  }
  std::string cluster_;
  std::vector<std::string> made_;
};

struct Verdict {
  int status;
  std::string output;
};

Verdict Verify(const std::string& database, const std::vector<std::string>& against = {}) {
  std::ostringstream out, err;
  const int status = VerifyCommand({database, against, "", ""}, out, err);
  return {status, out.str() + err.str()};
}

// What an attacker does to the copy; `record` is a record about part 100,
// `link` its history link, `anchor_time` when the anchor was taken.
struct Scene {
  Attacker& attacker;
  int32_t record, link;
  double anchor_time;
};

struct TamperCase {
  const char* change;
  std::function<void(Scene&)> tamper;
  int plain_status;
  const char* plain_says;  // what verify says without an anchor
  int anchored_status;
  const char* anchored_says;  // ... and against the checkpoint taken before the change
};

// Removes the last `hooks` records and links, whole hooks as they were
// entered, with their entries: what is left is a chain that holds.
void CutTail(Attacker& a, int hooks) {
  const int64_t from = a.Id(fmt::format(
      "SELECT SEQ FROM KV_LEDGER WHERE ACTION = 'INSERT' ORDER BY SEQ DESC LIMIT 1 OFFSET {}",
      hooks - 1));
  for (const emu::LedgerEntry& e : a.Entries())
    if (e.seq >= from && (e.action == emu::kInsertAction || e.action == emu::kLinkAction))
      a.RemoveIfStored(e.object_id);
  a.Sql(fmt::format("DELETE FROM KV_LEDGER WHERE SEQ >= {}", from));
}

// Changes the record's row (`set`, an SQL SET list) as SQL does.
void Update(Scene& s, const std::string& set) {
  s.attacker.Sql(
      fmt::format("UPDATE TN_ELECTRONIC_RECORD SET {} WHERE OBJECT_ID = {}", set, s.record));
}

// Changes the record's row, and its entries (`entries_set`), and computes
// the chain again.
void Rewrite(Scene& s, const std::string& set, const std::string& entries_set = "") {
  Update(s, set);
  if (!entries_set.empty())
    s.attacker.Sql(
        fmt::format("UPDATE KV_LEDGER SET {} WHERE OBJECT_ID = {}", entries_set, s.record));
  s.attacker.Rechain();
}

// A forged record about part 100 with its history link, each with a
// well-formed entry appended, dated `stamp`.
void ForgeAndAppend(Scene& s, double stamp) {
  const int32_t forged = s.attacker.CopyRecord(s.record, stamp);
  s.attacker.Append(emu::kInsertAction, forged, 410, stamp);
  s.attacker.Append(emu::kLinkAction, s.attacker.AddLink(forged, 100, 100), 300, stamp);
}

const std::vector<TamperCase>& Cases() {
  static const std::vector<TamperCase> cases = {
      {"nothing changed", [](Scene&) {}, 0, "consistent; no anchor given", 0,
       "the audit trail holds"},
      {"the host deletes a record",
       [](Scene& s) {
         s.attacker.Host().Delete({410, s.record});
       },
       0, "consistent", 0, "the audit trail holds"},
      {"the host is asked to update a record",
       [](Scene& s) {
         EXPECT_THROW(s.attacker.Host().Update({410, s.record}, {{"CN_DESCRIPTION", "x"}}),
                      RuntimeError);
       },
       0, "consistent", 0, "the audit trail holds"},
      {"delete an entry", [](Scene& s) { s.attacker.Sql("DELETE FROM KV_LEDGER WHERE SEQ = 2"); },
       1, "ledger entries #2 to #2 are missing", 1, "rewritten"},
      {"swap two entries",
       [](Scene& s) {
         s.attacker.Sql("UPDATE KV_LEDGER SET SEQ = -SEQ WHERE SEQ IN (2, 3)");
         s.attacker.Sql("UPDATE KV_LEDGER SET SEQ = 5 + SEQ WHERE SEQ < 0");
       },
       1, "chain broken at entry #2", 1, "rewritten"},
      {"write a record around the host",
       [](Scene& s) {
         s.attacker.Sql("INSERT INTO KV_OBJECTS (OBJECT_ID, CLASS_ID) VALUES (99999, 410)");
         s.attacker.Sql(
             "INSERT INTO TN_ELECTRONIC_RECORD (OBJECT_ID, CLASS_ID) VALUES (99999, 410)");
       },
       1, "record 99999 has no ledger entry", 1, "record 99999 has no ledger entry"},
      {"edit a value", [](Scene& s) { Update(s, "CN_DESCRIPTION = 'edited'"); }, 1, "was altered",
       1, "was altered"},
      {"delete a record (and its link)",
       [](Scene& s) {
         s.attacker.RemoveIfStored(s.link);
         s.attacker.RemoveIfStored(s.record);
       },
       1, "was removed without a ledger entry", 1, "was removed without a ledger entry"},
      {"delete the tail (2 hooks)", [](Scene& s) { CutTail(s.attacker, 2); }, 0, "consistent", 1,
       "truncated"},
      {"delete everything", [](Scene& s) { CutTail(s.attacker, 1000000); }, 0, "consistent", 1,
       "truncated"},
      {"rewrite a record and recompute", [](Scene& s) { Rewrite(s, "CN_DESCRIPTION = 'edited'"); },
       0, "consistent", 1, "rewritten"},
      {"move a record to another person, recompute",
       [](Scene& s) {
         Rewrite(s,
                 "CN_USER_ID = 2, KV_CREATED_BY = 2, CN_USER_NAME = 'Smith, Mark', CN_USER_NT_ID "
                 "= 'msmith'",
                 "USER_ID = 2");
       },
       0, "consistent", 1, "rewritten"},
      {"back-date a record, recompute",
       [](Scene& s) { Rewrite(s, "KV_CREATED_AT = KV_CREATED_AT - 30", "STAMP = STAMP - 30"); }, 0,
       "consistent", 1, "rewritten"},
      {"reorder two records, recompute",
       [](Scene& s) {
         s.attacker.Rechain([&](std::vector<emu::LedgerEntry>& entries) {
           auto first = std::find_if(entries.begin(), entries.end(),
                                     [&](const auto& e) { return e.object_id == s.record; });
           auto next = std::find_if(first + 1, entries.end(),
                                    [](const auto& e) { return e.action == emu::kInsertAction; });
           std::iter_swap(first, next);
         });
       },
       0, "consistent", 1, "rewritten"},
      {"forge a record and append it", [](Scene& s) { ForgeAndAppend(s, s.attacker.Now()); }, 0,
       "consistent", 0, "the audit trail holds"},
      {"forge a record dated before the anchor and append it",
       [](Scene& s) { ForgeAndAppend(s, s.anchor_time - 1); }, 0, "consistent", 1, "back-dated"},
      {"add a history link", [](Scene& s) { s.attacker.AddLink(s.record, 101, 100); }, 1,
       "has no ledger entry: it was added around the host", 1, "has no ledger entry"},
      {"add a history link and append its entry",
       [](Scene& s) {
         s.attacker.Append(emu::kLinkAction, s.attacker.AddLink(s.record, 101, 100), 300,
                           s.attacker.Now());
       },
       1, "which its operation did not concern", 1, "which its operation did not concern"},
      {"remove a history link", [](Scene& s) { s.attacker.RemoveIfStored(s.link); }, 1,
       "was removed without a ledger entry", 1, "was removed without a ledger entry"},
      {"remove a history link and its entry, recompute",
       [](Scene& s) {
         s.attacker.RemoveIfStored(s.link);
         s.attacker.Rechain([&](std::vector<emu::LedgerEntry>& entries) {
           std::erase_if(entries, [&](const auto& e) { return e.object_id == s.link; });
         });
       },
       1, "is not linked to object 100", 1, "truncated"},
      {"re-point a history link",
       [](Scene& s) {
         s.attacker.Sql(fmt::format(
             "UPDATE TN_PART_HISTORY SET OBJECT_ID2 = 101 WHERE OBJECT_ID = {}", s.link));
       },
       1, "was changed around the host", 1, "was changed around the host"},
      {"re-point a history link and its record, recompute",
       [](Scene& s) {
         s.attacker.Sql(fmt::format(
             "UPDATE TN_PART_HISTORY SET OBJECT_ID2 = 101 WHERE OBJECT_ID = {}", s.link));
         Rewrite(s, "CN_OBJECT_ID = 101");
       },
       0, "consistent", 1, "rewritten"},
      {"remove the database's id",
       [](Scene& s) { s.attacker.Sql("DELETE FROM KV_META WHERE KEY = 'database_id'"); }, 0,
       "database without an id", 1, "another database"},
      {"drop the ledger", [](Scene& s) { s.attacker.Sql("DROP TABLE KV_LEDGER"); }, 1,
       "has no ledger entry", 1, "truncated"},
  };
  return cases;
}

// The first line that says what verify found, of an anchor if there is one.
std::string Finding(const Verdict& v) {
  size_t fail = v.output.find("FAIL anchor");
  if (fail == std::string::npos) fail = v.output.find("FAIL ");
  if (fail != std::string::npos) return v.output.substr(fail, v.output.find('\n', fail) - fail);
  const size_t colon = v.output.find("problems: ");
  return v.output.substr(colon + 10, v.output.find(';', colon) - colon - 10);
}

void RunSuite(Backend& backend, const char* name) {
  std::ostringstream out, err;
  ASSERT_EQ(DemoCommand(backend.Original(), out, err), 0) << err.str();
  for (const char* key : {"PN-00100 A", "PN-00101 A", "PN-00100 A", "PN-00102 A"})
    ASSERT_EQ(HookCommand({backend.Original(), "", "jdoe", emu::OpenMode::kWrite}, "CHECKIN",
                          "Part", key, {}, out, err),
              0)
        << err.str();
  std::string table = fmt::format(
      "\nTamper table ({}): change | without an anchor | against a "
      "checkpoint taken before it\n",
      name);
  for (const TamperCase& c : Cases()) {
    SCOPED_TRACE(c.change);
    const std::string copy = backend.FreshCopy(c.change);
    const test::TempFolder anchors("vtx_anchor");
    const fs::path anchor = anchors / "checkpoints";
    ASSERT_EQ(CheckpointCommand(copy, anchor.string(), "", out, err), 0) << err.str();
    {
      Attacker attacker(copy);
      Scene scene{
          attacker,
          attacker.Id("SELECT min(OBJECT_ID) FROM TN_ELECTRONIC_RECORD WHERE CN_OBJECT_ID = 100"),
          0, attacker.Now()};
      scene.link = attacker.Id(
          fmt::format("SELECT OBJECT_ID FROM TN_PART_HISTORY WHERE OBJECT_ID1 = {}", scene.record));
      c.tamper(scene);
    }
    const Verdict plain = Verify(copy);
    const Verdict anchored = Verify(copy, {anchor.string()});
    EXPECT_EQ(plain.status, c.plain_status) << plain.output;
    EXPECT_THAT(plain.output, HasSubstr(c.plain_says));
    EXPECT_EQ(anchored.status, c.anchored_status) << anchored.output;
    EXPECT_THAT(anchored.output, HasSubstr(c.anchored_says));
    table += fmt::format("{} | {} | {}\n", c.change, Finding(plain), Finding(anchored));
  }
  std::cout << table;
}

// A record of every type and affinity: the digest the ledger keeps (from the
// values bound) is that of the row as read back, so verify never calls a
// sound record altered.
void DigestsAreOfTheRowsReadBack(const std::string& database) {
  nlohmann::json attributes = nlohmann::json::array();
  for (const auto& [name, type] : {std::pair{"A_TEXT", 1},
                                   {"A_INT16", 2},
                                   {"A_INT32", 3},
                                   {"A_DOUBLE", 4},
                                   {"A_DATE", 7},
                                   {"A_REF", 10},
                                   {"A_BOOL", 15}})
    attributes.push_back({{"name", name}, {"type", type}});
  const nlohmann::json record = {{"id", 410},        {"name", "Electronic Record"},
                                 {"table", "TN_ER"}, {"super", 410},
                                 {"kind", 1},        {"attributes", attributes}};
  auto store = emu::Store::Open(
      database, nlohmann::json{{"classes", {record}}, {"host", {{"ledger", true}}}});
  const std::pair<const char*, Variant> cases[] = {
      {"A_INT16", Variant(int16_t{-32768})},
      {"A_INT32", Variant(int32_t{2147483647})},
      {"A_REF", Variant(int32_t{-1})},
      {"A_INT32", Variant("42")},
      {"A_BOOL", Variant(true)},
      {"A_BOOL", Variant(false)},
      {"A_DOUBLE", Variant(1.5)},
      {"A_DOUBLE", Variant(3.0)},
      {"A_DOUBLE", Variant(-0.0)},
      {"A_DOUBLE", Variant(4503599627370497.0)},
      {"A_DOUBLE", Variant(1e300)},
      {"A_DOUBLE", Variant(-2.5e-310)},
      {"A_DOUBLE", Variant(int32_t{7})},
      {"A_DATE", Variant::Date(46000.25)},
      {"A_DATE", Variant::Date(0.0)},
      {"A_DATE", Variant::Date(-657434.0)},
      {"A_TEXT", Variant("")},
      {"A_TEXT", Variant("Grüße – 東京 😀")},
      {"A_TEXT", Variant::Null()},
      {"A_TEXT", Variant()},
  };
  for (const auto& [attribute, value] : cases)
    store->Insert("Electronic Record", {{attribute, value}});
  const std::vector<emu::LedgerEntry> entries = emu::ReadLedger(store->Db());
  ASSERT_EQ(entries.size(), std::size(cases));
  for (size_t i = 0; i < entries.size(); ++i)
    EXPECT_EQ(entries[i].digest,
              emu::RecordDigest(store->Db(), *store->GetModel().ById(410), entries[i].object_id))
        << cases[i].first << " = " << cases[i].second.ToString();
}

TEST(LedgerTamperTest, SqliteDigestsAreOfTheRowsReadBack) {
  SqliteFiles files;
  DigestsAreOfTheRowsReadBack(files.Original());
}

TEST(LedgerTamperTest, PostgresqlDigestsAreOfTheRowsReadBack) {
  const char* cluster = std::getenv("VTX_TEST_PG_CLUSTER");
  if (!cluster || !fs::exists(fs::path(cluster) / "data" / "postmaster.pid"))
    GTEST_SKIP() << "SKIPPED: no PostgreSQL cluster (VTX_TEST_PG_CLUSTER)";
  ServerDatabases databases(cluster);
  DigestsAreOfTheRowsReadBack(databases.Original());
}

TEST(LedgerTamperTest, SqliteNamesEveryChangeBeforeAnAnchor) {
  SqliteFiles files;
  RunSuite(files, "SQLite");
}

// A database made before databases had an id and links were chained is
// brought under the chain by the first command that writes to it.
TEST(LedgerTamperTest, OlderDatabaseGetsItsIdAndLinkEntriesFromItsFirstWriter) {
  SqliteFiles files;
  std::ostringstream out, err;
  ASSERT_EQ(DemoCommand(files.Original(), out, err), 0) << err.str();
  {
    Attacker older(files.Original());
    older.Sql("DELETE FROM KV_META WHERE KEY = 'database_id'");
    older.Rechain([](std::vector<emu::LedgerEntry>& entries) {
      std::erase_if(entries, [](const auto& e) {
        return e.action == emu::kLinkAction || e.action == emu::kUnlinkAction;
      });
    });
  }
  Verdict before = Verify(files.Original());
  EXPECT_EQ(before.status, 0) << before.output;
  EXPECT_THAT(before.output, HasSubstr("Links are not under the chain"));
  ASSERT_EQ(HookCommand({files.Original(), "", "jdoe", emu::OpenMode::kWrite}, "CHECKIN", "Part",
                        "PN-00100 A", {}, out, err),
            0);
  Verdict after = Verify(files.Original());
  EXPECT_EQ(after.status, 0) << after.output;
  EXPECT_THAT(after.output, ::testing::Not(HasSubstr("Links are not under the chain")));
  EXPECT_THAT(after.output, ::testing::Not(HasSubstr("without an id")));
}

TEST(LedgerTamperTest, PostgresqlNamesEveryChangeBeforeAnAnchor) {
  const char* cluster = std::getenv("VTX_TEST_PG_CLUSTER");
  if (!cluster || !fs::exists(fs::path(cluster) / "data" / "postmaster.pid"))
    GTEST_SKIP() << "SKIPPED: no PostgreSQL cluster (VTX_TEST_PG_CLUSTER)";
  ServerDatabases databases(cluster);
  RunSuite(databases, "PostgreSQL");
}

}  // namespace
}  // namespace vtx::cli
