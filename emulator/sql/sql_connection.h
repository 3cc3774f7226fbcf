#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace vtx::emu {

// How a value is held: every backend answers in these four kinds, so that
// the store reads the same values whatever keeps them.
enum class SqlKind { kNull, kInteger, kReal, kText };

// What a failure said of the database itself, whatever the backend.
enum class DatabaseDamage {
  kNone,
  kNotADatabase,  // the file holds something else
  kCorrupt,
};

// One prepared statement of a backend, written in the store's dialect (`?`
// and `?N` parameters, double-quoted identifiers, the functions SQLite
// knows; a backend that speaks another dialect translates, see
// pg_sql_text.h).
// Parameters are 1-based. Failures raise RuntimeError (err::kHostFailure).
// Thread-safety: none; owned by the Statement that runs it.
class SqlCursor {
 public:
  virtual ~SqlCursor() = default;
  virtual void BindNull(int index) = 0;
  virtual void BindInt(int index, int64_t value) = 0;
  virtual void BindReal(int index, double value) = 0;
  virtual void BindText(int index, std::string_view value) = 0;
  // Runs the statement at the first call; true while there is a row.
  virtual bool Step() = 0;
  virtual void Reset() = 0;  // ready to run again; bindings kept
  virtual void ClearBindings() = 0;
  virtual bool ReadOnly() const = 0;
  virtual int ColumnCount() const = 0;
  // The name of a result column, spelt as the statement or the model spells
  // it, whatever case the backend folds identifiers to.
  virtual std::string ColumnName(int column) const = 0;
  // The declared type of a table's column ("INTEGER", "TEXT"...); empty for
  // an expression.
  virtual std::string DeclaredType(int column) const = 0;
  virtual SqlKind Kind(int column) const = 0;
  virtual int64_t Int(int column) const = 0;
  virtual double Real(int column) const = 0;
  virtual std::string Text(int column) const = 0;
};

// One connection to a database: an SQLite file or a PostgreSQL server. The
// store speaks one dialect (see SqlCursor); a backend that speaks another
// translates.
// Thread-safety: none; one connection per thread.
class SqlConnection {
 public:
  virtual ~SqlConnection() = default;
  // REQUIRES: `guarded` only for text the store did not write (a caller's
  // query): a failure of it leaves the transaction around it usable.
  virtual std::unique_ptr<SqlCursor> Prepare(const std::string& sql, bool guarded) = 0;
  // Runs statements without parameters (schema creation).
  virtual void Exec(std::string_view sql) = 0;
  // Opens a transaction that only reads, from one snapshot.
  virtual void BeginRead() = 0;
  // Opens a write transaction holding the lock that serialises writers.
  virtual void BeginWrite() = 0;
  // True when BeginWrite ends the open read transaction itself, in the same
  // exchange with the server; false: the caller commits it first.
  virtual bool BeginWriteEndsRead() const { return false; }
  // Commits the write transaction; raises when it did not commit. A backend
  // whose connection can break while it commits finds out what became of the
  // transaction before it answers (see PgConnection).
  virtual void CommitWrite() = 0;
  // Turns the open read transaction into the write transaction, when its
  // snapshot is still the newest and no other writer holds the lock; false
  // leaves the read transaction as it was. A backend that cannot says false.
  virtual bool UpgradeToWrite() { return false; }
  virtual void Rollback() noexcept = 0;
  // A value that changes when another connection has committed since it was
  // last read (it may change more often, never less).
  virtual std::string DataVersion() = 0;
  // True when DataVersion stays put across this connection's own commits
  // while nobody else changes `tables` (the ones whose rows the store keeps
  // in memory), as SQLite's data_version does; false when it moves with
  // every commit, own ones too (a server database made before it counted
  // its changes). Afterwards DataVersion follows what was found.
  virtual bool WatchesTables(const std::vector<std::string>& /*tables*/) { return true; }
  // Makes DataVersion stay put across own commits from now on, for every
  // process: writes what that takes into the database.
  // REQUIRES: a write transaction; `tables` exist.
  virtual void WatchTables(const std::vector<std::string>& /*tables*/) {}
  virtual int64_t TableCount() = 0;
  virtual bool HasTable(std::string_view name) = 0;
  // Makes a new database fit for several processes at once (SQLite: WAL).
  virtual void PrepareForSharing() = 0;
  // How the model spells its tables' columns, for a backend that folds
  // identifiers to another case: result columns are named so again.
  virtual void KnowSpellings(const std::vector<std::string>& /*names*/) {}
  // While on, a write whose answer is read by nobody (INSERT, UPDATE, DELETE,
  // SAVEPOINT) may be held back and sent with the next statement whose answer
  // is awaited, a server's round trip saved per write; the failure of a held
  // write is raised by that statement (every read, RELEASE, COMMIT, and
  // LastChanges wait for the writes before them). The store holds writes
  // within one operation's transaction only, so that a failure is still
  // raised by the operation that caused it.
  virtual void HoldWrites(bool /*hold*/) {}
  // The connection is about to close: statements destroyed from now on need
  // not be released one by one.
  virtual void WillClose() noexcept {}
  // Rows the last INSERT, UPDATE or DELETE touched.
  virtual int64_t LastChanges() = 0;
  // What the last failure said of the database itself.
  virtual DatabaseDamage LastDamage() const = 0;
  // What the backend found out about a commit whose answer it lost, for the
  // user ("... the server says the transaction committed"); each told once.
  virtual std::vector<std::string> TakeNotices() { return {}; }
  // True once a commit's outcome could not be learnt.
  virtual bool OutcomeUnknown() const { return false; }
  // Exchanges with a database server so far (each costs the network's round
  // trip); 0 for a backend in this process.
  virtual int64_t RoundTrips() const { return 0; }
};

}  // namespace vtx::emu
