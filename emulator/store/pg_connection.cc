#include "emulator/store/pg_connection.h"

#include <libpq-fe.h>

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <optional>
#include <vector>

#include <fmt/format.h>

#include "emulator/store/database_open_error.h"
#include "emulator/store/pg_sql_text.h"
#include "runtime/runtime_error.h"

namespace vtx::emu {

namespace {

constexpr int kLockTimeoutSeconds = 30;
// The key of the advisory lock every writer of a database takes (advisory
// locks are per database, so one key serves every database of a server).
constexpr const char* kBeginWrite = "BEGIN; SELECT pg_advisory_xact_lock(7627896)";

// Type oids of PostgreSQL's catalog (pg_type.h is not part of libpq).
constexpr Oid kBool = 16, kInt8 = 20, kInt2 = 21, kInt4 = 23, kOid = 26, kFloat4 = 700,
              kFloat8 = 701, kNumeric = 1700, kText = 25;

using Result = std::unique_ptr<PGresult, decltype(&PQclear)>;

std::string Lower(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

// `name` as the SQL text spells it (identifiers match without regard to
// case), or as given when the text does not hold it.
std::string AsSpelled(std::string_view sql, const std::string& name) {
  const std::string lower_sql = Lower(sql);
  const std::string lower_name = Lower(name);
  for (size_t at = lower_sql.find(lower_name); at != std::string::npos;
       at = lower_sql.find(lower_name, at + 1)) {
    const size_t end = at + lower_name.size();
    auto word = [](char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; };
    if ((at == 0 || !word(sql[at - 1])) && (end >= sql.size() || !word(sql[end])))
      return std::string(sql.substr(at, lower_name.size()));
  }
  return name;
}

// The quoted name in a message such as `relation "x" does not exist`.
std::string QuotedIn(const std::string& message) {
  const size_t open = message.find('"');
  const size_t close = open == std::string::npos ? open : message.find('"', open + 1);
  if (close == std::string::npos) return {};
  return message.substr(open + 1, close - open - 1);
}

// Raises the failure of `result` in the words SQLite uses for the same
// fault where there are such words, so that what the add-in is told does not
// depend on the backend.
[[noreturn]] void Fail(PGconn* conn, const PGresult* result, std::string_view sql,
                       const std::string& display) {
  const char* state = result ? PQresultErrorField(result, PG_DIAG_SQLSTATE) : nullptr;
  const char* primary = result ? PQresultErrorField(result, PG_DIAG_MESSAGE_PRIMARY) : nullptr;
  std::string message = primary ? primary : PQerrorMessage(conn);
  while (!message.empty() && std::isspace(static_cast<unsigned char>(message.back())))
    message.pop_back();
  const std::string code = state ? state : "";
  if (code == "55P03")
    Raise(err::kHostFailure,
          fmt::format("The database {} stayed locked by another process for {} s", display,
                      kLockTimeoutSeconds),
          "Korvel");
  if (code == "42P01") message = "no such table: " + AsSpelled(sql, QuotedIn(message));
  if (code == "42703") message = "no such column: " + AsSpelled(sql, QuotedIn(message));
  if (code == "42601" && !QuotedIn(message).empty())
    message = fmt::format("near \"{}\": syntax error", QuotedIn(message));
  Raise(err::kHostFailure, fmt::format("Database error ({}): {}", sql, message), "Korvel");
}

bool Succeeded(const PGresult* result) {
  const ExecStatusType status = PQresultStatus(result);
  return status == PGRES_COMMAND_OK || status == PGRES_TUPLES_OK;
}

void IgnoreNotice(void*, const char*) {}

}  // namespace

class PgCursor final : public SqlCursor {
 public:
  PgCursor(PgConnection& owner, const std::string& sql, bool guarded)
      : owner_(owner), original_(sql), sql_(TranslateToPg(sql)), guarded_(guarded) {
    params_.resize(static_cast<size_t>(sql_.parameters));
    if (!sql_.preparable) return;
    name_ = fmt::format("vtx_{}", ++owner_.next_name_);
    Guard([&] {
      // A parameter the text never names has no type to infer: call it text.
      std::vector<Oid> types;
      for (bool used : sql_.used) types.push_back(used ? 0 : kText);
      Result prepared(
          PQprepare(owner_.conn_, name_.c_str(), sql_.text.c_str(), sql_.parameters, types.data()),
          &PQclear);
      if (!Succeeded(prepared.get())) name_.clear();
      return prepared;
    });
  }

  ~PgCursor() override {
    if (!name_.empty() && PQtransactionStatus(owner_.conn_) != PQTRANS_INERROR)
      PQclear(PQexec(owner_.conn_, ("DEALLOCATE " + name_).c_str()));
  }

