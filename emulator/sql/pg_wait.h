// How long the store waits on a PostgreSQL server, and the one way it waits:
// a statement is sent and its answer awaited with a deadline, so that a
// server that stops answering (a stopped backend, a network that drops
// everything) fails the statement instead of holding vtx for ever.
#pragma once

#include <libpq-fe.h>

#include <chrono>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace vtx::emu {

using PgResult = std::unique_ptr<PGresult, decltype(&PQclear)>;

// The bound of every wait on the server, in seconds: a lock (lock_timeout,
// which the server reports itself), a connection (connect_timeout, TCP
// keepalives and tcp_user_timeout) and an answer (that bound and
// kPgAnswerGraceSeconds more, so that the server's own lock timeout is
// reported first). 30, or the whole number of seconds in the environment
// variable VTX_PG_WAIT_SECONDS: meant for tests that stop a server and
// should not wait half a minute for it.
int PgWaitSeconds();
inline constexpr int kPgAnswerGraceSeconds = 5;

// Seconds a statement's answer is awaited.
inline int PgAnswerSeconds() { return PgWaitSeconds() + kPgAnswerGraceSeconds; }
// Seconds a connection is awaited: the bound, but at least the 2 s libpq
// waits at least.
inline int PgConnectSeconds() { return PgWaitSeconds() < 2 ? 2 : PgWaitSeconds(); }

// The connection parameters that bound the waits of a connection, to put
// before the URI's own (which override them).
std::vector<std::pair<std::string, std::string>> PgWaitParameters();

// What became of a statement sent.
enum class PgAnswer {
  kAnswered,  // `result` holds the last result, as PQexec gives it
  kLost,      // the connection broke (PQerrorMessage says how)
  kSilent,    // the server did not answer before the deadline
};

struct PgReply {
  PgAnswer answer = PgAnswer::kLost;
  PgResult result{nullptr, &PQclear};
};

// Awaits the answer to what `sent` (the result of a PQsend* call) sent on
// `conn`, until `deadline`. After kSilent the connection is in the middle
// of a statement and of no further use.
PgReply AwaitPgReply(PGconn* conn, int sent, std::chrono::steady_clock::time_point deadline);

// Awaits the answers to `commands` statements sent in pipeline mode and the
// PQpipelineSync after them, until `deadline`; `results` gets the last result
// of each statement (PGRES_PIPELINE_ABORTED for those skipped after a
// failure). On kAnswered the connection has left pipeline mode.
PgAnswer AwaitPgPipeline(PGconn* conn, size_t commands, std::vector<PgResult>& results,
                         std::chrono::steady_clock::time_point deadline);

// The deadline of a statement sent now.
inline std::chrono::steady_clock::time_point PgAnswerDeadline() {
  return std::chrono::steady_clock::now() + std::chrono::seconds(PgAnswerSeconds());
}

}  // namespace vtx::emu
