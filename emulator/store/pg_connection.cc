#include "emulator/store/pg_connection.h"

#include <libpq-fe.h>

#include <cstdlib>

#include <fmt/format.h>

#include "emulator/store/database_open_error.h"
#include "emulator/store/pg_cursor.h"
#include "emulator/store/pg_failure.h"
#include "emulator/store/pg_sql_text.h"
#include "runtime/runtime_error.h"

namespace vtx::emu {

namespace {

// The key of the advisory lock every writer of a database takes (advisory
// locks are per database, so one key serves every database of a server).
constexpr const char* kBeginWrite = "BEGIN; SELECT pg_advisory_xact_lock(7627896)";

void IgnoreNotice(void*, const char*) {}

PGconn* Connect(const std::string& uri, const char* dbname_override) {
  const char* keys[] = {"dbname", dbname_override ? "dbname" : nullptr, nullptr};
  const char* values[] = {uri.c_str(), dbname_override, nullptr};
  return PQconnectdbParams(keys, values, 1);
}

std::string DatabaseName(const std::string& uri) {
  char* error = nullptr;
  PQconninfoOption* options = PQconninfoParse(uri.c_str(), &error);
  PQfreemem(error);
  std::string name;
  for (PQconninfoOption* o = options; o && o->keyword; ++o)
    if (std::string_view(o->keyword) == "dbname" && o->val) name = o->val;
  PQconninfoFree(options);
  return name;
}

// Creates the database `uri` names through the server's own "postgres"
// database. Another process creating it at the same moment is no failure.
void CreateDatabase(const std::string& uri, const std::string& display) {
  std::unique_ptr<PGconn, decltype(&PQfinish)> admin(Connect(uri, "postgres"), &PQfinish);
  if (PQstatus(admin.get()) != CONNECTION_OK)
    Raise(err::kHostFailure,
          fmt::format("Cannot create the database {}: {}", display, PQerrorMessage(admin.get())),
          "Korvel");
  const std::string name = DatabaseName(uri);
  char* quoted = PQescapeIdentifier(admin.get(), name.c_str(), name.size());
  const std::string sql = fmt::format(
      "CREATE DATABASE {} TEMPLATE template0 ENCODING 'UTF8' LC_COLLATE 'C' LC_CTYPE 'C'",
      quoted ? quoted : name);
  PQfreemem(quoted);
  PgResult result(PQexec(admin.get(), sql.c_str()), &PQclear);
  const char* state = PQresultErrorField(result.get(), PG_DIAG_SQLSTATE);
  if (!PgSucceeded(result.get()) &&
      !(state && (std::string_view(state) == "42P04" || std::string_view(state) == "23505")))
    RaisePgFailure(admin.get(), result.get(), sql, display);
}

}  // namespace

PgConnection::PgConnection(const std::string& uri, std::string display, OpenMode mode)
    : display_(std::move(display)) {
  conn_ = Connect(uri, nullptr);
  if (PQstatus(conn_) != CONNECTION_OK) {
    const std::string message = PQerrorMessage(conn_);
    PQfinish(conn_);
    conn_ = nullptr;
    if (message.find("does not exist") == std::string::npos)
      Raise(err::kHostFailure, fmt::format("Cannot open the database {}: {}", display_, message),
            "Korvel");
    if (mode != OpenMode::kCreate)
      throw DatabaseOpenError(fmt::format("{}: no such database (vtx init creates one)", display_));
    CreateDatabase(uri, display_);
    conn_ = Connect(uri, nullptr);
    if (PQstatus(conn_) != CONNECTION_OK) {
      const std::string again = PQerrorMessage(conn_);
      PQfinish(conn_);
      conn_ = nullptr;
      Raise(err::kHostFailure, fmt::format("Cannot open the database {}: {}", display_, again),
            "Korvel");
    }
  }
  PQsetNoticeProcessor(conn_, IgnoreNotice, nullptr);
  std::string settings = fmt::format(
      "SET lock_timeout = '{}s'; SET client_min_messages = warning; SET extra_float_digits = 1;"
      " SET TIME ZONE 'UTC'",
      kPgLockTimeoutSeconds);
  if (mode == OpenMode::kRead) settings += "; SET default_transaction_read_only = on";
  try {
    Command(settings, "open");
  } catch (...) {
    PQfinish(conn_);
    conn_ = nullptr;
    throw;
  }
}

PgConnection::~PgConnection() { PQfinish(conn_); }

std::unique_ptr<SqlCursor> PgConnection::Prepare(const std::string& sql, bool guarded) {
  return MakePgCursor(*this, sql, guarded);
}

void PgConnection::Command(const std::string& sql, std::string_view shown) {
  PgResult result(PQexec(conn_, sql.c_str()), &PQclear);
  if (!PgSucceeded(result.get())) RaisePgFailure(conn_, result.get(), shown, display_);
}

std::string PgConnection::Scalar(const std::string& sql) {
  PgResult result(PQexec(conn_, sql.c_str()), &PQclear);
  if (!PgSucceeded(result.get())) RaisePgFailure(conn_, result.get(), sql, display_);
  return PQntuples(result.get()) > 0 ? PQgetvalue(result.get(), 0, 0) : "";
}

bool PgConnection::InTransaction() const { return PQtransactionStatus(conn_) == PQTRANS_INTRANS; }

void PgConnection::Exec(std::string_view sql) { Command(TranslateToPg(sql).text, sql); }

void PgConnection::BeginRead() {
  // One snapshot for every read of the call, taken at the first, as SQLite's
  // deferred transaction takes it; never written in (the write lock is taken
  // in a transaction of its own).
  Command("BEGIN ISOLATION LEVEL REPEATABLE READ", "BEGIN");
}

void PgConnection::BeginWrite() {
  PgResult result(PQexec(conn_, kBeginWrite), &PQclear);
  if (PgSucceeded(result.get())) return;
  if (PQtransactionStatus(conn_) != PQTRANS_IDLE) PQclear(PQexec(conn_, "ROLLBACK"));
  RaisePgFailure(conn_, result.get(), "BEGIN", display_);
}

void PgConnection::Rollback() noexcept { PQclear(PQexec(conn_, "ROLLBACK")); }

std::string PgConnection::DataVersion() { return Scalar("SELECT pg_current_snapshot()::text"); }

int64_t PgConnection::TableCount() {
  return std::atoll(
      Scalar("SELECT count(*) FROM pg_tables WHERE schemaname = current_schema()").c_str());
}

bool PgConnection::HasTable(std::string_view name) {
  const std::string lower = PgLower(name);
  const char* values[] = {lower.c_str()};
  PgResult result(PQexecParams(conn_,
                               "SELECT 1 FROM pg_tables WHERE schemaname = current_schema()"
                               " AND tablename = $1",
                               1, nullptr, values, nullptr, nullptr, 0),
                  &PQclear);
  if (!PgSucceeded(result.get())) RaisePgFailure(conn_, result.get(), "tables", display_);
  return PQntuples(result.get()) > 0;
}

void PgConnection::KnowSpellings(const std::vector<std::string>& names) {
  for (const std::string& name : names) spellings_.emplace(PgLower(name), name);
}

}  // namespace vtx::emu
