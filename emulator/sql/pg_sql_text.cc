#include "emulator/sql/pg_sql_text.h"

#include <algorithm>
#include <cctype>
#include <regex>

namespace vtx::emu {

namespace {

bool IsWordChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }

std::string Upper(std::string_view word) {
  std::string out(word);
  for (char& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return out;
}

// Skips a string literal or quoted identifier starting at `i`; returns the
// index after its closing quote.
size_t SkipQuoted(std::string_view sql, size_t i) {
  const char quote = sql[i];
  for (++i; i < sql.size(); ++i) {
    if (sql[i] != quote) continue;
    if (i + 1 < sql.size() && sql[i + 1] == quote) {
      ++i;
      continue;
    }
    return i + 1;
  }
  return i;
}

// The number of top-level arguments of the call whose '(' is at `open`.
int ArgumentCount(std::string_view sql, size_t open) {
  int depth = 0, commas = 0;
  for (size_t i = open; i < sql.size();) {
    const char c = sql[i];
    if (c == '\'' || c == '"') {
      i = SkipQuoted(sql, i);
      continue;
    }
    if (c == '(') ++depth;
    if (c == ')' && --depth == 0) return commas + 1;
    if (c == ',' && depth == 1) ++commas;
    ++i;
  }
  return commas + 1;
}

size_t NextNonSpace(std::string_view sql, size_t i) {
  while (i < sql.size() && std::isspace(static_cast<unsigned char>(sql[i]))) ++i;
  return i;
}

}  // namespace

PgSqlText TranslateToPg(std::string_view original) {
  static const std::regex kJsonIds(R"(SELECT value FROM json_each\((\?\d*)\))");
  // Every PostgreSQL table is stored apart from its primary key's index.
  static const std::regex kWithoutRowid(R"(\)\s*WITHOUT\s+ROWID\b)", std::regex::icase);
  const std::string sql = std::regex_replace(
      std::regex_replace(
          std::string(original), kJsonIds,
          "SELECT CAST(value AS BIGINT) FROM json_array_elements_text(CAST($1 AS json))"),
      kWithoutRowid, ")");
  PgSqlText out;
  std::string first;
  bool writes = false;
  bool create_table = false;
  int depth = 0;
  bool expect_name = false;  // in CREATE TABLE's list, a column name comes next
  std::string previous;
  for (size_t i = 0; i < sql.size();) {
    const char c = sql[i];
    if (c == '\'') {
      const size_t end = SkipQuoted(sql, i);
      out.text.append(sql, i, end - i);
      i = end;
      continue;
    }
    if (c == '"') {
      const size_t end = SkipQuoted(sql, i);
      for (size_t k = i; k < end; ++k)
        out.text += static_cast<char>(std::tolower(static_cast<unsigned char>(sql[k])));
      i = end;
      expect_name = false;
      continue;
    }
    if (c == '-' && i + 1 < sql.size() && sql[i + 1] == '-') {
      const size_t end = std::min(sql.find('\n', i), sql.size());
      out.text.append(sql, i, end - i);
      i = end;
      continue;
    }
    if (c == '?') {
      size_t end = i + 1;
      while (end < sql.size() && std::isdigit(static_cast<unsigned char>(sql[end]))) ++end;
      const int n =
          end > i + 1 ? std::stoi(std::string(sql, i + 1, end - i - 1)) : out.parameters + 1;
      out.parameters = std::max(out.parameters, n);
      if (out.used.size() < static_cast<size_t>(n)) out.used.resize(static_cast<size_t>(n));
      out.used[static_cast<size_t>(n) - 1] = true;
      out.text += "$" + std::to_string(n);
      i = end;
      continue;
    }
    if (IsWordChar(c) && !std::isdigit(static_cast<unsigned char>(c))) {
      size_t end = i;
      while (end < sql.size() && IsWordChar(sql[end])) ++end;
      const std::string word = Upper(std::string_view(sql).substr(i, end - i));
      if (first.empty()) first = word;
      if (word == "INSERT" || word == "UPDATE" || word == "DELETE") writes = true;
      if (previous == "CREATE" && word == "TABLE") create_table = true;
      const bool call = NextNonSpace(sql, end) < sql.size() && sql[NextNonSpace(sql, end)] == '(';
      std::string replacement(sql, i, end - i);
      if (create_table && depth == 1 && !expect_name) {
        if (word == "INTEGER")
          replacement = "BIGINT";
        else if (word == "REAL")
          replacement = "DOUBLE PRECISION";
        else if (word == "TEXT")
          replacement = "TEXT COLLATE \"C\"";
      } else if (word == "IFNULL" && call) {
        replacement = "coalesce";
      } else if ((word == "MAX" || word == "MIN") && call &&
                 ArgumentCount(sql, NextNonSpace(sql, end)) > 1) {
        replacement = word == "MAX" ? "greatest" : "least";
      }
      out.text += replacement;
      expect_name = false;
      previous = word;
      i = end;
      continue;
    }
    if (c == '(') {
      ++depth;
      expect_name = create_table && depth == 1;
    } else if (c == ')') {
      --depth;
    } else if (c == ',' && create_table && depth == 1) {
      expect_name = true;
    } else if (c == ';') {
      create_table = false;
      depth = 0;
    }
    if (IsWordChar(c)) {  // a number
      size_t end = i;
      while (end < sql.size() && (IsWordChar(sql[end]) || sql[end] == '.')) ++end;
      out.text.append(sql, i, end - i);
      i = end;
      continue;
    }
    out.text += c;
    ++i;
  }
  // Transaction control reads nothing and writes nothing: read-only, as SQLite
  // counts it.
  out.read_only = (!writes && (first == "SELECT" || first == "VALUES" || first == "WITH")) ||
                  first == "BEGIN" || first == "COMMIT" || first == "END" || first == "ROLLBACK" ||
                  first == "SAVEPOINT" || first == "RELEASE";
  out.preparable = first == "SELECT" || first == "VALUES" || first == "WITH" || first == "INSERT" ||
                   first == "UPDATE" || first == "DELETE";
  out.holdable =
      Upper(sql).find("RETURNING") == std::string::npos &&
      (first == "INSERT" || first == "UPDATE" || first == "DELETE" || first == "SAVEPOINT" ||
       (first == "CREATE" && Upper(sql).find("IF NOT EXISTS") != std::string::npos));
  out.undoes = first == "ROLLBACK";
  return out;
}

}  // namespace vtx::emu