  void BindNull(int index) override { Param(index).reset(); }
  void BindInt(int index, int64_t value) override { Param(index) = std::to_string(value); }
  void BindReal(int index, double value) override { Param(index) = fmt::format("{}", value); }
  void BindText(int index, std::string_view value) override { Param(index) = std::string(value); }

  bool Step() override {
    if (!result_) Execute();
    if (sql_.returns_row_id) return false;
    return ++row_ < PQntuples(result_.get());
  }

  void Reset() override {
    result_.reset();
    row_ = -1;
  }
  void ClearBindings() override {
    for (auto& p : params_) p.reset();
  }
  bool ReadOnly() const override { return sql_.read_only; }

  int ColumnCount() const override { return Columns() ? PQnfields(Columns()) : 0; }
  std::string ColumnName(int column) const override {
    const std::string name = PQfname(Columns(), column);
    if (PQftable(Columns(), column) != InvalidOid) {
      auto it = owner_.spellings_.find(name);
      if (it != owner_.spellings_.end()) return it->second;
    }
    return AsSpelled(original_, name);
  }
  std::string DeclaredType(int column) const override {
    if (PQftable(Columns(), column) == InvalidOid) return {};
    switch (PQftype(Columns(), column)) {
      case kInt2:
      case kInt4:
      case kInt8:
        return "INTEGER";
      case kFloat4:
      case kFloat8:
        return "REAL";
      case kNumeric:
        return "NUMERIC";
      default:
        return "TEXT";
    }
  }
  SqlKind Kind(int column) const override {
    if (PQgetisnull(result_.get(), row_, column)) return SqlKind::kNull;
    switch (PQftype(result_.get(), column)) {
      case kBool:
      case kInt2:
      case kInt4:
      case kInt8:
      case kOid:
        return SqlKind::kInteger;
      case kFloat4:
      case kFloat8:
        return SqlKind::kReal;
      case kNumeric: {
        // SQLite's NUMERIC keeps a whole number as an integer.
        const double v = std::strtod(Raw(column), nullptr);
        return std::trunc(v) == v && std::fabs(v) < 9.2e18 ? SqlKind::kInteger : SqlKind::kReal;
      }
      default:
        return SqlKind::kText;
    }
  }
  int64_t Int(int column) const override {
    const char* raw = Raw(column);
    if (PQftype(result_.get(), column) == kBool) return raw[0] == 't' ? 1 : 0;
    if (Kind(column) == SqlKind::kReal || PQftype(result_.get(), column) == kNumeric)
      return static_cast<int64_t>(std::strtod(raw, nullptr));
    return std::strtoll(raw, nullptr, 10);
  }
  double Real(int column) const override {
    if (PQftype(result_.get(), column) == kBool) return Int(column);
    return std::strtod(Raw(column), nullptr);
  }
  std::string Text(int column) const override {
    switch (Kind(column)) {
      case SqlKind::kNull:
        return {};
      case SqlKind::kReal: {
        // As SQLite writes a REAL: 15 significant digits, "3.0" for three.
        std::string text = fmt::format("{:.15g}", Real(column));
        if (text.find_first_of(".eni") == std::string::npos) text += ".0";
        return text;
      }
      case SqlKind::kInteger:
        return std::to_string(Int(column));
      default:
        return std::string(Raw(column),
                           static_cast<size_t>(PQgetlength(result_.get(), row_, column)));
    }
  }

 private:
  std::optional<std::string>& Param(int index) {
    if (index < 1 || index > static_cast<int>(params_.size()))
      Raise(err::kHostFailure,
            fmt::format("Database error (bind): column index out of range ({})", original_),
            "Korvel");
    return params_[static_cast<size_t>(index) - 1];
  }

  const char* Raw(int column) const { return PQgetvalue(result_.get(), row_, column); }

  // The columns: of the result, or (asked before the statement ran) of its
  // description.
  const PGresult* Columns() const {
    if (result_) return result_.get();
    if (!columns_ && !name_.empty())
      columns_ = Result(PQdescribePrepared(owner_.conn_, name_.c_str()), &PQclear);
    return columns_.get();
  }

  // Runs `work` (which returns the result that tells whether it failed); a
  // guarded statement inside a transaction runs in a savepoint of its own,
  // so that its failure leaves the transaction as it was, as on SQLite.
  template <typename Work>
  Result Guard(Work work) {
    const bool savepoint = guarded_ && owner_.InTransaction();
    if (savepoint) owner_.Command("SAVEPOINT vtx_guard", original_);
    Result result = work();
    if (Succeeded(result.get())) {
      if (savepoint) owner_.Command("RELEASE vtx_guard", original_);
      return result;
    }
    if (savepoint) PQclear(PQexec(owner_.conn_, "ROLLBACK TO vtx_guard; RELEASE vtx_guard"));
    Fail(owner_.conn_, result.get(), original_, owner_.display_);
  }

