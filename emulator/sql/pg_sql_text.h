#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vtx::emu {

// A statement of the store's dialect (SQLite's) as PostgreSQL runs it.
struct PgSqlText {
  std::string text;
  int parameters = 0;       // the highest $n
  std::vector<bool> used;   // [n - 1]: whether $n appears (SQLite lets ?1 go unused)
  bool read_only = false;   // reads only, or transaction control (as SQLite counts)
  bool preparable = false;  // a query the extended protocol runs; else a command
  bool holdable = false;    // a write whose answer says only whether it failed
  bool undoes = false;      // ROLLBACK, ROLLBACK TO
};

// Translates the store's SQL, and a caller's, to PostgreSQL's dialect:
// - `?` and `?N` parameters become `$N` (a bare `?` is one more than the
//   highest so far, as SQLite numbers them);
// - double-quoted identifiers are folded to lower case, as PostgreSQL folds
//   unquoted ones, so that the store's quoted "TN_PART" and a caller's bare
//   TN_PART name one table;
// - in CREATE TABLE, SQLite's 64-bit INTEGER becomes BIGINT, REAL DOUBLE
//   PRECISION, and TEXT compares byte by byte (COLLATE "C") as SQLite does;
//   a table WITHOUT ROWID is a plain table (PostgreSQL keeps every table
//   apart from its primary key's index);
// - ifnull() is coalesce(), a scalar max()/min() of several arguments is
//   greatest()/least(), and `SELECT value FROM json_each(?)` reads the ids
//   of a JSON array;
// - an insert into KV_OBJECTS returns the id it stored (SQLite's row id).
// Text inside string literals is left as it is.
PgSqlText TranslateToPg(std::string_view sql);

}  // namespace vtx::emu
