// The cost of one audit-trail event through the add-in, against the durable
// writes it cannot avoid: the record row and its link row, each committed on
// its own, written straight into SQLite on a file database.
//
//   electronic_record_bench --benchmark_filter=.    (release build)
//
// Compare each *Application benchmark with its *Baseline twin of the same run;
// BM_CheckinEmulatorWriteSetFloor is the least the emulator's own tables
// could cost for one CHECKIN.

#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "app/application.h"
#include "emulator/emulated_host.h"
#include "emulator/store/call_transaction.h"
#include "host/kv_host.h"

namespace vtx {
namespace {

constexpr int kAttributeCount = 50;
constexpr int kChangedAttributes = 5;
constexpr int16_t kPartClass = 100;

std::string AttributeName(int i) {
  char name[16];
  std::snprintf(name, sizeof name, "ATTR_%02d", i);
  return name;
}

nlohmann::json BenchModel(bool ledger) {
  nlohmann::json attributes = nlohmann::json::array();
  for (int i = 1; i <= kAttributeCount; ++i) {
    attributes.push_back({{"name", AttributeName(i)},
                          {"external", "Attribute " + std::to_string(i)},
                          {"type", 1},
                          {"length", 40}});
  }
  nlohmann::json er_attributes = nlohmann::json::array();
  for (const auto& [name, type] : {std::pair{"CN_USER_ID", 3},
                                   {"CN_USER_NAME", 1},
                                   {"CN_MACHINE_NAME", 1},
                                   {"CN_USER_NT_ID", 1},
                                   {"CN_OBJECT_ID", 3},
                                   {"CN_CLASS_ID", 2},
                                   {"CN_HOOK_OPERATION", 1},
                                   {"CN_DESCRIPTION", 1}}) {
    er_attributes.push_back({{"name", name}, {"external", name}, {"type", type}, {"length", 4000}});
  }
  return {{"classes",
           {{{"id", 100},
             {"name", "Part"},
             {"table", "TN_PARTS"},
             {"super", 100},
             {"kind", 1},
             {"attributes", attributes},
             {"identifiers", {"ATTR_01"}}},
            {{"id", 400},
             {"name", "User"},
             {"table", "TN_USERS"},
             {"super", 400},
             {"kind", 1},
             {"attributes",
              {{{"name", "LAST_NAME"}, {"external", "Last Name"}, {"type", 1}, {"length", 40}},
               {{"name", "FIRST_NAME"}, {"external", "First Name"}, {"type", 1}, {"length", 40}}}},
             {"identifiers", {"LAST_NAME"}}},
            {{"id", 500},
             {"name", "Electronic Record"},
             {"table", "TN_ER"},
             {"super", 500},
             {"kind", 1},
             {"attributes", er_attributes}},
            {{"id", 510},
             {"name", "Part_Records"},
             {"table", "TN_PART_ER"},
             {"super", 510},
             {"kind", 7},
             {"ends", {500, 100}}}}},
          {"host", {{"ledger", ledger}}}};
}

// A fresh folder per benchmark, removed at the end.
class ScratchFolder {
 public:
  explicit ScratchFolder(const std::string& name)
      : path_(std::filesystem::temp_directory_path() /
              ("vtx_er_bench_" + std::to_string(::getpid()) + "_" + name)) {
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
  }
  ~ScratchFolder() { std::filesystem::remove_all(path_); }
  std::string File(const std::string& name) const { return (path_ / name).string(); }

 private:
  std::filesystem::path path_;
};

// The emulated host on a file database with one logged-in user and one part
// of 50 attributes.
struct BenchHost {
  explicit BenchHost(const std::string& database, bool ledger = true)
      : host(database, BenchModel(ledger)), platform(&host.GetPlatform()) {
    const int32_t user =
        host.GetStore().Insert("User", {{"LAST_NAME", "Doe"}, {"FIRST_NAME", "Jane"}});
    emu::Environment environment = host.GetEnvironment();
    environment.user = emu::ObjectKey{"User", user};
    environment.logon_name = "jdoe";
    environment.computer_name = "WS-042";
    host.SetEnvironment(environment);
    emu::Values values;
    for (int i = 1; i <= kAttributeCount; ++i)
      values.emplace_back(AttributeName(i), "value " + std::to_string(i));
    part = host.GetStore().Insert("Part", values);
  }

  Ref<KvRecordList> PartList() {
    emu::CallMonitor::Pause pause(host.Monitor());
    Ref<KvRecordList> list = host.GetStore().NewRecordList();
    list->AddColumn("CLASS_ID", 0, 2);
    list->AddColumn("OBJECT_ID", 0, 3);
    list->SetValue("CLASS_ID", 0, Variant(kPartClass));
    list->SetValue("OBJECT_ID", 0, Variant(part));
    return list;
  }

