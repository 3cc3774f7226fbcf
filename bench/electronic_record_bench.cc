// The cost of one audit-trail event through the add-in, against the durable
// writes it cannot avoid: the record row and its link row, each committed on
// its own, written straight into SQLite on a file database (WAL journal,
// synchronous=NORMAL as the host sets it; the *Full pair runs both sides with
// synchronous=FULL, an fsync per commit).
//
//   electronic_record_bench --benchmark_filter=.    (release build)
//
// Compare each *Application benchmark with its *Baseline twin of the same run;
// BM_CheckinEmulatorWriteSetFloor is the least the emulator's own tables
// could cost for one CHECKIN. The counter wal_frames is the number of pages
// one event commits to the WAL, counted over events run after the timed ones.
// The *Postgres pair does the same on a PostgreSQL server
// (bench/postgres_record_run.sh starts one of its own) and counts the
// exchanges with the server per event (round_trips_per_event); docs/host.md
// ("Round trips") has the figures.

#include <benchmark/benchmark.h>
#include <libpq-fe.h>
#include <sqlite3.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>
#include <tuple>
#include <vector>

#include <nlohmann/json.hpp>

#include "app/application.h"
#include "emulator/emulated_host.h"
#include "emulator/host_objects/store_interfaces.h"
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
    Ref<KvRecordList> list = emu::NewRecordList(host.GetStore());
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

constexpr int kCountedEvents = 20;

// The WAL frames of the events `write` makes, per event: the journal is
// emptied first (`sql` runs a PRAGMA and gives its second column).
template <typename Sql, typename Write>
double WalFramesPerEvent(Sql sql, Write write) {
  sql("PRAGMA wal_checkpoint(TRUNCATE)");
  for (int i = 0; i < kCountedEvents; ++i) write();
  return static_cast<double>(sql("PRAGMA wal_checkpoint(PASSIVE)")) / kCountedEvents;
}

