#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "runtime/variant.h"

struct sqlite3;
struct sqlite3_stmt;

namespace vtx::emu {

// A value as SQLite stores it: NULL, integer, real or text. Variants map onto
// it by their type (Booleans as -1/0, dates as their serial number).
Variant SqlValueToVariant(sqlite3_stmt* statement, int column);

class Database;

// One prepared statement. Parameters are bound 1-based; Step() returns true
// while there is a row.
// Thread-safety: none. Ownership: finalizes the statement when destroyed, or
// hands it back to the Database that prepared it for the next use of the same
// text (so it must not outlive that Database).
class Statement {
 public:
  Statement(sqlite3* db, std::string_view sql);
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
  bool IsNull(int column) const;
  int64_t Int(int column) const;
  double Real(int column) const;
  std::string Text(int column) const;
  // The column as SQLite holds it: Null, I4 (or R8 beyond 32 bits), R8 or string.
  Variant Value(int column) const;
  sqlite3_stmt* Raw() const { return stmt_; }

 private:
  friend class Database;
  Statement(Database& owner, sqlite3_stmt* stmt, std::string sql);

  sqlite3* db_;
  sqlite3_stmt* stmt_ = nullptr;
  Database* owner_ = nullptr;
  std::string sql_;
};

// An SQLite connection in WAL mode with a busy timeout, so that several
// processes can share one file. Failures raise RuntimeError with the host's
// failure number and SQLite's message.
// Thread-safety: none; one connection per thread.
class Database {
 public:
  explicit Database(const std::string& path);
  ~Database();
  Database(const Database&) = delete;
  Database& operator=(const Database&) = delete;

  // A statement for `sql`, prepared once per text: parsing costs more than
  // running the short statements the store issues again and again.
  Statement Prepare(std::string_view sql);
  // Runs one or more statements without parameters.
  void Exec(std::string_view sql);
  int64_t LastChanges() const;
  int64_t LastInsertId() const;
  bool InTransaction() const { return depth_ > 0; }

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
  [[noreturn]] void Fail(std::string_view what) const;
  // Takes back a statement whose run is over, reset, for the next Prepare.
  void Recycle(std::string sql, sqlite3_stmt* stmt);
  friend class Statement;
  friend class Transaction;
  sqlite3* db_ = nullptr;
  int depth_ = 0;
  std::unordered_map<std::string, std::vector<sqlite3_stmt*>> idle_;
};

// Quotes an identifier that comes from the validated model.
std::string QuoteId(std::string_view identifier);

}  // namespace vtx::emu
