#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "emulator/sql/database.h"
#include "emulator/store/model.h"
#include "emulator/store/sha256.h"
#include "runtime/variant.h"

namespace vtx::emu {

// The host's append-only, hash-chained ledger of electronic records, table
//   KV_LEDGER(SEQ, ACTION, OBJECT_ID, CLASS_ID, STAMP, USER_ID, DIGEST,
//             PREV_HASH, HASH)
// Every insert of an object of the class "Electronic Record" (or below it)
// appends an INSERT entry, every deletion a DELETE entry carrying the digest
// of the last values; a link one of whose ends is such a record is chained
// the same way (LINK when it is stored or changed, UNLINK when deleted).
// DIGEST is the SHA-256 of the stored row in canonical form (RowDigest);
// HASH is the SHA-256 of the entry's other fields and PREV_HASH, the HASH of
// the entry before it (64 zeros for the first), so an entry cannot be
// changed, removed or moved without breaking the chain, unless every later
// hash is computed again: only a head kept outside the database tells that
// (see ledger_anchor.h). Stored electronic records cannot be updated.
// Thread-safety: one thread (that of the Database).

inline constexpr const char* kElectronicRecordClass = "Electronic Record";
inline constexpr const char* kGenesisHash =
    "0000000000000000000000000000000000000000000000000000000000000000";
inline constexpr const char* kInsertAction = "INSERT";
inline constexpr const char* kDeleteAction = "DELETE";
inline constexpr const char* kLinkAction = "LINK";
inline constexpr const char* kUnlinkAction = "UNLINK";

struct LedgerEntry {
  int64_t seq = 0;
  std::string action;  // kInsertAction, kDeleteAction, kLinkAction or kUnlinkAction
  int32_t object_id = 0;
  int16_t class_id = 0;
  double stamp = 0;  // OLE date: the row's creation stamp, or the time of the change
  int32_t user_id = 0;
  std::string digest;
  std::string prev_hash;
  std::string hash;
};

// The last entry of the chain and the database it belongs to.
struct LedgerHead {
  int64_t seq = 0;  // 0: no entry
  std::string hash = kGenesisHash;
  double stamp = 0;         // the last entry's
  std::string database_id;  // "" for a database made before databases had one
};

// The hash an entry must carry: over every field but `hash`.
std::string EntryHash(const LedgerEntry& entry);
// True when the model keeps a ledger and objects of `def` are electronic records.
bool IsLedgered(const Model& model, const ClassDef& def);
// The digest of the row `row` stands on, a `SELECT *` of the table of `def`:
// each column in attribute order as name, SQLite type and value,
// length-prefixed.
std::string RowDigest(const ClassDef& def, const Statement& row);
// RowDigest of the row the store writes when it binds `row` (one value per
// attribute of `def`, in attribute order), without reading it back; nothing
// when a value's stored form cannot be told from the value alone.
std::optional<std::string> BoundRowDigest(const ClassDef& def, const std::vector<Variant>& row);
// The digest of the stored row of `object_id` in the table of `def`; nothing
// when the row is missing.
std::optional<std::string> RecordDigest(Database& db, const ClassDef& def, int32_t object_id);
// The objects a link row joins (relation: OBJECT_ID1, OBJECT_ID2; composition:
// PAR_OBJECT_ID, SON_OBJECT_ID), the ends that are set.
std::vector<int32_t> LinkEnds(const ClassDef& def, const std::vector<Variant>& row);

// The entries from SEQ `from` on, ascending SEQ (none when the table does not
// exist), each handed to `visit`.
void ForEachEntry(Database& db, int64_t from, const std::function<void(LedgerEntry&)>& visit);
// Every entry, ascending SEQ.
std::vector<LedgerEntry> ReadLedger(Database& db);
// The entry numbered `seq`, when there is one.
std::optional<LedgerEntry> ReadEntry(Database& db, int64_t seq);
LedgerHead ReadHead(Database& db);
// The latest entry of each of `object_ids` that has one, in one pass.
std::unordered_map<int32_t, LedgerEntry> LatestEntries(
    Database& db, const std::unordered_set<int32_t>& object_ids);

}  // namespace vtx::emu