  void Execute() {
    row_ = -1;
    if (!sql_.preparable) {
      result_ = Guard([&] { return Result(PQexec(owner_.conn_, sql_.text.c_str()), &PQclear); });
      // A commit of a transaction that failed is a rollback: say so.
      if (std::string_view(PQcmdStatus(result_.get())) == "ROLLBACK" &&
          Lower(original_).rfind("commit", 0) == 0)
        Raise(err::kHostFailure,
              fmt::format("Database error ({}): the transaction was rolled back", original_),
              "Korvel");
      return;
    }
    std::vector<const char*> values;
    for (const auto& p : params_) values.push_back(p ? p->c_str() : nullptr);
    result_ = Guard([&] {
      return Result(PQexecPrepared(owner_.conn_, name_.c_str(), static_cast<int>(values.size()),
                                   values.data(), nullptr, nullptr, 0),
                    &PQclear);
    });
    if (!sql_.read_only) owner_.changes_ = std::atoll(PQcmdTuples(result_.get()));
    if (sql_.returns_row_id && PQntuples(result_.get()) > 0)
      owner_.insert_id_ = std::atoll(PQgetvalue(result_.get(), 0, 0));
  }

  PgConnection& owner_;
  std::string original_;
  PgSqlText sql_;
  bool guarded_;
  std::string name_;
  std::vector<std::optional<std::string>> params_;
  mutable Result columns_{nullptr, &PQclear};
  Result result_{nullptr, &PQclear};
  int row_ = -1;
};

namespace {

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
  Result result(PQexec(admin.get(), sql.c_str()), &PQclear);
  const char* state = PQresultErrorField(result.get(), PG_DIAG_SQLSTATE);
  if (!Succeeded(result.get()) &&
      !(state && (std::string_view(state) == "42P04" || std::string_view(state) == "23505")))
    Fail(admin.get(), result.get(), sql, display);
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
      kLockTimeoutSeconds);
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
  return std::make_unique<PgCursor>(*this, sql, guarded);
}

void PgConnection::Command(const std::string& sql, std::string_view shown) {
  Result result(PQexec(conn_, sql.c_str()), &PQclear);
  if (!Succeeded(result.get())) Fail(conn_, result.get(), shown, display_);
}

std::string PgConnection::Scalar(const std::string& sql) {
  Result result(PQexec(conn_, sql.c_str()), &PQclear);
  if (!Succeeded(result.get())) Fail(conn_, result.get(), sql, display_);
  return PQntuples(result.get()) > 0 ? PQgetvalue(result.get(), 0, 0) : "";
}

bool PgConnection::InTransaction() const { return PQtransactionStatus(conn_) == PQTRANS_INTRANS; }

void PgConnection::Exec(std::string_view sql) { Command(TranslateToPg(sql).text, sql); }

void PgConnection::BeginWrite() {
  Result result(PQexec(conn_, kBeginWrite), &PQclear);
  if (Succeeded(result.get())) return;
  if (PQtransactionStatus(conn_) != PQTRANS_IDLE) PQclear(PQexec(conn_, "ROLLBACK"));
  Fail(conn_, result.get(), "BEGIN", display_);
}

void PgConnection::Rollback() noexcept { PQclear(PQexec(conn_, "ROLLBACK")); }

std::string PgConnection::DataVersion() { return Scalar("SELECT pg_current_snapshot()::text"); }

int64_t PgConnection::TableCount() {
  return std::atoll(
      Scalar("SELECT count(*) FROM pg_tables WHERE schemaname = current_schema()").c_str());
}

bool PgConnection::HasTable(std::string_view name) {
  const std::string lower = Lower(name);
  const char* values[] = {lower.c_str()};
  Result result(PQexecParams(conn_,
                             "SELECT 1 FROM pg_tables WHERE schemaname = current_schema()"
                             " AND tablename = $1",
                             1, nullptr, values, nullptr, nullptr, 0),
                &PQclear);
  if (!Succeeded(result.get())) Fail(conn_, result.get(), "tables", display_);
  return PQntuples(result.get()) > 0;
}

void PgConnection::KnowSpellings(const std::vector<std::string>& names) {
  for (const std::string& name : names) spellings_.emplace(Lower(name), name);
}

}  // namespace vtx::emu