  emu::EmulatedHost host;
  ScopedPlatform platform;
  int32_t part = 0;
};

void RunThroughApplication(benchmark::State& state, const std::string& operation,
                           bool ledger = true) {
  ScratchFolder folder(operation + (ledger ? "_app" : "_app_no_ledger"));
  BenchHost bench(folder.File("korvel.db"), ledger);
  Application application;
  Ref<KvSession> session = bench.host.Session();
  Ref<KvRecordList> list = bench.PartList();
  if (operation == "UPDATE") {
    std::string save = "UPDATE";
    application.ExecuteSaveObjectAsGlobal(session, save, list);
    emu::Values changed;
    for (int i = 1; i <= kChangedAttributes; ++i)
      changed.emplace_back(AttributeName(i * 10), "changed");
    bench.host.GetStore().Update({kPartClass, bench.part}, changed);
  }
  for (auto _ : state) {
    std::string op = operation;
    emu::CallTransaction call(bench.host.GetStore());
    if (application.ExecuteCreateNewERObject(session, op, list) != 0)
      state.SkipWithError("no record was stored");
    call.Commit();
  }
  state.SetItemsProcessed(state.iterations());
}

// A plain SQLite connection with the host's journal settings, for the
// baselines below.
class RawSqlite {
 public:
  RawSqlite(const std::string& path, const char* schema) {
    if (sqlite3_open(path.c_str(), &db_) != SQLITE_OK) throw std::runtime_error("open");
    Exec("PRAGMA journal_mode=WAL; PRAGMA synchronous=NORMAL;");
    Exec(schema);
  }
  ~RawSqlite() {
    for (sqlite3_stmt* s : statements_) sqlite3_finalize(s);
    sqlite3_close(db_);
  }
  RawSqlite(const RawSqlite&) = delete;
  RawSqlite& operator=(const RawSqlite&) = delete;

 protected:
  sqlite3_stmt* Prepare(const char* sql) {
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db_, sql, -1, &statement, nullptr) != SQLITE_OK)
      throw std::runtime_error(sqlite3_errmsg(db_));
    statements_.push_back(statement);
    return statement;
  }
  void Exec(const char* sql) {
    if (sqlite3_exec(db_, sql, nullptr, nullptr, nullptr) != SQLITE_OK)
      throw std::runtime_error(sqlite3_errmsg(db_));
  }
  void Step(sqlite3_stmt* statement) {
    if (sqlite3_step(statement) != SQLITE_DONE) throw std::runtime_error(sqlite3_errmsg(db_));
    sqlite3_reset(statement);
  }

 private:
  sqlite3* db_ = nullptr;
  std::vector<sqlite3_stmt*> statements_;
};

constexpr const char* kRecordTables =
    "CREATE TABLE TN_ER (OBJECT_ID INTEGER PRIMARY KEY, CLASS_ID INTEGER, KV_CREATED_AT REAL,"
    " KV_CREATED_BY INTEGER, CN_USER_ID INTEGER, CN_USER_NAME TEXT, CN_MACHINE_NAME TEXT,"
    " CN_USER_NT_ID TEXT, CN_OBJECT_ID INTEGER, CN_CLASS_ID INTEGER,"
    " CN_HOOK_OPERATION TEXT, CN_DESCRIPTION TEXT);"
    "CREATE TABLE TN_PART_ER (OBJECT_ID INTEGER PRIMARY KEY, CLASS_ID INTEGER,"
    " KV_CREATED_AT REAL, KV_CREATED_BY INTEGER, CLASS_ID1 INTEGER, OBJECT_ID1 INTEGER,"
    " CLASS_ID2 INTEGER, OBJECT_ID2 INTEGER);";
constexpr const char* kInsertRecord =
    "INSERT INTO TN_ER VALUES (?, 500, 46000.5, 1, 1, 'Doe, Jane', 'WS-042', 'jdoe', 2, 100, ?, ?)";
constexpr const char* kInsertLink =
    "INSERT INTO TN_PART_ER VALUES (?, 510, 46000.5, 1, 500, ?, 100, 2)";

// The two rows the host writes for one event, committed one by one as the
// host commits them, with the host's journal settings.
class SqliteBaseline : RawSqlite {
 public:
  explicit SqliteBaseline(const std::string& path)
      : RawSqlite(path, kRecordTables),
        record_(Prepare(kInsertRecord)),
        link_(Prepare(kInsertLink)) {}

  void WriteEvent(const std::string& operation, const std::string& description) {
    const int64_t record_id = ++last_id_;
    Exec("BEGIN IMMEDIATE");
    sqlite3_bind_int64(record_, 1, record_id);
    sqlite3_bind_text(record_, 2, operation.c_str(), -1, SQLITE_TRANSIENT);
    sqlite3_bind_text(record_, 3, description.c_str(), -1, SQLITE_TRANSIENT);
    Step(record_);
    Exec("COMMIT");
    Exec("BEGIN IMMEDIATE");
    sqlite3_bind_int64(link_, 1, ++last_id_);
    sqlite3_bind_int64(link_, 2, record_id);
    Step(link_);
    Exec("COMMIT");
  }

