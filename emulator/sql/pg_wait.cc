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

PgReply AwaitPgReply(PGconn* conn, int sent, std::chrono::steady_clock::time_point deadline) {
  PgReply reply;
  if (!sent || PQstatus(conn) == CONNECTION_BAD) return reply;
  // What was sent leaves the buffer as the server takes it.
  for (int pending = PQflush(conn); pending != 0; pending = PQflush(conn)) {
    if (pending < 0) return reply;
    if (!WaitForSocket(conn, POLLIN | POLLOUT, deadline)) {
      reply.answer = PgAnswer::kSilent;
      return reply;
    }
    if (!PQconsumeInput(conn)) return reply;
  }
  for (;;) {
    while (PQisBusy(conn)) {
      if (!WaitForSocket(conn, POLLIN, deadline)) {
        reply.answer = PgAnswer::kSilent;
        return reply;
      }
      if (!PQconsumeInput(conn)) break;  // PQgetResult reports the broken connection
    }
    PGresult* result = PQgetResult(conn);
    if (!result) break;
    reply.result.reset(result);
    if (PQstatus(conn) == CONNECTION_BAD) break;
  }
  reply.answer = PQstatus(conn) == CONNECTION_BAD ? PgAnswer::kLost : PgAnswer::kAnswered;
  return reply;
}

}  // namespace vtx::emu
