#include "emulator/store/database.h"

#include <sqlite3.h>

#include <filesystem>

#include <fmt/format.h>

#include "emulator/store/database_open_error.h"

namespace vtx::emu {

namespace {

constexpr int kBusyTimeoutMs = 30000;

[[noreturn]] void FailWith(sqlite3* db, std::string_view what) {
  Raise(err::kHostFailure, fmt::format("Database error ({}): {}", what, sqlite3_errmsg(db)),
        "Korvel");
}

}  // namespace

void RefuseIfUnreadable(const std::string& path, int code) {
  if (code == SQLITE_NOTADB)
    throw DatabaseOpenError(fmt::format("{}: not a database of this system", path));
  if (code == SQLITE_CORRUPT)
    throw DatabaseOpenError(fmt::format("{}: the database file is corrupt", path));
}

Variant SqlValueToVariant(sqlite3_stmt* statement, int column) {
  switch (sqlite3_column_type(statement, column)) {
    case SQLITE_NULL:
      return Variant::Null();
    case SQLITE_INTEGER: {
      const int64_t v = sqlite3_column_int64(statement, column);
      if (v >= INT32_MIN && v <= INT32_MAX) return Variant(static_cast<int32_t>(v));
      return Variant(static_cast<double>(v));
    }
    case SQLITE_FLOAT:
      return Variant(sqlite3_column_double(statement, column));
    default: {
      const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
      return Variant(std::string(text ? text : "", sqlite3_column_bytes(statement, column)));
    }
  }
}

Statement::Statement(sqlite3* db, std::string_view sql) : db_(db) {
  if (sqlite3_prepare_v2(db, sql.data(), static_cast<int>(sql.size()), &stmt_, nullptr) !=
      SQLITE_OK)
    FailWith(db, sql);
}

Statement::Statement(Database& owner, sqlite3_stmt* stmt, std::string sql)
    : db_(owner.db_), stmt_(stmt), owner_(&owner), sql_(std::move(sql)) {}

Statement::~Statement() {
  if (owner_ && stmt_) {
    owner_->Recycle(std::move(sql_), stmt_);
  } else {
    sqlite3_finalize(stmt_);
  }
}

Statement::Statement(Statement&& other) noexcept
    : db_(other.db_), stmt_(other.stmt_), owner_(other.owner_), sql_(std::move(other.sql_)) {
  other.stmt_ = nullptr;
}

Statement& Statement::Bind(int index, const Variant& value) {
  int rc = SQLITE_OK;
  switch (value.Type()) {
    case VarType::kEmpty:
    case VarType::kNull:
      rc = sqlite3_bind_null(stmt_, index);
      break;
    case VarType::kI2:
      rc = sqlite3_bind_int(stmt_, index, value.AsI2());
      break;
    case VarType::kI4:
      rc = sqlite3_bind_int(stmt_, index, value.AsI4());
      break;
    case VarType::kBool:
      rc = sqlite3_bind_int(stmt_, index, value.AsBool() ? -1 : 0);
      break;
    case VarType::kR8:
      rc = sqlite3_bind_double(stmt_, index, value.AsR8());
      break;
    case VarType::kDate:
      rc = sqlite3_bind_double(stmt_, index, value.AsDate());
      break;
    case VarType::kString:
      return BindText(index, value.AsString());
    default:
      Raise(err::kTypeMismatch);
  }
  if (rc != SQLITE_OK) FailWith(db_, "bind");
  return *this;
}

Statement& Statement::BindInt(int index, int64_t value) {
  if (sqlite3_bind_int64(stmt_, index, value) != SQLITE_OK) FailWith(db_, "bind");
  return *this;
}

Statement& Statement::BindText(int index, std::string_view value) {
  if (sqlite3_bind_text(stmt_, index, value.data(), static_cast<int>(value.size()),
                        SQLITE_TRANSIENT) != SQLITE_OK)
    FailWith(db_, "bind");
  return *this;
}

Statement& Statement::BindAll(const std::vector<Variant>& values) {
  for (size_t i = 0; i < values.size(); ++i) Bind(static_cast<int>(i) + 1, values[i]);
  return *this;
}

bool Statement::Step() {
  if (owner_ && owner_->calls_ > 0 && !owner_->call_open_) {
    if (sqlite3_stmt_readonly(stmt_))
      owner_->WillRead();
    else
      owner_->WillWrite();
  }
  const int rc = sqlite3_step(stmt_);
  if (rc == SQLITE_ROW) return true;
  if (rc == SQLITE_DONE) return false;
  const std::string sql = sqlite3_sql(stmt_) ? sqlite3_sql(stmt_) : "";
  sqlite3_reset(stmt_);
  if ((rc & 0xff) == SQLITE_BUSY)
    Raise(err::kHostFailure,
          fmt::format("The database {} stayed locked by another process for {} s",
                      owner_ ? owner_->Path() : std::string(), kBusyTimeoutMs / 1000),
          "Korvel");
  FailWith(db_, sql);
}

void Statement::Reset() { sqlite3_reset(stmt_); }

bool Statement::ReadOnly() const { return sqlite3_stmt_readonly(stmt_) != 0; }

int Statement::ColumnCount() const { return sqlite3_column_count(stmt_); }

std::string Statement::ColumnName(int column) const {
  const char* name = sqlite3_column_name(stmt_, column);
  return name ? name : "";
}

bool Statement::IsNull(int column) const {
  return sqlite3_column_type(stmt_, column) == SQLITE_NULL;
}

int64_t Statement::Int(int column) const { return sqlite3_column_int64(stmt_, column); }

double Statement::Real(int column) const { return sqlite3_column_double(stmt_, column); }

std::string Statement::Text(int column) const {
  const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, column));
  return std::string(text ? text : "", sqlite3_column_bytes(stmt_, column));
}

