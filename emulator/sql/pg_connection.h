#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "emulator/sql/open_mode.h"
#include "emulator/sql/pg_wait.h"
#include "emulator/sql/sql_connection.h"

struct pg_conn;

namespace vtx::emu {

// A PostgreSQL database reached through libpq by a connection URI.
// - BeginRead is REPEATABLE READ: the reads of a call before its first write
//   see one snapshot, as in SQLite's deferred transaction.
// - Writers are serialised as SQLite's write lock serialises them: BeginWrite
//   opens a READ COMMITTED transaction and takes one transaction-scoped
//   advisory lock, so everything a writer reads after it (the highest id,
//   the ledger's last hash) is what the previous writer committed.
// - Every wait is bounded (pg_wait.h): lock waits end after 30 s
//   (lock_timeout) with the message SQLite's busy timeout gives; a server
//   that does not answer a statement within 35 s, or a connection within
//   30 s, fails it, and the connection is given up.
// - A COMMIT whose answer is lost (the connection broke, the server stopped
//   answering) is found out: the transaction's id, taken when it began, is
//   looked up (pg_xact_status) through a new connection, once the backend of
//   the old one has been ended so that the outcome is final. Committed: the
//   commit succeeds and a notice says what happened; not committed: a host
//   failure; not learnt: CommitOutcomeUnknown. The new connection replaces
//   the old one.
// - DataVersion counts the transactions that changed the watched tables
//   (WatchTables): a statement trigger on each bumps a one-row counter once
//   per transaction, whoever writes, and this connection's own bumps are
//   taken off, so that the version stays put across its own commits as
//   SQLite's data_version does. Without the triggers (a database made before
//   them, opened read-only) it is the server's snapshot of committed
//   transactions, which moves whenever any transaction commits.
// - kCreate creates a missing database (UTF-8, through the server's
//   "postgres" database); kRead makes every transaction read-only.
// - Writes held back (HoldWrites) go with the next statement that awaits an
//   answer, all in one pipeline: one round trip for the lot.
// Thread-safety: none; one connection per thread.
class PgConnection final : public SqlConnection {
 public:
  // `display` is the URI as messages show it (without a password).
  PgConnection(const std::string& uri, std::string display, OpenMode mode);
  ~PgConnection() override;

  std::unique_ptr<SqlCursor> Prepare(const std::string& sql, bool guarded) override;
  void Exec(std::string_view sql) override;
  void BeginRead() override;
  void BeginWrite() override;
  bool BeginWriteEndsRead() const override { return true; }
  void CommitWrite() override;
  void Rollback() noexcept override;
  std::string DataVersion() override;
  bool WatchesTables(const std::vector<std::string>& tables) override;
  void WatchTables(const std::vector<std::string>& tables) override;
  int64_t TableCount() override;
  bool HasTable(std::string_view name) override;
  void PrepareForSharing() override {}
  void KnowSpellings(const std::vector<std::string>& names) override;
  void WillClose() noexcept override { closing_ = true; }
  int64_t LastChanges() override;
  void HoldWrites(bool hold) override { holding_ = hold; }
  DatabaseDamage LastDamage() const override { return DatabaseDamage::kNone; }
  std::vector<std::string> TakeNotices() override;
  bool OutcomeUnknown() const override { return outcome_unknown_; }
  int64_t RoundTrips() const override { return round_trips_; }

 private:
  friend class PgCursor;
  // A statement held back to be sent with the next one whose answer is
  // awaited.
  struct Held {
    std::string name;  // of the prepared statement; empty: `text` runs as it is
    std::string text;
    std::vector<std::optional<std::string>> params;
    std::string shown;    // the text its failure names
    bool counts = false;  // an INSERT, UPDATE or DELETE: LastChanges is its count
  };
  // Sends the held statements, and `now` when given, in one pipeline and
  // returns `now`'s result; raises the first failure of a held one, or when
  // the connection broke or the server did not answer.
  PgResult Exchange(const Held* now);
  // The pipeline of Exchange without raising: kAnswered with one result per
  // statement sent (the held ones, then `now`).
  PgAnswer SendPipeline(const std::vector<Held>& held, const Held* now,
                        std::vector<PgResult>& results);
  // Raises the first failure of `held`; else notes their changes.
  void CheckHeld(const std::vector<Held>& held, const std::vector<PgResult>& results);
  // Sends what is held, before a statement that goes its own way.
  void SendHeld();
  // Gives the connection up for an unanswered exchange and raises.
  [[noreturn]] void RaiseUnanswered(PgAnswer answer);
  // Awaits the answer to what `sent` sent (a PQsend* call's result); raises
  // when the connection broke or the server did not answer, naming `what`.
  PgResult Await(int sent, std::string_view what);
  // Runs a command without parameters; raises (naming `shown`) on failure.
  void Command(const std::string& sql, std::string_view shown);
  std::string Scalar(const std::string& sql);
  bool InTransaction() const;
  // Gives the connection up: every later statement fails with `why`.
  void Lose(std::string why);
  // What became of the COMMIT whose answer was lost (`why`).
  void FindOutCommit(const std::string& why);

  std::string uri_;
  OpenMode mode_;
  pg_conn* conn_ = nullptr;
  std::string display_;
  int backend_pid_ = 0;
  std::string xid_;     // of the open write transaction
  std::string lost_;    // why the connection was given up; empty while it works
  int generation_ = 0;  // of the connection: a new one has none of the old one's statements
  int64_t changes_ = 0;
  int64_t next_name_ = 0;
  int64_t round_trips_ = 0;
  bool closing_ = false;
  bool holding_ = false;
  std::vector<Held> held_;
  // The version read with the last BEGIN, while no other statement followed.
  std::string begun_version_;
  bool watching_ = false;  // the watched tables' counter is the version
  // The bumps of this connection's own commits, which the version leaves out.
  int64_t own_bumps_ = 0;
  bool outcome_unknown_ = false;
  std::vector<std::string> notices_;
  std::unordered_map<std::string, std::string> spellings_;  // lower case -> model's
};

}  // namespace vtx::emu
