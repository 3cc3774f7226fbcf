#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "emulator/sql/database_location.h"
#include "emulator/sql/open_mode.h"
#include "emulator/sql/sql_connection.h"
#include "runtime/variant.h"
#include "utils/string_map.h"

namespace vtx::emu {

class Database;

// A write transaction as far as this process knows what it wrote: it differs
// once the transaction ended (or another began), after any rollback and
// after a caller's statement wrote. What the store remembers of its own
// writes (the highest id, the ledger's head) holds while it stays the same.
struct WriteMark {
  uint64_t transaction = 0, generation = 0;
  bool operator==(const WriteMark&) const = default;
};
inline constexpr WriteMark kNoWrite{};

// One prepared statement. Parameters are bound 1-based; Step() returns true
// while there is a row.
// Thread-safety: none. Ownership: hands its cursor back to the Database that
// prepared it for the next use of the same text (so it must not outlive that
// Database).
class Statement {
 public:
  ~Statement();
  Statement(Statement&& other) noexcept;
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;
  Statement& operator=(Statement&&) = delete;

  // Binds Empty and Null as NULL, Booleans as -1/0, dates as their serial.
  // Raises 13 for objects and arrays.
  Statement& Bind(int index, const Variant& value);
  Statement& BindInt(int index, int64_t value);
  Statement& BindText(int index, std::string_view value);
  Statement& BindAll(const std::vector<Variant>& values);

  bool Step();
  void Reset();  // ready to run again; bindings kept
  // Runs a statement that returns no rows.
  void Run() {
    while (Step()) {
    }
  }

  int ColumnCount() const;
  std::string ColumnName(int column) const;
  // The declared type of a table's column; empty for an expression.
  std::string DeclaredType(int column) const;
  SqlKind Kind(int column) const;
  bool IsNull(int column) const;
  int64_t Int(int column) const;
  double Real(int column) const;
  std::string Text(int column) const;
  // The column as the backend holds it (SqlKind): Null, I4 (or R8 beyond 32
  // bits), R8 or string.
  Variant Value(int column) const;
  bool ReadOnly() const;

 private:
  friend class Database;
  using Idle = std::vector<std::unique_ptr<SqlCursor>>;
  // `home` holds the idle statements of the same text; null for one that is
  // not kept.
  Statement(Database& owner, std::unique_ptr<SqlCursor> cursor, Idle* home);

  std::unique_ptr<SqlCursor> cursor_;
  Database* owner_ = nullptr;
  Idle* home_ = nullptr;
};

// The store's database at a DatabaseLocation: an SQLite file (or a database
// in memory) with a busy timeout, so that several processes can share one
// file (the schema puts new files in WAL mode), or a PostgreSQL database
// named by a connection URI. Failures raise RuntimeError with the host's
// failure number and the database's message.
// Opening never creates a file (or server database) unless `mode` is kCreate
// (one in memory always is); a missing one raises DatabaseOpenError. kRead opens
// read-only and reads everything from one snapshot, taken at the first read
// and kept until the Database closes: what a reading command compares or
// shows is one state of the database, whatever other processes commit
// meanwhile. Writing then raises.
// Thread-safety: none; one connection per thread.
class Database {
 public:
  explicit Database(const DatabaseLocation& location, OpenMode mode = OpenMode::kCreate);
  ~Database();
  Database(const Database&) = delete;
  Database& operator=(const Database&) = delete;

  // A statement for `sql`, prepared once per text: parsing costs more than
  // running the short statements the store issues again and again.
  Statement Prepare(std::string_view sql);
  // A statement the caller wrote (not the store): run as written, and on a
  // server its failure leaves the call's transaction usable, as on SQLite.
  Statement PrepareCallers(std::string_view sql);
  // Runs one or more statements without parameters.
  void Exec(std::string_view sql);
  int64_t LastChanges() const;
  // The texts of the statements kept for reuse (the store's own, up to a
  // bound), for a look at how the database runs them.
  std::vector<std::string> PreparedTexts() const;
  // Raises DatabaseOpenError naming the database when the last failure said
  // it is not a database or is corrupt.
  void RefuseIfDamaged() const;
  // What was found out about a commit whose answer the connection lost
  // (committed after all), each told once; see PgConnection.
  std::vector<std::string> TakeNotices();
  // True once a commit's outcome could not be learnt (it raised
  // CommitOutcomeUnknown, which an add-in call may have caught).
  bool OutcomeUnknown() const;
  // Exchanges with the database server so far (see SqlConnection).
  int64_t RoundTrips() const { return conn_->RoundTrips(); }
  // The location as messages show it (a URI without its password).
  const std::string& Path() const { return path_; }
  int64_t TableCount();
  bool HasTable(std::string_view name);
  // Makes a new database fit for several processes (WAL on SQLite).
  void PrepareForSharing();
  // Whether DataVersion, and so Generation, ignores this process's own
  // commits for `tables`; WatchTables makes it so (see SqlConnection).
  bool WatchesTables(const std::vector<std::string>& tables) {
    return conn_->WatchesTables(tables);
  }
  void WatchTables(const std::vector<std::string>& tables) { conn_->WatchTables(tables); }
  // How the model spells the columns of its tables (see SqlConnection).
  void KnowSpellings(const std::vector<std::string>& names);
  bool InTransaction() const { return depth_ > 0; }

