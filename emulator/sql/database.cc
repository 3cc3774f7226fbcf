#include "emulator/sql/database.h"

#include <fmt/format.h>

#include "emulator/sql/database_open_error.h"
#include "emulator/sql/server_connection.h"
#include "emulator/sql/sqlite_connection.h"

namespace vtx::emu {

void RefuseIfDamaged(const std::string& path, DatabaseDamage damage) {
  if (damage == DatabaseDamage::kNotADatabase)
    throw DatabaseOpenError(fmt::format("{}: not a database of this system", path));
  if (damage == DatabaseDamage::kCorrupt)
    throw DatabaseOpenError(fmt::format("{}: the database file is corrupt", path));
}

Statement::Statement(Database& owner, std::unique_ptr<SqlCursor> cursor, Idle* home)
    : cursor_(std::move(cursor)), owner_(&owner), home_(home) {}

Statement::~Statement() {
  if (owner_ && cursor_) owner_->Recycle(home_, std::move(cursor_));
}

Statement::Statement(Statement&& other) noexcept
    : cursor_(std::move(other.cursor_)), owner_(other.owner_), home_(other.home_) {}

Statement& Statement::Bind(int index, const Variant& value) {
  switch (value.Type()) {
    case VarType::kEmpty:
    case VarType::kNull:
      cursor_->BindNull(index);
      break;
    case VarType::kI2:
      cursor_->BindInt(index, value.AsI2());
      break;
    case VarType::kI4:
      cursor_->BindInt(index, value.AsI4());
      break;
    case VarType::kBool:
      cursor_->BindInt(index, value.AsBool() ? -1 : 0);
      break;
    case VarType::kR8:
      cursor_->BindReal(index, value.AsR8());
      break;
    case VarType::kDate:
      cursor_->BindReal(index, value.AsDate());
      break;
    case VarType::kString:
      return BindText(index, value.AsString());
    default:
      Raise(err::kTypeMismatch);
  }
  return *this;
}

Statement& Statement::BindInt(int index, int64_t value) {
  cursor_->BindInt(index, value);
  return *this;
}

Statement& Statement::BindText(int index, std::string_view value) {
  cursor_->BindText(index, value);
  return *this;
}

Statement& Statement::BindAll(const std::vector<Variant>& values) {
  for (size_t i = 0; i < values.size(); ++i) Bind(static_cast<int>(i) + 1, values[i]);
  return *this;
}

bool Statement::Step() {
  if (owner_ && owner_->calls_ > 0 && !owner_->call_open_) {
    if (cursor_->ReadOnly())
      owner_->WillRead();
    else
      owner_->WillWrite();
  }
  return cursor_->Step();
}

void Statement::Reset() { cursor_->Reset(); }

bool Statement::ReadOnly() const { return cursor_->ReadOnly(); }

int Statement::ColumnCount() const { return cursor_->ColumnCount(); }

std::string Statement::ColumnName(int column) const { return cursor_->ColumnName(column); }

std::string Statement::DeclaredType(int column) const { return cursor_->DeclaredType(column); }

SqlKind Statement::Kind(int column) const { return cursor_->Kind(column); }

bool Statement::IsNull(int column) const { return cursor_->Kind(column) == SqlKind::kNull; }

int64_t Statement::Int(int column) const { return cursor_->Int(column); }

double Statement::Real(int column) const { return cursor_->Real(column); }

std::string Statement::Text(int column) const { return cursor_->Text(column); }

Variant Statement::Value(int column) const {
  switch (cursor_->Kind(column)) {
    case SqlKind::kNull:
      return Variant::Null();
    case SqlKind::kInteger: {
      const int64_t v = cursor_->Int(column);
      if (v >= INT32_MIN && v <= INT32_MAX) return Variant(static_cast<int32_t>(v));
      return Variant(static_cast<double>(v));
    }
    case SqlKind::kReal:
      return Variant(cursor_->Real(column));
    default:
      return Variant(cursor_->Text(column));
  }
}

Database::Database(const DatabaseLocation& location, OpenMode mode) : path_(location.Shown()) {
  if (location.IsPostgresql())
    conn_ = OpenServerConnection(location.Text(), path_, mode);
  else
    conn_ = std::make_unique<SqliteConnection>(location, mode);
  if (mode == OpenMode::kRead) {
    // A reader compares and shows what it reads: all of it from one snapshot.
    conn_->BeginRead();
    read_open_ = pinned_ = true;
  }
}

Database::~Database() {
  if (pinned_) conn_->Rollback();
  conn_->WillClose();
  idle_.clear();
  conn_.reset();
}

Statement Database::Prepare(std::string_view sql) { return Prepare(sql, false); }

Statement Database::PrepareCallers(std::string_view sql) { return Prepare(sql, true); }

std::vector<std::string> Database::PreparedTexts() const {
  std::vector<std::string> texts;
  for (const auto& [text, _] : idle_) texts.push_back(text);
  return texts;
}

Statement Database::Prepare(std::string_view sql, bool guarded) {
  // Texts that embed values would pile up: statements are kept for a bounded
  // number of texts, and a caller's text is not kept at all.
  constexpr size_t kIdleTexts = 256;
  Statement::Idle* home = nullptr;
  if (!guarded) {
    auto it = idle_.find(sql);
    if (it == idle_.end() && idle_.size() < kIdleTexts)
      it = idle_.emplace(std::string(sql), Statement::Idle{}).first;
    if (it != idle_.end()) {
      home = &it->second;
      if (!home->empty()) {
        std::unique_ptr<SqlCursor> cursor = std::move(home->back());
        home->pop_back();
        return Statement(*this, std::move(cursor), home);
      }
    }
  }
  return Statement(*this, conn_->Prepare(std::string(sql), guarded), home);
}

void Database::Recycle(Statement::Idle* home, std::unique_ptr<SqlCursor> cursor) {
  // A few statements per text are enough for the nesting the store does.
  constexpr size_t kIdlePerText = 4;
  if (!home || home->size() >= kIdlePerText) return;
  try {
    cursor->Reset();
    cursor->ClearBindings();
  } catch (const RuntimeError&) {
    return;
  }
  home->push_back(std::move(cursor));
}

void Database::Exec(std::string_view sql) { conn_->Exec(sql); }

int64_t Database::LastChanges() const { return conn_->LastChanges(); }

void Database::RefuseIfDamaged() const { emu::RefuseIfDamaged(path_, conn_->LastDamage()); }

std::vector<std::string> Database::TakeNotices() { return conn_->TakeNotices(); }

bool Database::OutcomeUnknown() const { return conn_->OutcomeUnknown(); }

int64_t Database::TableCount() { return conn_->TableCount(); }

bool Database::HasTable(std::string_view name) { return conn_->HasTable(name); }

void Database::PrepareForSharing() { conn_->PrepareForSharing(); }

void Database::KnowSpellings(const std::vector<std::string>& names) { conn_->KnowSpellings(names); }

void Database::BeginCall() { ++calls_; }

void Database::WillRead() {
  if (read_open_) return;
  read_open_ = true;
  try {
    conn_->BeginRead();
    // The first read of the snapshot: what it sees is what the caches must
    // agree with.
    Generation();
  } catch (...) {
    conn_->Rollback();
    read_open_ = false;
    throw;
  }
}

uint64_t Database::CallGeneration() {
  if (calls_ > 0 && !call_open_ && !read_open_) WillRead();
  return generation_;
}

void Database::EndRead() {
  if (!read_open_ || pinned_) return;
  // Ends a transaction that only read: nothing to write, nothing to lose.
  Prepare("COMMIT").Run();
  read_open_ = false;
}

void Database::RefuseIfPinned() const {
  if (pinned_)
    Raise(err::kHostFailure, fmt::format("The database {} is open for reading only", path_),
          "Korvel");
}

void Database::WillWrite() {
  RefuseIfPinned();
  if (calls_ == 0 || call_open_ || depth_ > 0) return;
  // The read snapshot becomes the write transaction when nobody wrote since
  // it began (so the caches stand as they are)...
  ++write_serial_;
  if (read_open_ && conn_->UpgradeToWrite()) {
    read_open_ = false;
    call_open_ = true;
    depth_ = 1;
    return;
  }
  // ...else the write lock is taken afresh, waiting for another writer.
  if (conn_->BeginWriteEndsRead())
    read_open_ = false;
  else
    EndRead();
  call_open_ = true;  // BEGIN IMMEDIATE is a write to SQLite too
  try {
    conn_->BeginWrite();
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
  conn_->CommitWrite();
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
  if (call_open_ || (read_open_ && !pinned_)) conn_->Rollback();
  if (call_open_) ++generation_;
  read_open_ = pinned_;
  call_open_ = false;
  depth_ = 0;
  calls_ = 0;
}

uint64_t Database::Generation() {
  std::string version = conn_->DataVersion();
  if (version != data_version_) {
    data_version_ = version;
    ++generation_;
  }
  return generation_;
}

void Database::Operations(int change) {
  operations_ += change;
  conn_->HoldWrites(operations_ > 0);
}

Database::Transaction::Transaction(Database& db) : db_(db), level_(db.depth_) {
  db_.WillWrite();
  level_ = db_.depth_;
  if (level_ == 0) {
    db_.conn_->BeginWrite();
    ++db_.write_serial_;
  }
  db_.Operations(+1);
  if (level_ > 0) {
    try {
      db_.Prepare(fmt::format("SAVEPOINT sp{}", level_)).Run();
    } catch (...) {
      db_.Operations(-1);
      throw;
    }
  }
  ++db_.depth_;
}

Database::Transaction::~Transaction() {
  if (done_) return;
  db_.Operations(-1);
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
    db_.conn_->CommitWrite();
  else
    db_.Prepare(fmt::format("RELEASE sp{}", level_)).Run();
  done_ = true;
  db_.Operations(-1);
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
