#pragma once

#include <filesystem>
#include <string>

#include "emulator/sql/database_location.h"
#include "emulator/sql/open_mode.h"
#include "emulator/sql/sql_connection.h"

struct sqlite3;

namespace vtx::emu {

// An SQLite file (or a database in memory) with a 30 s busy timeout. BeginWrite is
// BEGIN IMMEDIATE: SQLite's write lock serialises writers.
// Raises DatabaseOpenError for a missing file unless `mode` is kCreate, and
// for a directory or a device, a pipe or a socket.
// kRead opens the file read-only; where SQLite cannot keep the -wal and -shm
// files beside it (a copy in a folder the reader cannot write) the file is
// read as immutable, or, when a -wal file holds transactions, through a
// private copy of both files that is removed on closing. Nothing beside the
// file is created or changed then.
// Thread-safety: none.
class SqliteConnection final : public SqlConnection {
 public:
  // REQUIRES: `location` is not a PostgreSQL URI.
  SqliteConnection(const DatabaseLocation& location, OpenMode mode);
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
  int64_t LastChanges() override;
  DatabaseDamage LastDamage() const override;

 private:
  void Open(const std::string& name, int flags);
  // False when the first read fails for want of the -wal and -shm files.
  bool SharesWal();
  void ReadWithoutSharing();

  std::string path_;
  bool memory_;
  std::filesystem::path private_copy_;  // the folder of a private copy, if one is read
  sqlite3* db_ = nullptr;
  std::unique_ptr<SqlCursor> begin_read_;
  std::unique_ptr<SqlCursor> begin_;
  std::unique_ptr<SqlCursor> commit_;
  std::unique_ptr<SqlCursor> upgrade_;
  std::unique_ptr<SqlCursor> data_version_;
};

}  // namespace vtx::emu
