#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "emulator/store/ledger.h"

namespace vtx::emu {

// A head of the ledger kept outside the database: a checkpoint line, the
// head a report printed, or "SEQ:HASH" a person wrote down. The chain must
// still reach entry `seq` and compute to `hash` there; entries after it must
// be dated after `time`.
struct LedgerAnchor {
  std::string source;  // where it comes from, for messages
  int64_t seq = 0;
  std::string hash = kGenesisHash;
  std::string database_id;     // "" when the anchor names no database
  std::optional<double> time;  // OLE date (local time) it was taken at
};

// Clocks of the machines writing one database may differ by this much (in
// days: 5 minutes): an entry after an anchor counts as back-dated only when
// it is dated earlier than the anchor by more.
inline constexpr double kClockToleranceDays = 5.0 / (24 * 60);

// The head as a text of space-separated fields, the one form checkpoints and
// reports write: "entry=42 hash=<64 hex> database=<id or none>
// time=2026-12-05T10:11:12".
std::string HeadText(const LedgerHead& head, double time);
// Reads HeadText's form back; nothing when `text` is not in it.
std::optional<LedgerAnchor> ParseHeadText(std::string_view text, std::string source);
// Reads "SEQ:HASH"; nothing when `text` is not in that form.
std::optional<LedgerAnchor> ParseSeqHash(std::string_view text);

}  // namespace vtx::emu