  // One add-in call as one transaction. Between BeginCall and EndCall the
  // first write takes the write lock (BEGIN IMMEDIATE) and opens the call's
  // transaction; each Transaction inside it is a savepoint, so a failed
  // operation is undone alone while the rest of the call stays. EndCall
  // commits whatever the call wrote (raising when the commit fails);
  // AbandonCall rolls it back. Calls nest: only the outermost one commits.
  // Reads before the first write share one snapshot, taken at the first of
  // them and given up when the write lock is taken: they take no write lock,
  // so readers never wait on writers, and SQLite's read locks are taken once
  // per call instead of once per statement.
  void BeginCall();
  void EndCall();
  void AbandonCall() noexcept;
  // Commits what the call wrote so far (before it waits for the user, who
  // may take any time); the next write opens a new transaction.
  void CommitCallWrites();
  // Takes the write lock for the call now, so that what it reads and then
  // writes is one transaction (a check and the write that depends on it).
  void LockCall();
  // Bumped whenever what this connection reads may have changed under it:
  // another process committed since the last look (SqlConnection's
  // DataVersion: SQLite's data_version, a server's snapshot of committed
  // transactions) or a rollback undid writes of ours. Caches keep it and
  // drop their contents when it moves.
  uint64_t Generation();
  // The generation as last looked at, without asking the backend.
  uint64_t KnownGeneration() const { return generation_; }
  // The generation a call's cache must match before it answers from memory:
  // the call's snapshot is taken now if no read or write took it yet, so
  // another process's writes are noticed at the same moment as by a read.
  uint64_t CallGeneration();
  // What was read may be stale (a statement of the caller's own wrote).
  void ForgetReads() { ++generation_; }
  // The write transaction open now, as far as this process knows what it
  // wrote (see WriteMark); kNoWrite outside one.
  WriteMark CurrentWrite() const {
    return depth_ > 0 ? WriteMark{write_serial_, generation_} : kNoWrite;
  }
  // Whether `mark` (a CurrentWrite taken earlier) is the write transaction
  // open now.
  bool StillWriting(const WriteMark& mark) const {
    return mark != kNoWrite && mark == CurrentWrite();
  }
  bool InCall() const { return calls_ > 0; }

  // A write transaction (BEGIN IMMEDIATE, so the write lock is taken at once
  // and a concurrent writer waits instead of failing later); nested ones are
  // savepoints. Rolls back when destroyed without Commit().
  class Transaction {
   public:
    explicit Transaction(Database& db);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;
    void Commit();

   private:
    Database& db_;
    int level_;
    bool done_ = false;
  };

 private:
  Statement Prepare(std::string_view sql, bool guarded);
  // Takes back a statement whose run is over, reset, for the next Prepare.
  void Recycle(Statement::Idle* home, std::unique_ptr<SqlCursor> cursor);
  // Opens the call's transaction before its first write.
  void WillWrite();
  // One more (+1) or one fewer (-1) open Transaction: while any is open, the
  // connection may hold writes back until the transaction's next read or its
  // end (SqlConnection::HoldWrites).
  void Operations(int change);
  // Raises when the database is open for reading only.
  void RefuseIfPinned() const;
  // Opens the call's read snapshot before its first read; EndRead gives it up.
  void WillRead();
  void EndRead();
  friend class Statement;
  friend class Transaction;
  int calls_ = 0;
  bool call_open_ = false;
  bool read_open_ = false;
  bool pinned_ = false;  // kRead: one read transaction for the connection's life
  uint64_t generation_ = 0;
  uint64_t write_serial_ = 0;  // write transactions begun
  std::string data_version_;
  std::string path_;
  std::unique_ptr<SqlConnection> conn_;
  int depth_ = 0;
  int operations_ = 0;
  // Idle statements by text. Texts are never removed, so a statement can
  // keep where its own go.
  StringMap<Statement::Idle> idle_;
};

// Raises DatabaseOpenError naming `path` when `damage` says the database is
// not one or is corrupt.
void RefuseIfDamaged(const std::string& path, DatabaseDamage damage);

// Quotes an identifier that comes from the validated model.
std::string QuoteId(std::string_view identifier);

}  // namespace vtx::emu
