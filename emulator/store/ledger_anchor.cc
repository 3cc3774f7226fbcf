#include "emulator/store/ledger_anchor.h"

#include <charconv>

#include <fmt/format.h>

#include "runtime/ole_date.h"
#include "runtime/runtime_error.h"

namespace vtx::emu {

namespace {

bool IsHash(std::string_view text) {
  return text.size() == 64 && text.find_first_not_of("0123456789abcdef") == std::string_view::npos;
}

std::optional<int64_t> Number(std::string_view text) {
  int64_t value = 0;
  const char* end = text.data() + text.size();
  auto [stop, error] = std::from_chars(text.data(), end, value);
  if (text.empty() || error != std::errc() || stop != end || value < 0) return std::nullopt;
  return value;
}

}  // namespace

std::string HeadText(const LedgerHead& head, double time) {
  return fmt::format("entry={} hash={} database={} time={}", head.seq, head.hash,
                     head.database_id.empty() ? "none" : head.database_id, date::ToIso(time));
}

std::optional<LedgerAnchor> ParseHeadText(std::string_view text, std::string source) {
  LedgerAnchor anchor;
  anchor.source = std::move(source);
  bool seq = false, hash = false;
  while (!text.empty()) {
    const size_t space = text.find(' ');
    const std::string_view field = text.substr(0, space);
    text = space == std::string_view::npos ? std::string_view() : text.substr(space + 1);
    const size_t equals = field.find('=');
    if (field.empty() || equals == std::string_view::npos) continue;
    const std::string_view key = field.substr(0, equals), value = field.substr(equals + 1);
    if (key == "entry") {
      const auto n = Number(value);
      if (!n) return std::nullopt;
      anchor.seq = *n;
      seq = true;
    } else if (key == "hash") {
      if (!IsHash(value)) return std::nullopt;
      anchor.hash = std::string(value);
      hash = true;
    } else if (key == "database") {
      anchor.database_id = value == "none" ? std::string() : std::string(value);
    } else if (key == "time") {
      try {
        anchor.time = date::FromIso(std::string(value));
      } catch (const RuntimeError&) {
        return std::nullopt;
      }
    }
  }
  if (!seq || !hash) return std::nullopt;
  return anchor;
}

std::optional<LedgerAnchor> ParseSeqHash(std::string_view text) {
  const size_t colon = text.find(':');
  if (colon == std::string_view::npos) return std::nullopt;
  const auto seq = Number(text.substr(0, colon));
  if (!seq || !IsHash(text.substr(colon + 1))) return std::nullopt;
  LedgerAnchor anchor;
  anchor.source = fmt::format("{}:{}...", *seq, text.substr(colon + 1, 12));
  anchor.seq = *seq;
  anchor.hash = std::string(text.substr(colon + 1));
  return anchor;
}

}  // namespace vtx::emu