void RunThroughApplication(benchmark::State& state, const std::string& operation,
                           bool ledger = true, const std::string& database = {},
                           bool full_sync = false) {
  ScratchFolder folder(operation + (ledger ? "_app" : "_app_no_ledger") +
                       (full_sync ? "_full" : ""));
  BenchHost bench(database.empty() ? folder.File("korvel.db") : database, ledger);
  if (full_sync) bench.host.GetStore().Db().Exec("PRAGMA synchronous=FULL");
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
  auto event = [&] {
    std::string op = operation;
    emu::CallTransaction call(bench.host.GetStore());
    if (application.ExecuteCreateNewERObject(session, op, list) != 0)
      state.SkipWithError("no record was stored");
    call.Commit();
  };
  const int64_t round_trips = bench.host.GetStore().Db().RoundTrips();
  for (auto _ : state) event();
  state.SetItemsProcessed(state.iterations());
  if (!database.empty()) {
    state.counters["round_trips_per_event"] = benchmark::Counter(
        static_cast<double>(bench.host.GetStore().Db().RoundTrips() - round_trips),
        benchmark::Counter::kAvgIterations);
    return;
  }
  state.counters["wal_frames"] = WalFramesPerEvent(
      [&](const char* pragma) {
        emu::Statement s = bench.host.GetStore().Db().Prepare(pragma);
        return s.Step() ? s.Int(1) : -1;
      },
      event);
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
  // The second column of a PRAGMA's row.
  int64_t Pragma(const char* sql) {
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db_, sql, -1, &statement, nullptr) != SQLITE_OK)
      throw std::runtime_error(sqlite3_errmsg(db_));
    const int64_t value =
        sqlite3_step(statement) == SQLITE_ROW ? sqlite3_column_int64(statement, 1) : -1;
    sqlite3_finalize(statement);
    return value;
  }
  void FullSync() { Exec("PRAGMA synchronous=FULL"); }
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
class SqliteBaseline : public RawSqlite {
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

// The floor under the emulator: the rows it writes for one event, in the
// emulator's own tables, committed at once, straight into SQLite: the record,
// the link, two ledger entries, and the registry: the two new objects and
// both ends of the link in it (kEndsInRegistry, the store's layout), or the
// two new objects with the link's ends in two indexes of the link table (the
// layout before).
template <bool kEndsInRegistry>
class EmulatorWriteSetFloor : public RawSqlite {
 public:
  explicit EmulatorWriteSetFloor(const std::string& path)
      : RawSqlite(path,
                  (std::string(kRecordTables) +
                   (kEndsInRegistry
                        ? "CREATE TABLE KV_OBJECTS (OBJECT_ID INTEGER, LINK_ID INTEGER, FORWARD "
                          "INTEGER, CLASS_ID INTEGER NOT NULL, OTHER_ID INTEGER, PRIMARY KEY "
                          "(OBJECT_ID, LINK_ID, FORWARD)) WITHOUT ROWID;"
                          "INSERT INTO KV_OBJECTS VALUES (1, 0, 0, 400, 0), (2, 0, 0, 100, 0);"
                        : "CREATE TABLE KV_OBJECTS (OBJECT_ID INTEGER PRIMARY KEY,"
                          " CLASS_ID INTEGER NOT NULL);"
                          "CREATE INDEX TN_PART_ER_KV_END1 ON TN_PART_ER (OBJECT_ID1, CLASS_ID1);"
                          "CREATE INDEX TN_PART_ER_KV_END2 ON TN_PART_ER (OBJECT_ID2, CLASS_ID2);"
                          "INSERT INTO KV_OBJECTS VALUES (1, 400), (2, 100);") +
                   "CREATE TABLE KV_LEDGER (SEQ INTEGER PRIMARY KEY, ACTION TEXT, OBJECT_ID "
                   "INTEGER, CLASS_ID INTEGER, STAMP REAL, USER_ID INTEGER, DIGEST TEXT, "
                   "PREV_HASH TEXT, HASH TEXT);")
                      .c_str()),
        registry_(Prepare(kEndsInRegistry ? "INSERT INTO KV_OBJECTS VALUES (?, ?, ?, ?, ?)"
                                          : "INSERT INTO KV_OBJECTS VALUES (?, ?)")),
        record_(Prepare(kInsertRecord)),
        link_(Prepare(kInsertLink)),
        ledger_(Prepare("INSERT INTO KV_LEDGER VALUES (NULL, ?, ?, ?, 46000.5, 1, ?, ?, ?)")) {}

  void WriteEvent(const std::string& operation, const std::string& description) {
    const int64_t record_id = ++last_id_, link_id = ++last_id_;
    Exec("BEGIN IMMEDIATE");
    struct Row {
      int64_t id, link, forward, class_id, other;
    };
    std::vector<Row> rows = {{record_id, 0, 0, 500, 0}, {link_id, 0, 0, 510, 0}};
    if (kEndsInRegistry)
      rows.insert(rows.end(), {{record_id, link_id, 1, 510, 2}, {2, link_id, 0, 510, record_id}});
    for (const Row& r : rows) {
      int column = 1;
      sqlite3_bind_int64(registry_, column++, r.id);
      if (kEndsInRegistry) {
        sqlite3_bind_int64(registry_, column++, r.link);
        sqlite3_bind_int64(registry_, column++, r.forward);
      }
      sqlite3_bind_int64(registry_, column++, r.class_id);
      if (kEndsInRegistry) sqlite3_bind_int64(registry_, column++, r.other);
      Step(registry_);
    }
    sqlite3_bind_int64(record_, 1, record_id);
    sqlite3_bind_text(record_, 2, operation.c_str(), -1, SQLITE_TRANSIENT);
    sqlite3_bind_text(record_, 3, description.c_str(), -1, SQLITE_TRANSIENT);
    Step(record_);
    sqlite3_bind_int64(link_, 1, link_id);
    sqlite3_bind_int64(link_, 2, record_id);
    Step(link_);
    const std::string hash(64, 'f');
    for (auto [action, id, class_id] :
         {std::tuple{"INSERT", record_id, 500}, {"LINK", link_id, 510}}) {
      sqlite3_bind_text(ledger_, 1, action, -1, SQLITE_STATIC);
      sqlite3_bind_int64(ledger_, 2, id);
      sqlite3_bind_int(ledger_, 3, class_id);
      for (int column : {4, 5, 6})
        sqlite3_bind_text(ledger_, column, hash.c_str(), -1, SQLITE_TRANSIENT);
      Step(ledger_);
    }
    Exec("COMMIT");
  }

