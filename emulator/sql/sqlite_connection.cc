#include "emulator/sql/sqlite_connection.h"

#include <sqlite3.h>

#include <cctype>
#include <cstring>
#include <filesystem>

#include <fmt/format.h>

#include "emulator/sql/database.h"
#include "emulator/sql/database_open_error.h"
#include "platform/fresh_folder.h"
#include "platform/utf8_path.h"
#include "runtime/runtime_error.h"

namespace vtx::emu {

namespace {

constexpr int kBusyTimeoutMs = 30000;

[[noreturn]] void FailWith(sqlite3* db, std::string_view what) {
  Raise(err::kHostFailure, fmt::format("Database error ({}): {}", what, sqlite3_errmsg(db)),
        "Korvel");
}

class SqliteCursor final : public SqlCursor {
 public:
  SqliteCursor(sqlite3* db, const std::string& sql, std::string path)
      : db_(db), path_(std::move(path)) {
    if (sqlite3_prepare_v2(db, sql.data(), static_cast<int>(sql.size()), &stmt_, nullptr) !=
        SQLITE_OK)
      FailWith(db, sql);
  }
  ~SqliteCursor() override { sqlite3_finalize(stmt_); }

  void BindNull(int index) override { Check(sqlite3_bind_null(stmt_, index)); }
  void BindInt(int index, int64_t value) override {
    Check(sqlite3_bind_int64(stmt_, index, value));
  }
  void BindReal(int index, double value) override {
    Check(sqlite3_bind_double(stmt_, index, value));
  }
  void BindText(int index, std::string_view value) override {
    Check(sqlite3_bind_text(stmt_, index, value.data(), static_cast<int>(value.size()),
                            SQLITE_TRANSIENT));
  }

  bool Step() override {
    const int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW) return true;
    if (rc == SQLITE_DONE) return false;
    const std::string sql = sqlite3_sql(stmt_) ? sqlite3_sql(stmt_) : "";
    sqlite3_reset(stmt_);
    if ((rc & 0xff) == SQLITE_BUSY)
      Raise(err::kHostFailure,
            fmt::format("The database {} stayed locked by another process for {} s", path_,
                        kBusyTimeoutMs / 1000),
            "Korvel");
    FailWith(db_, sql);
  }
  void Reset() override { sqlite3_reset(stmt_); }
  void ClearBindings() override { sqlite3_clear_bindings(stmt_); }
  bool ReadOnly() const override { return sqlite3_stmt_readonly(stmt_) != 0; }
  int ColumnCount() const override { return sqlite3_column_count(stmt_); }
  std::string ColumnName(int column) const override {
    const char* name = sqlite3_column_name(stmt_, column);
    return name ? name : "";
  }
  std::string DeclaredType(int column) const override {
    const char* type = sqlite3_column_decltype(stmt_, column);
    return type ? type : "";
  }
  SqlKind Kind(int column) const override {
    switch (sqlite3_column_type(stmt_, column)) {
      case SQLITE_NULL:
        return SqlKind::kNull;
      case SQLITE_INTEGER:
        return SqlKind::kInteger;
      case SQLITE_FLOAT:
        return SqlKind::kReal;
      default:
        return SqlKind::kText;
    }
  }
  int64_t Int(int column) const override { return sqlite3_column_int64(stmt_, column); }
  double Real(int column) const override { return sqlite3_column_double(stmt_, column); }
  std::string Text(int column) const override {
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, column));
    return std::string(text ? text : "", sqlite3_column_bytes(stmt_, column));
  }

 private:
  void Check(int rc) {
    if (rc != SQLITE_OK) FailWith(db_, "bind");
  }
  sqlite3* db_;
  sqlite3_stmt* stmt_ = nullptr;
  std::string path_;
};

// "file:" URI of a database file read as immutable: no lock, no -wal or -shm.
std::string ImmutableUri(const std::string& path) {
  std::string uri = "file:";
  for (unsigned char c : path) {
    if (std::isalnum(c) || std::strchr("/-_.~", c))
      uri += static_cast<char>(c);
    else
      uri += fmt::format("%{:02X}", c);
  }
  return uri + "?immutable=1";
}

