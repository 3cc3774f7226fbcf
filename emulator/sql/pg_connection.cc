#include "emulator/sql/pg_connection.h"

#include <libpq-fe.h>

#include <chrono>
#include <cstdlib>
#include <optional>
#include <set>
#include <thread>
#include <utility>

#include <fmt/format.h>

#include "emulator/sql/commit_outcome_unknown.h"
#include "emulator/sql/database_open_error.h"
#include "emulator/sql/pg_cursor.h"
#include "emulator/sql/pg_failure.h"
#include "emulator/sql/pg_sql_text.h"
#include "runtime/runtime_error.h"

namespace vtx::emu {

namespace {

// The key of the advisory lock every writer of a database takes (advisory
// locks are per database, so one key serves every database of a server).
constexpr const char* kWriteLock = "SELECT pg_advisory_xact_lock(7627896)";
constexpr const char* kBeginRead = "BEGIN ISOLATION LEVEL REPEATABLE READ";
constexpr int kTransactionIdsSince = 130000;  // pg_current_xact_id, pg_xact_status
constexpr int kClientCheckSince = 140000;     // client_connection_check_interval

// The counter of transactions that changed a watched table, and the trigger
// that bumps it once per transaction (again after a savepoint that undid the
// bump), whoever writes: the store or anybody else.
constexpr const char* kCounterSetUp =
    "CREATE TABLE IF NOT EXISTS vtx_changes (n BIGINT NOT NULL, xid BIGINT);"
    " INSERT INTO vtx_changes (n) SELECT 0 WHERE NOT EXISTS (SELECT 1 FROM vtx_changes);"
    " CREATE OR REPLACE FUNCTION vtx_changed() RETURNS trigger LANGUAGE plpgsql AS $f$ BEGIN"
    " UPDATE vtx_changes SET n = n + 1, xid = txid_current()"
    " WHERE xid IS DISTINCT FROM txid_current(); RETURN NULL; END $f$";
constexpr const char* kCounter = "(SELECT n FROM vtx_changes)";

void IgnoreNotice(void*, const char*) {}

std::string Trimmed(std::string text) {
  while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) text.pop_back();
  return text;
}

// A libpq message about `conn`: its first line (the rest guesses at causes).
std::string ErrorOf(const PGconn* conn) {
  const std::string message = conn ? PQerrorMessage(conn) : "";
  return Trimmed(message.substr(0, message.find('\n')));
}

// Connects with the wait bounds placed before the URI, whose own parameters
// override them; `dbname_override` names another database of the server.
PGconn* Connect(const std::string& uri, const char* dbname_override) {
  const auto bounds = PgWaitParameters();
  std::vector<const char*> keys, values;
  for (const auto& [key, value] : bounds) {
    keys.push_back(key.c_str());
    values.push_back(value.c_str());
  }
  keys.push_back("dbname");
  values.push_back(uri.c_str());
  if (dbname_override) {
    keys.push_back("dbname");
    values.push_back(dbname_override);
  }
  keys.push_back(nullptr);
  values.push_back(nullptr);
  return PQconnectdbParams(keys.data(), values.data(), 1);
}

// The text between the first pair of double quotes after `lead` in a
// server's message (`role "x" does not exist`), when it ends so.
std::optional<std::string> NamedMissing(const std::string& message, std::string_view lead) {
  const size_t at = message.find(std::string(lead) + " \"");
  if (at == std::string::npos) return std::nullopt;
  const size_t open = at + lead.size() + 2;
  const size_t close = message.find("\" does not exist", open);
  if (close == std::string::npos) return std::nullopt;
  return message.substr(open, close - open);
}

// Refuses a URI libpq cannot read, without libpq's echo of it (which may
// hold a password).
void CheckUri(const std::string& uri, const std::string& display) {
  char* error = nullptr;
  PQconninfoOption* options = PQconninfoParse(uri.c_str(), &error);
  if (options) {
    PQconninfoFree(options);
    return;
  }
  std::string reason = Trimmed(error ? error : "out of memory");
  PQfreemem(error);
  reason = reason.substr(0, reason.find(": \""));
  throw DatabaseOpenError(
      fmt::format("{}: not a valid PostgreSQL connection URI ({})", display, reason));
}

// A connection with the store's session settings, or null with `failure`
// saying why.
PGconn* OpenSession(const std::string& uri, OpenMode mode, std::string& failure) {
  PGconn* conn = Connect(uri, nullptr);
  if (PQstatus(conn) != CONNECTION_OK) {
    failure = ErrorOf(conn);
    PQfinish(conn);
    return nullptr;
  }
  PQsetNoticeProcessor(conn, IgnoreNotice, nullptr);
  // Sending never blocks either: what the server does not take is flushed
  // within the answer's deadline.
  PQsetnonblocking(conn, 1);
  std::string settings = fmt::format(
      "SET lock_timeout = '{}s'; SET client_min_messages = warning; SET extra_float_digits = 1;"
      " SET TIME ZONE 'UTC'",
      PgWaitSeconds());
  // A statement whose client gave up is ended by the server too.
  if (PQserverVersion(conn) >= kClientCheckSince)
    settings += "; SET client_connection_check_interval = '5s'";
  if (mode == OpenMode::kRead) settings += "; SET default_transaction_read_only = on";
  PgReply reply = AwaitPgReply(conn, PQsendQuery(conn, settings.c_str()), PgAnswerDeadline());
  if (reply.answer != PgAnswer::kAnswered || !PgSucceeded(reply.result.get())) {
    failure = reply.answer == PgAnswer::kSilent
                  ? fmt::format("the server did not answer within {} s", PgAnswerSeconds())
                  : ErrorOf(conn);
    PQfinish(conn);
    return nullptr;
  }
  return conn;
}

[[noreturn]] void RaiseConnectFailure(const std::string& display, const std::string& failure) {
  if (auto role = NamedMissing(failure, "role"))
    throw DatabaseOpenError(fmt::format(
        "{}: the server knows no role \"{}\" (the user the URI names, else PGUSER or the logon "
        "name)",
        display, *role));
  if (failure.find("timeout expired") != std::string::npos)
    Raise(err::kHostFailure,
          fmt::format("The database server of {} did not answer the connection within {} s",
                      display, PgConnectSeconds()),
          "Korvel");
  Raise(err::kHostFailure, fmt::format("Cannot open the database {}: {}", display, failure),
        "Korvel");
}

// Creates the database `uri` names through the server's own "postgres"
// database. Another process creating it at the same moment is no failure.
void CreateDatabase(const std::string& uri, const std::string& display) {
  std::unique_ptr<PGconn, decltype(&PQfinish)> admin(Connect(uri, "postgres"), &PQfinish);
  if (PQstatus(admin.get()) != CONNECTION_OK)
    Raise(err::kHostFailure,
          fmt::format("Cannot create the database {}: {}", display, ErrorOf(admin.get())),
          "Korvel");
  char* error = nullptr;
  PQconninfoOption* options = PQconninfoParse(uri.c_str(), &error);
  PQfreemem(error);
  std::string name;
  for (PQconninfoOption* o = options; o && o->keyword; ++o)
    if (std::string_view(o->keyword) == "dbname" && o->val) name = o->val;
  PQconninfoFree(options);
  char* quoted = PQescapeIdentifier(admin.get(), name.c_str(), name.size());
  const std::string sql = fmt::format(
      "CREATE DATABASE {} TEMPLATE template0 ENCODING 'UTF8' LC_COLLATE 'C' LC_CTYPE 'C'",
      quoted ? quoted : name);
  PQfreemem(quoted);
  PgReply reply =
      AwaitPgReply(admin.get(), PQsendQuery(admin.get(), sql.c_str()), PgAnswerDeadline());
  if (reply.answer != PgAnswer::kAnswered)
    Raise(err::kHostFailure,
          fmt::format("Cannot create the database {}: the server did not answer", display),
          "Korvel");
  const char* state = PQresultErrorField(reply.result.get(), PG_DIAG_SQLSTATE);
  if (!PgSucceeded(reply.result.get()) &&
      !(state && (std::string_view(state) == "42P04" || std::string_view(state) == "23505")))
    RaisePgFailure(admin.get(), reply.result.get(), sql, display);
}

// One value of a one-row query on `conn`, or nullopt with `failure` saying why.
std::optional<std::string> AskOne(PGconn* conn, const char* sql, const std::string& argument,
                                  std::string& failure) {
  const char* values[] = {argument.c_str()};
  PgReply reply =
      AwaitPgReply(conn, PQsendQueryParams(conn, sql, 1, nullptr, values, nullptr, nullptr, 0),
                   PgAnswerDeadline());
  if (reply.answer != PgAnswer::kAnswered || !PgSucceeded(reply.result.get()) ||
      PQntuples(reply.result.get()) != 1) {
    failure = reply.answer == PgAnswer::kSilent ? "the server did not answer" : ErrorOf(conn);
    return std::nullopt;
  }
  if (PQgetisnull(reply.result.get(), 0, 0)) return std::string();
  return PQgetvalue(reply.result.get(), 0, 0);
}

// The outcome of transaction `xid` ("committed", "aborted"), asked through
// `conn` once the backend `pid` that ran it is ended; "" with `failure` when
// it cannot be learnt.
std::string AskOutcome(PGconn* conn, int pid, const std::string& xid, std::string& failure) {
  // Ended, a backend still at the COMMIT leaves an outcome for good.
  std::string ignored;
  AskOne(conn, "SELECT pg_terminate_backend($1::int)", std::to_string(pid), ignored);
  const char* status_sql = PQserverVersion(conn) >= kTransactionIdsSince
                               ? "SELECT pg_xact_status($1::xid8)"
                               : "SELECT txid_status($1::bigint)";
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(PgWaitSeconds());
  for (;;) {
    const std::optional<std::string> status = AskOne(conn, status_sql, xid, failure);
    if (!status) return "";
    if (*status == "committed" || *status == "aborted") return *status;
    if (status->empty()) {
      failure = "the server no longer knows the transaction";
      return "";
    }
    if (std::chrono::steady_clock::now() >= deadline) {
      failure = fmt::format("the transaction was still in progress after {} s", PgWaitSeconds());
      return "";
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
}

}  // namespace

PgConnection::PgConnection(const std::string& uri, std::string display, OpenMode mode)
    : uri_(uri), mode_(mode), display_(std::move(display)) {
  CheckUri(uri_, display_);
  std::string failure;
  conn_ = OpenSession(uri_, mode_, failure);
  if (!conn_) {
    if (!NamedMissing(failure, "database")) RaiseConnectFailure(display_, failure);
    if (mode != OpenMode::kCreate)
      throw DatabaseOpenError(fmt::format("{}: no such database (vtx init creates one)", display_));
    CreateDatabase(uri_, display_);
    conn_ = OpenSession(uri_, mode_, failure);
    if (!conn_) RaiseConnectFailure(display_, failure);
  }
  backend_pid_ = PQbackendPID(conn_);
}

PgConnection::~PgConnection() { PQfinish(conn_); }

std::unique_ptr<SqlCursor> PgConnection::Prepare(const std::string& sql, bool guarded) {
  return MakePgCursor(*this, sql, guarded);
}

void PgConnection::Lose(std::string why) {
  lost_ = std::move(why);
  PQfinish(conn_);
  conn_ = nullptr;
}

PgResult PgConnection::Await(int sent, std::string_view /*what*/) {
  ++round_trips_;
  begun_version_.clear();
  if (!lost_.empty()) Raise(err::kHostFailure, lost_, "Korvel");
  PgReply reply = AwaitPgReply(conn_, sent, PgAnswerDeadline());
  if (reply.answer != PgAnswer::kAnswered) RaiseUnanswered(reply.answer);
  return std::move(reply.result);
}

void PgConnection::RaiseUnanswered(PgAnswer answer) {
  if (lost_.empty())
    Lose(
        answer == PgAnswer::kSilent
            ? fmt::format(
                  "The database server of {} did not answer within {} s; the connection was "
                  "given up",
                  display_, PgAnswerSeconds())
            : fmt::format("The connection to the database {} broke: {}", display_, ErrorOf(conn_)));
  Raise(err::kHostFailure, lost_, "Korvel");
}

PgAnswer PgConnection::SendPipeline(const std::vector<Held>& held, const Held* now,
                                    std::vector<PgResult>& results) {
  ++round_trips_;
  begun_version_.clear();
  if (PQstatus(conn_) == CONNECTION_BAD || !PQenterPipelineMode(conn_)) return PgAnswer::kLost;
  auto send = [&](const Held& statement) {
    if (statement.name.empty())
      return PQsendQueryParams(conn_, statement.text.c_str(), 0, nullptr, nullptr, nullptr, nullptr,
                               0);
    std::vector<const char*> values;
    for (const auto& p : statement.params) values.push_back(p ? p->c_str() : nullptr);
    return PQsendQueryPrepared(conn_, statement.name.c_str(), static_cast<int>(values.size()),
                               values.data(), nullptr, nullptr, 0);
  };
  for (const Held& statement : held)
    if (!send(statement)) return PgAnswer::kLost;
  if (now && !send(*now)) return PgAnswer::kLost;
  if (!PQpipelineSync(conn_)) return PgAnswer::kLost;
  return AwaitPgPipeline(conn_, held.size() + (now ? 1 : 0), results, PgAnswerDeadline());
}

void PgConnection::CheckHeld(const std::vector<Held>& held, const std::vector<PgResult>& results) {
  for (size_t i = 0; i < held.size(); ++i) {
    if (!PgSucceeded(results[i].get()))
      RaisePgFailure(conn_, results[i].get(), held[i].shown, display_);
    if (held[i].counts) changes_ = std::atoll(PQcmdTuples(results[i].get()));
  }
}

PgResult PgConnection::Exchange(const Held* now) {
  if (!lost_.empty()) {
    held_.clear();
    Raise(err::kHostFailure, lost_, "Korvel");
  }
  const std::vector<Held> held = std::exchange(held_, {});
  std::vector<PgResult> results;
  const PgAnswer answer = SendPipeline(held, now, results);
  if (answer != PgAnswer::kAnswered) RaiseUnanswered(answer);
  CheckHeld(held, results);
  if (!now) return PgResult(nullptr, &PQclear);
  return std::move(results.back());
}

void PgConnection::SendHeld() {
  if (!held_.empty()) Exchange(nullptr);
}

int64_t PgConnection::LastChanges() {
  SendHeld();
  return changes_;
}

void PgConnection::Command(const std::string& sql, std::string_view shown) {
  SendHeld();
  PgResult result = Await(PQsendQuery(conn_, sql.c_str()), shown);
  if (!PgSucceeded(result.get())) RaisePgFailure(conn_, result.get(), shown, display_);
}

std::string PgConnection::Scalar(const std::string& sql) {
  const Held now{{}, sql, {}, sql};
  PgResult result = held_.empty() ? Await(PQsendQuery(conn_, sql.c_str()), sql) : Exchange(&now);
  if (!PgSucceeded(result.get())) RaisePgFailure(conn_, result.get(), sql, display_);
  return PQntuples(result.get()) > 0 ? PQgetvalue(result.get(), 0, 0) : "";
}

bool PgConnection::InTransaction() const { return PQtransactionStatus(conn_) == PQTRANS_INTRANS; }

void PgConnection::Exec(std::string_view sql) { Command(TranslateToPg(sql).text, sql); }

void PgConnection::BeginRead() {
  // One snapshot for every read of the call, taken at the first, as SQLite's
  // deferred transaction takes it; never written in (the write lock is taken
  // in a transaction of its own). The BEGIN goes with that first read.
  held_.push_back(Held{{}, kBeginRead, {}, "BEGIN"});
}

void PgConnection::BeginWrite() {
  // The transaction's id, taken now, is what a COMMIT whose answer is lost
  // is looked up by.
  // The snapshot, read with it, is the DataVersion that follows. A read
  // transaction still open ends in the same exchange (one whose BEGIN was
  // never sent needs no end).
  if (held_.size() == 1 && held_.front().text == kBeginRead) held_.clear();
  SendHeld();
  if (PQtransactionStatus(conn_) == PQTRANS_INERROR) {
    // A commit of a transaction that failed is a rollback: say so.
    Command("COMMIT", "COMMIT");
    Raise(err::kHostFailure, "Database error (COMMIT): the transaction was rolled back", "Korvel");
  }
  const std::string sql = fmt::format(
      "{}BEGIN; {}; SELECT {}::text, {}::text", InTransaction() ? "COMMIT; " : "", kWriteLock,
      PQserverVersion(conn_) >= kTransactionIdsSince ? "pg_current_xact_id()" : "txid_current()",
      watching_ ? kCounter : "pg_current_snapshot()");
  PgResult result = Await(PQsendQuery(conn_, sql.c_str()), "BEGIN");
  if (PgSucceeded(result.get()) && PQntuples(result.get()) == 1) {
    xid_ = PQgetvalue(result.get(), 0, 0);
    begun_version_ = PQgetvalue(result.get(), 0, 1);
    if (watching_) begun_version_ = std::to_string(std::atoll(begun_version_.c_str()) - own_bumps_);
    return;
  }
  if (PQtransactionStatus(conn_) != PQTRANS_IDLE) Rollback();
  RaisePgFailure(conn_, result.get(), "BEGIN", display_);
}

void PgConnection::CommitWrite() {
  if (!lost_.empty())
    Raise(err::kHostFailure, lost_ + " (the transaction was not committed)", "Korvel");
  // The writes held back go with the COMMIT, and so does the look at the
  // counter of changes: whether this transaction bumped it, and alone.
  std::vector<Held> held = std::exchange(held_, {});
  const size_t counter_at = held.size();
  const bool count = watching_ && InTransaction();
  if (count)
    held.push_back(Held{
        {}, "SELECT n, xid IS NOT DISTINCT FROM txid_current() FROM vtx_changes", {}, "COMMIT"});
  const Held commit{{}, "COMMIT", {}, "COMMIT"};
  std::vector<PgResult> results;
  const PgAnswer answer = SendPipeline(held, &commit, results);
  if (answer != PgAnswer::kAnswered) {
    FindOutCommit(answer == PgAnswer::kSilent
                      ? fmt::format("the server did not answer within {} s", PgAnswerSeconds())
                      : ErrorOf(conn_));
    return;
  }
  // A held write that failed: the COMMIT was skipped, the transaction is
  // still open for the caller to roll back.
  CheckHeld(held, results);
  xid_.clear();
  PGresult* done = results.back().get();
  if (!PgSucceeded(done)) RaisePgFailure(conn_, done, "COMMIT", display_);
  // A commit of a transaction that failed is a rollback: say so.
  if (std::string_view(PQcmdStatus(done)) == "ROLLBACK")
    Raise(err::kHostFailure, "Database error (COMMIT): the transaction was rolled back", "Korvel");
  // The one bump of our own is left out of the version; any other one (a
  // writer that committed while this transaction ran, before our bump: after
  // it, the counter's row lock holds it back until we commit) moves it.
  const PGresult* counter = count ? results[counter_at].get() : nullptr;
  if (counter && PQntuples(counter) == 1 && std::string_view(PQgetvalue(counter, 0, 1)) == "t")
    ++own_bumps_;
}

void PgConnection::FindOutCommit(const std::string& why) {
  const std::string xid = std::exchange(xid_, std::string());
  Lose(fmt::format("The connection to the database {} broke while it committed ({})", display_,
                   why));
  const std::string lost = lost_;
  std::string failure = "no transaction id";
  PGconn* fresh = xid.empty() ? nullptr : OpenSession(uri_, mode_, failure);
  const std::string outcome = fresh ? AskOutcome(fresh, backend_pid_, xid, failure) : "";
  if (outcome.empty()) {
    PQfinish(fresh);
    outcome_unknown_ = true;
    throw CommitOutcomeUnknown(fmt::format(
        "{}; whether the transaction committed could not be learnt ({}): outcome unknown", lost,
        failure));
  }
  // The new connection carries on; statements prepared on the old one are gone.
  conn_ = fresh;
  backend_pid_ = PQbackendPID(conn_);
  lost_.clear();
  ++generation_;
  if (outcome == "aborted")
    Raise(err::kHostFailure,
          lost + "; the server says the transaction did not commit: nothing of it is stored",
          "Korvel");
  notices_.push_back(lost + "; the server says the transaction committed");
}

std::vector<std::string> PgConnection::TakeNotices() { return std::exchange(notices_, {}); }

void PgConnection::Rollback() noexcept {
  held_.clear();  // undone before they were sent
  if (!lost_.empty()) return;
  try {
    Await(PQsendQuery(conn_, "ROLLBACK"), "ROLLBACK");
  } catch (const RuntimeError&) {
    // The connection is given up: the server rolls the transaction back.
  }
  xid_.clear();
}

std::string PgConnection::DataVersion() {
  if (!begun_version_.empty()) return std::exchange(begun_version_, std::string());
  if (!watching_) return Scalar("SELECT pg_current_snapshot()::text");
  return std::to_string(std::atoll(Scalar("SELECT n FROM vtx_changes").c_str()) - own_bumps_);
}

bool PgConnection::WatchesTables(const std::vector<std::string>& tables) {
  // Counted on the tables asked for alone, each once (classes may share
  // one): a trigger left on a table that is no longer the model's must not
  // stand in for a missing one.
  SendHeld();
  std::set<std::string> lower;
  for (const std::string& table : tables) lower.insert(PgLower(table));
  std::string names;
  for (const std::string& table : lower) names += (names.empty() ? "" : "\x1f") + table;
  const char* values[] = {names.c_str()};
  PgResult result = Await(
      PQsendQueryParams(conn_,
                        "SELECT count(DISTINCT c.relname) FROM pg_trigger t JOIN pg_class c ON "
                        "c.oid = t.tgrelid WHERE t.tgname = 'vtx_changed' AND c.relnamespace = "
                        "current_schema()::regnamespace AND c.relname = ANY "
                        "(string_to_array($1, chr(31)))",
                        1, nullptr, values, nullptr, nullptr, 0),
      "triggers");
  if (!PgSucceeded(result.get())) RaisePgFailure(conn_, result.get(), "triggers", display_);
  watching_ = std::atoll(PQgetvalue(result.get(), 0, 0)) == static_cast<int64_t>(lower.size());
  return watching_;
}

void PgConnection::WatchTables(const std::vector<std::string>& tables) {
  std::string sql = kCounterSetUp;
  for (const std::string& table : tables) {
    const std::string quoted = fmt::format("\"{}\"", PgLower(table));
    sql += fmt::format(
        "; DROP TRIGGER IF EXISTS vtx_changed ON {0}; CREATE TRIGGER vtx_changed AFTER INSERT OR "
        "UPDATE OR DELETE OR TRUNCATE ON {0} FOR EACH STATEMENT EXECUTE FUNCTION vtx_changed()",
        quoted);
  }
  Command(sql, "CREATE TRIGGER");
  watching_ = true;
}

int64_t PgConnection::TableCount() {
  return std::atoll(
      Scalar("SELECT count(*) FROM pg_tables WHERE schemaname = current_schema()").c_str());
}

bool PgConnection::HasTable(std::string_view name) {
  SendHeld();
  const std::string lower = PgLower(name);
  const char* values[] = {lower.c_str()};
  PgResult result = Await(PQsendQueryParams(conn_,
                                            "SELECT 1 FROM pg_tables WHERE schemaname = "
                                            "current_schema() AND tablename = $1",
                                            1, nullptr, values, nullptr, nullptr, 0),
                          "tables");
  if (!PgSucceeded(result.get())) RaisePgFailure(conn_, result.get(), "tables", display_);
  return PQntuples(result.get()) > 0;
}

void PgConnection::KnowSpellings(const std::vector<std::string>& names) {
  for (const std::string& name : names) spellings_.emplace(PgLower(name), name);
}

}  // namespace vtx::emu
