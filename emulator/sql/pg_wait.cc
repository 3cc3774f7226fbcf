#include "emulator/sql/pg_wait.h"

#include <poll.h>

#include <cerrno>
#include <charconv>
#include <cstdlib>
#include <string_view>

namespace vtx::emu {

namespace {

constexpr int kDefaultWaitSeconds = 30;

// Waits until the socket is ready for `events` or the deadline passes.
bool WaitForSocket(PGconn* conn, short events, std::chrono::steady_clock::time_point deadline) {
  for (;;) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) return false;
    pollfd fd{PQsocket(conn), events, 0};
    const int ready = ::poll(&fd, 1, static_cast<int>(left.count()));
    if (ready > 0) return true;
    if (ready < 0 && errno != EINTR) return true;  // libpq reports the broken socket
  }
}

}  // namespace

int PgWaitSeconds() {
  const char* text = std::getenv("VTX_PG_WAIT_SECONDS");
  int seconds = 0;
  if (text) {
    const std::string_view value(text);
    auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), seconds);
    if (error == std::errc() && end == value.data() + value.size() && seconds > 0) return seconds;
  }
  return kDefaultWaitSeconds;
}

std::vector<std::pair<std::string, std::string>> PgWaitParameters() {
  return {{"connect_timeout", std::to_string(PgConnectSeconds())},
          {"keepalives", "1"},
          {"keepalives_idle", "10"},
          {"keepalives_interval", "5"},
          {"keepalives_count", "3"},
          {"tcp_user_timeout", std::to_string(PgAnswerSeconds() * 1000)}};
}

namespace {

// Sends what is buffered, as the server takes it.
PgAnswer FlushSent(PGconn* conn, std::chrono::steady_clock::time_point deadline) {
  for (int pending = PQflush(conn); pending != 0; pending = PQflush(conn)) {
    if (pending < 0) return PgAnswer::kLost;
    if (!WaitForSocket(conn, POLLIN | POLLOUT, deadline)) return PgAnswer::kSilent;
    if (!PQconsumeInput(conn)) return PgAnswer::kLost;
  }
  return PgAnswer::kAnswered;
}

// The next result, or null at the end of a statement's results; kLost or
// kSilent in `answer` when it cannot be had.
PGresult* NextResult(PGconn* conn, std::chrono::steady_clock::time_point deadline,
                     PgAnswer& answer) {
  while (PQisBusy(conn)) {
    if (!WaitForSocket(conn, POLLIN, deadline)) {
      answer = PgAnswer::kSilent;
      return nullptr;
    }
    if (!PQconsumeInput(conn)) break;  // PQgetResult reports the broken connection
  }
  return PQgetResult(conn);
}

}  // namespace

PgReply AwaitPgReply(PGconn* conn, int sent, std::chrono::steady_clock::time_point deadline) {
  PgReply reply;
  if (!sent || PQstatus(conn) == CONNECTION_BAD) return reply;
  reply.answer = FlushSent(conn, deadline);
  if (reply.answer != PgAnswer::kAnswered) return reply;
  for (;;) {
    PGresult* result = NextResult(conn, deadline, reply.answer);
    if (reply.answer == PgAnswer::kSilent) return reply;
    if (!result) break;
    reply.result.reset(result);
    if (PQstatus(conn) == CONNECTION_BAD) break;
  }
  reply.answer = PQstatus(conn) == CONNECTION_BAD ? PgAnswer::kLost : PgAnswer::kAnswered;
  return reply;
}

PgAnswer AwaitPgPipeline(PGconn* conn, size_t commands, std::vector<PgResult>& results,
                         std::chrono::steady_clock::time_point deadline) {
  if (PQstatus(conn) == CONNECTION_BAD) return PgAnswer::kLost;
  PgAnswer answer = FlushSent(conn, deadline);
  if (answer != PgAnswer::kAnswered) return answer;
  results.clear();
  // Each statement's results end with a null; the sync's result ends the lot.
  while (results.size() <= commands) {
    PgResult last(nullptr, &PQclear);
    for (;;) {
      PGresult* result = NextResult(conn, deadline, answer);
      if (answer == PgAnswer::kSilent) return answer;
      const bool sync = result && PQresultStatus(result) == PGRES_PIPELINE_SYNC;
      if (result) last.reset(result);
      if (PQstatus(conn) == CONNECTION_BAD) return PgAnswer::kLost;
      if (!result || sync) break;
    }
    if (!last) return PgAnswer::kLost;
    results.push_back(std::move(last));
  }
  results.pop_back();  // the sync's
  return PQexitPipelineMode(conn) ? PgAnswer::kAnswered : PgAnswer::kLost;
}

}  // namespace vtx::emu
