#pragma once

#include <string>

#include "emulator/store/open_mode.h"
#include "emulator/store/sql_connection.h"

struct sqlite3;

namespace vtx::emu {

// An SQLite file (or ":memory:") with a 30 s busy timeout. BeginWrite is
// BEGIN IMMEDIATE: SQLite's write lock serialises writers.
// Raises DatabaseOpenError for a missing file unless `mode` is kCreate, and
// for a directory or a device, a pipe or a socket.
// Thread-safety: none.
class SqliteConnection final : public SqlConnection {
 public:
  SqliteConnection(const std::string& path, OpenMode mode);
  ~SqliteConnection() override;

  std::unique_ptr<SqlCursor> Prepare(const std::string& sql, bool guarded) override;
  void Exec(std::string_view sql) override;
  void BeginRead() override;
  void BeginWrite() override;
  void CommitWrite() override;
  bool UpgradeToWrite() override;
  void Rollback() noexcept override;
  std::string DataVersion() override;
  int64_t TableCount() override;
  bool HasTable(std::string_view name) override;
  void PrepareForSharing() override;
  int64_t LastChanges() const override;
  int64_t LastInsertId() const override;
  int LastErrorCode() const override;

 private:
  std::string path_;
  sqlite3* db_ = nullptr;
  std::unique_ptr<SqlCursor> begin_read_;
  std::unique_ptr<SqlCursor> begin_;
  std::unique_ptr<SqlCursor> commit_;
  std::unique_ptr<SqlCursor> upgrade_;
  std::unique_ptr<SqlCursor> data_version_;
};

}  // namespace vtx::emu