 private:
  sqlite3_stmt* record_;
  sqlite3_stmt* link_;
  int64_t last_id_ = 0;
};

// The floor under the emulator: the rows it writes for one event (two
// registry rows, the record, the link and its two end indexes, in the
// emulator's own tables) committed at once, straight into SQLite.
class EmulatorWriteSetFloor : RawSqlite {
 public:
  explicit EmulatorWriteSetFloor(const std::string& path)
      : RawSqlite(path, (std::string(kRecordTables) +
                         "CREATE TABLE KV_OBJECTS (OBJECT_ID INTEGER PRIMARY KEY,"
                         " CLASS_ID INTEGER NOT NULL);"
                         "CREATE INDEX TN_PART_ER_KV_END1 ON TN_PART_ER (OBJECT_ID1, CLASS_ID1);"
                         "CREATE INDEX TN_PART_ER_KV_END2 ON TN_PART_ER (OBJECT_ID2, CLASS_ID2);"
                         "INSERT INTO KV_OBJECTS VALUES (1, 400), (2, 100);")
                            .c_str()),
        registry_(Prepare("INSERT INTO KV_OBJECTS VALUES (?, ?)")),
        record_(Prepare(kInsertRecord)),
        link_(Prepare(kInsertLink)) {}

  void WriteEvent(const std::string& operation, const std::string& description) {
    const int64_t record_id = ++last_id_, link_id = ++last_id_;
    Exec("BEGIN IMMEDIATE");
    for (auto [id, class_id] : {std::pair{record_id, 500}, {link_id, 510}}) {
      sqlite3_bind_int64(registry_, 1, id);
      sqlite3_bind_int(registry_, 2, class_id);
      Step(registry_);
    }
    sqlite3_bind_int64(record_, 1, record_id);
    sqlite3_bind_text(record_, 2, operation.c_str(), -1, SQLITE_TRANSIENT);
    sqlite3_bind_text(record_, 3, description.c_str(), -1, SQLITE_TRANSIENT);
    Step(record_);
    sqlite3_bind_int64(link_, 1, link_id);
    sqlite3_bind_int64(link_, 2, record_id);
    Step(link_);
    Exec("COMMIT");
  }

 private:
  sqlite3_stmt* registry_;
  sqlite3_stmt* record_;
  sqlite3_stmt* link_;
  int64_t last_id_ = 2;
};

std::string UpdateDescription() {
  std::string text = "Update object: 'value 1' of class: 'Part'\r\n";
  for (int i = 1; i <= kChangedAttributes; ++i) {
    text += "\r\nAttribute " + std::to_string(i * 10) + " was: 'value " + std::to_string(i * 10) +
            "' is: 'changed '\r\n";
  }
  return text;
}

template <typename Writer>
void RunBaseline(benchmark::State& state, const std::string& operation,
                 const std::string& description) {
  ScratchFolder folder(operation + "_baseline");
  Writer baseline(folder.File("baseline.db"));
  for (auto _ : state) baseline.WriteEvent(operation, description);
  state.SetItemsProcessed(state.iterations());
}

void BM_CheckinApplication(benchmark::State& state) { RunThroughApplication(state, "CHECKIN"); }
// The same with the host's ledger of electronic records switched off: the
// ledger's cost per record is the difference.
void BM_CheckinApplicationLedgerOff(benchmark::State& state) {
  RunThroughApplication(state, "CHECKIN", false);
}
void BM_CheckinBaseline(benchmark::State& state) {
  RunBaseline<SqliteBaseline>(state, "Checkin", "Checkin object: 'value 1' of class: 'Part'");
}
void BM_CheckinEmulatorWriteSetFloor(benchmark::State& state) {
  RunBaseline<EmulatorWriteSetFloor>(state, "Checkin",
                                     "Checkin object: 'value 1' of class: 'Part'");
}
void BM_Update50Attributes5ChangedApplication(benchmark::State& state) {
  RunThroughApplication(state, "UPDATE");
}
void BM_Update50Attributes5ChangedBaseline(benchmark::State& state) {
  RunBaseline<SqliteBaseline>(state, "Update", UpdateDescription());
}

BENCHMARK(BM_CheckinApplication)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CheckinApplicationLedgerOff)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CheckinBaseline)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CheckinEmulatorWriteSetFloor)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Update50Attributes5ChangedApplication)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Update50Attributes5ChangedBaseline)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace vtx

BENCHMARK_MAIN();