 private:
  sqlite3_stmt* registry_;
  sqlite3_stmt* record_;
  sqlite3_stmt* link_;
  sqlite3_stmt* ledger_;
  int64_t last_id_ = 2;
  int64_t round_trips_ = 0;
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
                 const std::string& description, bool full_sync = false) {
  ScratchFolder folder(operation + "_baseline" + (full_sync ? "_full" : ""));
  Writer baseline(folder.File("baseline.db"));
  if (full_sync) baseline.FullSync();
  for (auto _ : state) baseline.WriteEvent(operation, description);
  state.SetItemsProcessed(state.iterations());
  state.counters["wal_frames"] =
      WalFramesPerEvent([&](const char* pragma) { return baseline.Pragma(pragma); },
                        [&] { baseline.WriteEvent(operation, description); });
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
void BM_CheckinApplicationFull(benchmark::State& state) {
  RunThroughApplication(state, "CHECKIN", true, {}, true);
}
void BM_CheckinBaselineFull(benchmark::State& state) {
  RunBaseline<SqliteBaseline>(state, "Checkin", "Checkin object: 'value 1' of class: 'Part'", true);
}
void BM_CheckinEmulatorWriteSetFloor(benchmark::State& state) {
  RunBaseline<EmulatorWriteSetFloor<true>>(state, "Checkin",
                                           "Checkin object: 'value 1' of class: 'Part'");
}
void BM_CheckinEmulatorWriteSetFloorEndIndexes(benchmark::State& state) {
  RunBaseline<EmulatorWriteSetFloor<false>>(state, "Checkin",
                                            "Checkin object: 'value 1' of class: 'Part'");
}
void BM_Update50Attributes5ChangedApplication(benchmark::State& state) {
  RunThroughApplication(state, "UPDATE");
}
void BM_Update50Attributes5ChangedBaseline(benchmark::State& state) {
  RunBaseline<SqliteBaseline>(state, "Update", UpdateDescription());
}

// A database of its own on the server VTX_BENCH_PG_HOST names (a socket
// folder or a host), dropped at the end; empty when the variable is unset.
class ServerDatabase {
 public:
  explicit ServerDatabase(const std::string& name) {
    const char* host = std::getenv("VTX_BENCH_PG_HOST");
    if (!host) return;
    host_ = host;
    name_ = "vtx_bench_" + std::to_string(::getpid()) + "_" + name;
    Admin("DROP DATABASE IF EXISTS " + name_);
    Admin("CREATE DATABASE " + name_ + " TEMPLATE template0 ENCODING 'UTF8' LC_COLLATE 'C'");
  }
  ~ServerDatabase() {
    if (!name_.empty()) Admin("DROP DATABASE IF EXISTS " + name_);
  }
  std::string Uri() const {
    return name_.empty() ? std::string() : "postgresql:///" + name_ + "?host=" + host_;
  }

 private:
  void Admin(const std::string& sql) {
    PGconn* admin = PQconnectdb(("postgresql:///postgres?host=" + host_).c_str());
    PQclear(PQexec(admin, "SET client_min_messages = warning"));
    PQclear(PQexec(admin, sql.c_str()));
    PQfinish(admin);
  }
  std::string host_, name_;
};

// The two rows of one event written with plain libpq, in one transaction per
// event as the host commits one per call.
class PostgresBaseline {
 public:
  explicit PostgresBaseline(const std::string& uri) : db_(PQconnectdb(uri.c_str())) {
    Exec(
        "CREATE TABLE tn_er (object_id BIGINT PRIMARY KEY, class_id BIGINT, kv_created_at FLOAT8,"
        " kv_created_by BIGINT, cn_user_id BIGINT, cn_user_name TEXT, cn_machine_name TEXT,"
        " cn_user_nt_id TEXT, cn_object_id BIGINT, cn_class_id BIGINT,"
        " cn_hook_operation TEXT, cn_description TEXT);"
        "CREATE TABLE tn_part_er (object_id BIGINT PRIMARY KEY, class_id BIGINT,"
        " kv_created_at FLOAT8, kv_created_by BIGINT, class_id1 BIGINT, object_id1 BIGINT,"
        " class_id2 BIGINT, object_id2 BIGINT)");
    Check(PQprepare(db_, "record",
                    "INSERT INTO tn_er VALUES ($1, 500, 46000.5, 1, 1, 'Doe, Jane', 'WS-042',"
                    " 'jdoe', 2, 100, $2, $3)",
                    3, nullptr));
    Check(PQprepare(db_, "link",
                    "INSERT INTO tn_part_er VALUES ($1, 510, 46000.5, 1, 500, $2, 100, 2)", 2,
                    nullptr));
  }
  ~PostgresBaseline() { PQfinish(db_); }
  int64_t RoundTrips() const { return round_trips_; }

  void WriteEvent(const std::string& operation, const std::string& description) {
    const std::string record_id = std::to_string(++last_id_), link_id = std::to_string(++last_id_);
    Exec("BEGIN");
    const char* record[] = {record_id.c_str(), operation.c_str(), description.c_str()};
    Check(PQexecPrepared(db_, "record", 3, record, nullptr, nullptr, 0));
    const char* link[] = {link_id.c_str(), record_id.c_str()};
    Check(PQexecPrepared(db_, "link", 2, link, nullptr, nullptr, 0));
    Exec("COMMIT");
  }

 private:
  void Exec(const char* sql) { Check(PQexec(db_, sql)); }
  void Check(PGresult* result) {
    ++round_trips_;
    const bool ok = PQresultStatus(result) == PGRES_COMMAND_OK;
    PQclear(result);
    if (!ok) throw std::runtime_error(PQerrorMessage(db_));
  }
  PGconn* db_;
  int64_t last_id_ = 2;
  int64_t round_trips_ = 0;
};

void BM_CheckinApplicationPostgres(benchmark::State& state) {
  ServerDatabase server("checkin_app");
  if (server.Uri().empty()) return state.SkipWithError("VTX_BENCH_PG_HOST is not set");
  RunThroughApplication(state, "CHECKIN", true, server.Uri());
}
void BM_CheckinBaselinePostgres(benchmark::State& state) {
  ServerDatabase server("checkin_baseline");
  if (server.Uri().empty()) return state.SkipWithError("VTX_BENCH_PG_HOST is not set");
  PostgresBaseline baseline(server.Uri());
  const int64_t round_trips = baseline.RoundTrips();
  for (auto _ : state) baseline.WriteEvent("Checkin", "Checkin object: 'value 1' of class: 'Part'");
  state.SetItemsProcessed(state.iterations());
  state.counters["round_trips_per_event"] = benchmark::Counter(
      static_cast<double>(baseline.RoundTrips() - round_trips), benchmark::Counter::kAvgIterations);
}

BENCHMARK(BM_CheckinApplicationPostgres)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CheckinBaselinePostgres)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CheckinApplication)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CheckinApplicationLedgerOff)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CheckinBaseline)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CheckinEmulatorWriteSetFloor)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CheckinEmulatorWriteSetFloorEndIndexes)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CheckinApplicationFull)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CheckinBaselineFull)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Update50Attributes5ChangedApplication)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Update50Attributes5ChangedBaseline)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace vtx

BENCHMARK_MAIN();