Variant Statement::Value(int column) const { return SqlValueToVariant(stmt_, column); }

Database::Database(const std::string& path, OpenMode mode) : path_(path) {
  if (IsMemory()) mode = OpenMode::kCreate;
  if (mode != OpenMode::kCreate && !std::filesystem::exists(path))
    throw DatabaseOpenError(fmt::format("{}: no such database (vtx init creates one)", path));
  int flags = SQLITE_OPEN_NOMUTEX;
  if (mode == OpenMode::kRead)
    flags |= SQLITE_OPEN_READONLY;
  else
    flags |= SQLITE_OPEN_READWRITE;
  if (mode == OpenMode::kCreate) flags |= SQLITE_OPEN_CREATE;
  if (sqlite3_open_v2(path.c_str(), &db_, flags, nullptr) != SQLITE_OK) {
    const std::string message = db_ ? sqlite3_errmsg(db_) : "out of memory";
    sqlite3_close(db_);
    db_ = nullptr;
    Raise(err::kHostFailure, fmt::format("Cannot open the database {}: {}", path, message),
          "Korvel");
  }
  sqlite3_busy_timeout(db_, kBusyTimeoutMs);
  sqlite3_extended_result_codes(db_, 1);
  try {
    // Per connection only: nothing here writes to the file.
    Exec("PRAGMA synchronous=NORMAL; PRAGMA foreign_keys=OFF;");
  } catch (const RuntimeError&) {
    const int code = LastErrorCode();
    sqlite3_close(db_);
    db_ = nullptr;
    RefuseIfUnreadable(path, code);
    throw;
  }
}

Database::~Database() {
  for (auto& [sql, statements] : idle_)
    for (sqlite3_stmt* stmt : statements) sqlite3_finalize(stmt);
  sqlite3_close_v2(db_);
}

Statement Database::Prepare(std::string_view sql) {
  std::string text(sql);
  auto it = idle_.find(text);
  if (it != idle_.end() && !it->second.empty()) {
    sqlite3_stmt* stmt = it->second.back();
    it->second.pop_back();
    return Statement(*this, stmt, std::move(text));
  }
  sqlite3_stmt* stmt = nullptr;
  if (sqlite3_prepare_v2(db_, text.data(), static_cast<int>(text.size()), &stmt, nullptr) !=
      SQLITE_OK)
    FailWith(db_, text);
  return Statement(*this, stmt, std::move(text));
}

void Database::Recycle(std::string sql, sqlite3_stmt* stmt) {
  // Texts that embed values would pile up: keep a few statements per text and
  // a bounded number of texts, and let the rest go.
  constexpr size_t kIdlePerText = 4;
  constexpr size_t kIdleTexts = 256;
  sqlite3_reset(stmt);
  sqlite3_clear_bindings(stmt);
  auto it = idle_.find(sql);
  if (it == idle_.end() && idle_.size() < kIdleTexts)
    it = idle_.emplace(std::move(sql), std::vector<sqlite3_stmt*>{}).first;
  if (it != idle_.end() && it->second.size() < kIdlePerText) {
    it->second.push_back(stmt);
  } else {
    sqlite3_finalize(stmt);
  }
}