// A folder of this process's own holding copy.db and copy.db-wal, copies of
// the database file and its -wal.
std::filesystem::path PrivateCopy(const std::string& path) {
  namespace fs = std::filesystem;
  std::error_code ec;
  const fs::path folder = MakeFreshFolder("vtx-read-");
  if (folder.empty())
    Raise(err::kHostFailure,
          fmt::format("Cannot read the database {}: no private folder for a copy of it", path),
          "Korvel");
  fs::copy_file(PathFromUtf8(path), folder / "copy.db", ec);
  if (!ec) fs::copy_file(PathFromUtf8(path + "-wal"), folder / "copy.db-wal", ec);
  if (ec) {
    const std::string reason = ec.message();
    fs::remove_all(folder, ec);
    Raise(err::kHostFailure, fmt::format("Cannot read the database {}: {}", path, reason),
          "Korvel");
  }
  return folder;
}

}  // namespace

SqliteConnection::SqliteConnection(const DatabaseLocation& location, OpenMode mode)
    : path_(location.Text()), memory_(location.IsMemory()) {
  const std::string& path = path_;
  const bool memory = memory_;
  if (memory) mode = OpenMode::kCreate;
  std::error_code ec;
  const std::filesystem::file_status status = std::filesystem::status(PathFromUtf8(path), ec);
  if (!memory && std::filesystem::is_directory(status))
    throw DatabaseOpenError(fmt::format("{}: a directory, not a database file", path));
  if (!memory && std::filesystem::exists(status) && !std::filesystem::is_regular_file(status))
    throw DatabaseOpenError(fmt::format("{}: a device, pipe or socket, not a database file", path));
  if (mode != OpenMode::kCreate && !std::filesystem::exists(status))
    throw DatabaseOpenError(fmt::format("{}: no such database (vtx init creates one)", path));
  int flags = SQLITE_OPEN_NOMUTEX;
  if (mode == OpenMode::kRead)
    flags |= SQLITE_OPEN_READONLY;
  else
    flags |= SQLITE_OPEN_READWRITE;
  if (mode == OpenMode::kCreate) flags |= SQLITE_OPEN_CREATE;
  Open(path, flags);
  if (mode == OpenMode::kRead && !SharesWal()) ReadWithoutSharing();
  try {
    // Per connection only: nothing here writes to the file.
    Exec("PRAGMA synchronous=NORMAL; PRAGMA foreign_keys=OFF;");
  } catch (const RuntimeError&) {
    const DatabaseDamage damage = LastDamage();
    sqlite3_close(db_);
    db_ = nullptr;
    RefuseIfDamaged(path, damage);
    throw;
  }
}

void SqliteConnection::Open(const std::string& name, int flags) {
  if (sqlite3_open_v2(name.c_str(), &db_, flags, nullptr) != SQLITE_OK) {
    const std::string message = db_ ? sqlite3_errmsg(db_) : "out of memory";
    sqlite3_close(db_);
    db_ = nullptr;
    Raise(err::kHostFailure, fmt::format("Cannot open the database {}: {}", path_, message),
          "Korvel");
  }
  sqlite3_busy_timeout(db_, kBusyTimeoutMs);
  sqlite3_extended_result_codes(db_, 1);
}

bool SqliteConnection::SharesWal() {
  // The first read opens the -wal and -shm files a database in WAL mode
  // keeps beside it; where they can neither be opened nor created (a folder
  // the reader cannot write) SQLite refuses it.
  const int rc = sqlite3_exec(db_, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr);
  return (rc & 0xff) != SQLITE_READONLY && (rc & 0xff) != SQLITE_CANTOPEN;
}

