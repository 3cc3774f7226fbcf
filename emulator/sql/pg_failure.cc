#include "emulator/sql/pg_failure.h"

#include <cctype>

#include <fmt/format.h>

#include "runtime/runtime_error.h"

namespace vtx::emu {

std::string PgLower(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

std::string AsSpelled(std::string_view sql, const std::string& name) {
  const std::string lower_sql = PgLower(sql);
  const std::string lower_name = PgLower(name);
  for (size_t at = lower_sql.find(lower_name); at != std::string::npos;
       at = lower_sql.find(lower_name, at + 1)) {
    const size_t end = at + lower_name.size();
    auto word = [](char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; };
    if ((at == 0 || !word(sql[at - 1])) && (end >= sql.size() || !word(sql[end])))
      return std::string(sql.substr(at, lower_name.size()));
  }
  return name;
}

namespace {

// The quoted name in a message such as `relation "x" does not exist`.
std::string QuotedIn(const std::string& message) {
  const size_t open = message.find('"');
  const size_t close = open == std::string::npos ? open : message.find('"', open + 1);
  if (close == std::string::npos) return {};
  return message.substr(open + 1, close - open - 1);
}

}  // namespace

[[noreturn]] void RaisePgFailure(PGconn* conn, const PGresult* result, std::string_view sql,
                                 const std::string& display) {
  const char* state = result ? PQresultErrorField(result, PG_DIAG_SQLSTATE) : nullptr;
  const char* primary = result ? PQresultErrorField(result, PG_DIAG_MESSAGE_PRIMARY) : nullptr;
  std::string message = primary ? primary : PQerrorMessage(conn);
  while (!message.empty() && std::isspace(static_cast<unsigned char>(message.back())))
    message.pop_back();
  const std::string code = state ? state : "";
  if (code == "55P03")
    Raise(err::kHostFailure,
          fmt::format("The database {} stayed locked by another process for {} s", display,
                      PgWaitSeconds()),
          "Korvel");
  if (code == "42P01") message = "no such table: " + AsSpelled(sql, QuotedIn(message));
  if (code == "42703") message = "no such column: " + AsSpelled(sql, QuotedIn(message));
  if (code == "42601" && !QuotedIn(message).empty())
    message = fmt::format("near \"{}\": syntax error", QuotedIn(message));
  Raise(err::kHostFailure, fmt::format("Database error ({}): {}", sql, message), "Korvel");
}

bool PgSucceeded(const PGresult* result) {
  const ExecStatusType status = PQresultStatus(result);
  return status == PGRES_COMMAND_OK || status == PGRES_TUPLES_OK;
}

}  // namespace vtx::emu