void Database::Exec(std::string_view sql) {
  const std::string text(sql);
  char* message = nullptr;
  if (sqlite3_exec(db_, text.c_str(), nullptr, nullptr, &message) != SQLITE_OK) {
    const std::string m = message ? message : sqlite3_errmsg(db_);
    sqlite3_free(message);
    Raise(err::kHostFailure, fmt::format("Database error ({}): {}", text, m), "Korvel");
  }
}

int64_t Database::LastChanges() const { return sqlite3_changes64(db_); }

int64_t Database::LastInsertId() const { return sqlite3_last_insert_rowid(db_); }

int Database::LastErrorCode() const { return sqlite3_errcode(db_) & 0xff; }

void Database::Fail(std::string_view what) const { FailWith(db_, what); }

void Database::BeginCall() {
  if (calls_++ == 0) Generation();
}

void Database::WillRead() {
  if (read_open_) return;
  read_open_ = true;
  try {
    Prepare("BEGIN").Run();
  } catch (...) {
    read_open_ = false;
    throw;
  }
}

void Database::EndRead() {
  if (!read_open_) return;
  // Ends a transaction that only read: nothing to write, nothing to lose.
  Prepare("COMMIT").Run();
  read_open_ = false;
}

void Database::WillWrite() {
  if (calls_ == 0 || call_open_ || depth_ > 0) return;
  // The write lock is taken afresh rather than by upgrading the read
  // snapshot, which fails outright when another process wrote since it began.
  EndRead();
  call_open_ = true;  // BEGIN IMMEDIATE is a write to SQLite too
  try {
    Prepare("BEGIN IMMEDIATE").Run();
  } catch (...) {
    call_open_ = false;
    throw;
  }
  depth_ = 1;
  // Another process may have written between our reads and the lock.
  Generation();
}

void Database::LockCall() { WillWrite(); }

void Database::CommitCallWrites() {
  EndRead();
  if (!call_open_ || depth_ != 1) return;
  Prepare("COMMIT").Run();
  call_open_ = false;
  depth_ = 0;
}

void Database::EndCall() {
  if (calls_ > 1) {
    --calls_;
    return;
  }
  try {
    CommitCallWrites();
  } catch (...) {
    AbandonCall();
    throw;
  }
  calls_ = 0;
}

void Database::AbandonCall() noexcept {
  if (calls_ > 1) {
    --calls_;
    return;
  }
  if (call_open_ || read_open_) sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
  if (call_open_) ++generation_;
  read_open_ = false;
  call_open_ = false;
  depth_ = 0;
  calls_ = 0;
}

uint64_t Database::Generation() {
  Statement s = Prepare("PRAGMA data_version");
  const int64_t version = s.Step() ? s.Int(0) : -1;
  if (version != data_version_) {
    data_version_ = version;
    ++generation_;
  }
  return generation_;
}

Database::Transaction::Transaction(Database& db) : db_(db), level_(db.depth_) {
  db_.WillWrite();
  level_ = db_.depth_;
  if (level_ == 0)
    db_.Prepare("BEGIN IMMEDIATE").Run();
  else
    db_.Prepare(fmt::format("SAVEPOINT sp{}", level_)).Run();
  ++db_.depth_;
}

Database::Transaction::~Transaction() {
  if (done_) return;
  --db_.depth_;
  // A failed rollback leaves nothing to do but report it on the next use.
  ++db_.generation_;
  try {
    if (level_ == 0) {
      db_.Prepare("ROLLBACK").Run();
    } else {
      db_.Prepare(fmt::format("ROLLBACK TO sp{}", level_)).Run();
      db_.Prepare(fmt::format("RELEASE sp{}", level_)).Run();
    }
  } catch (const RuntimeError&) {
  }
}

void Database::Transaction::Commit() {
  if (level_ == 0)
    db_.Prepare("COMMIT").Run();
  else
    db_.Prepare(fmt::format("RELEASE sp{}", level_)).Run();
  done_ = true;
  --db_.depth_;
}

std::string QuoteId(std::string_view identifier) {
  std::string out = "\"";
  for (char c : identifier) {
    if (c == '"') out += '"';
    out += c;
  }
  out += '"';
  return out;
}

}  // namespace vtx::emu