void SqliteConnection::ReadWithoutSharing() {
  sqlite3_close(db_);
  db_ = nullptr;
  std::error_code no_wal;
  if (std::filesystem::file_size(PathFromUtf8(path_ + "-wal"), no_wal) > 0 && !no_wal) {
    // Committed transactions may still sit in the -wal file: the database
    // is read through a private copy of both files, where SQLite can keep
    // its index of the -wal (reading the file alone would miss them).
    private_copy_ = PrivateCopy(path_);
    Open(Utf8FromPath(private_copy_ / "copy.db"), SQLITE_OPEN_NOMUTEX | SQLITE_OPEN_READONLY);
  } else {
    // The file alone holds the whole database, and nobody writes it who
    // could not create the -wal beside it: it is read as it is, unchanged.
    Open(ImmutableUri(path_), SQLITE_OPEN_NOMUTEX | SQLITE_OPEN_READONLY | SQLITE_OPEN_URI);
  }
}

SqliteConnection::~SqliteConnection() {
  begin_read_.reset();
  begin_.reset();
  commit_.reset();
  upgrade_.reset();
  data_version_.reset();
  sqlite3_close_v2(db_);
  if (!private_copy_.empty()) {
    std::error_code ignored;
    std::filesystem::remove_all(private_copy_, ignored);
  }
}

std::unique_ptr<SqlCursor> SqliteConnection::Prepare(const std::string& sql, bool) {
  return std::make_unique<SqliteCursor>(db_, sql, path_);
}

void SqliteConnection::Exec(std::string_view sql) {
  const std::string text(sql);
  char* message = nullptr;
  if (sqlite3_exec(db_, text.c_str(), nullptr, nullptr, &message) != SQLITE_OK) {
    const std::string m = message ? message : sqlite3_errmsg(db_);
    sqlite3_free(message);
    Raise(err::kHostFailure, fmt::format("Database error ({}): {}", text, m), "Korvel");
  }
}

void SqliteConnection::BeginRead() {
  // Deferred: the snapshot starts at the first read.
  if (!begin_read_) begin_read_ = Prepare("BEGIN", false);
  begin_read_->Reset();
  begin_read_->Step();
}

void SqliteConnection::BeginWrite() {
  if (!begin_) begin_ = Prepare("BEGIN IMMEDIATE", false);
  begin_->Reset();
  begin_->Step();
}

void SqliteConnection::CommitWrite() {
  if (!commit_) commit_ = Prepare("COMMIT", false);
  commit_->Reset();
  commit_->Step();
}

bool SqliteConnection::UpgradeToWrite() {
  // A write that changes nothing takes the write lock inside the read
  // transaction. SQLite refuses at once (without waiting) when another
  // connection holds the lock or has committed since the snapshot began.
  try {
    if (!upgrade_) upgrade_ = Prepare("DELETE FROM KV_OBJECTS WHERE 0", false);
    upgrade_->Reset();
    upgrade_->Step();
    return true;
  } catch (const RuntimeError&) {
    return false;
  }
}

void SqliteConnection::Rollback() noexcept {
  sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
}

std::string SqliteConnection::DataVersion() {
  if (!data_version_) data_version_ = Prepare("PRAGMA data_version", false);
  data_version_->Reset();
  const std::string version = data_version_->Step() ? data_version_->Text(0) : "";
  data_version_->Reset();
  return version;
}

int64_t SqliteConnection::TableCount() {
  SqliteCursor s(db_, "SELECT count(*) FROM sqlite_master", path_);
  s.Step();
  return s.Int(0);
}

bool SqliteConnection::HasTable(std::string_view name) {
  SqliteCursor s(db_, "SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = ?", path_);
  s.BindText(1, name);
  return s.Step();
}

void SqliteConnection::PrepareForSharing() {
  if (!memory_) Exec("PRAGMA journal_mode=WAL");
}

int64_t SqliteConnection::LastChanges() { return sqlite3_changes64(db_); }

DatabaseDamage SqliteConnection::LastDamage() const {
  switch (sqlite3_errcode(db_) & 0xff) {
    case SQLITE_NOTADB:
      return DatabaseDamage::kNotADatabase;
    case SQLITE_CORRUPT:
      return DatabaseDamage::kCorrupt;
    default:
      return DatabaseDamage::kNone;
  }
}

}  // namespace vtx::emu
