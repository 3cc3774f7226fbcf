#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "emulator/store/database.h"
#include "emulator/store/model.h"

namespace vtx::emu {

// The host's append-only, hash-chained ledger of electronic records, table
//   KV_LEDGER(SEQ, ACTION, OBJECT_ID, CLASS_ID, STAMP, USER_ID, DIGEST,
//             PREV_HASH, HASH)
// Every insert of an object of the class "Electronic Record" (or below it)
// appends an INSERT entry, every deletion a DELETE entry carrying the digest
// of the last values. DIGEST is the SHA-256 of the stored row in canonical
// form (RecordDigest); HASH is the SHA-256 of the entry's other fields and
// PREV_HASH, the HASH of the entry before it (64 zeros for the first), so an
// entry cannot be changed, removed or moved without breaking the chain.
// Stored electronic records cannot be updated.
//
// The hooks run inside the store's write transaction, so entries of
// concurrent writers are chained in commit order.
// Thread-safety: one thread (that of the Database).

inline constexpr const char* kElectronicRecordClass = "Electronic Record";
inline constexpr const char* kGenesisHash =
    "0000000000000000000000000000000000000000000000000000000000000000";

struct LedgerEntry {
  int64_t seq = 0;
  std::string action;  // "INSERT" or "DELETE"
  int32_t object_id = 0;
  int16_t class_id = 0;
  double stamp = 0;  // OLE date: the record's creation stamp, or the time of deletion
  int32_t user_id = 0;
  std::string digest;
  std::string prev_hash;
  std::string hash;
};

// Lower-case hexadecimal SHA-256 of `data`.
std::string Sha256Hex(std::string_view data);
// The hash an entry must carry: over every field but `hash`.
std::string EntryHash(const LedgerEntry& entry);
// True when the model keeps a ledger and objects of `def` are electronic records.
bool IsLedgered(const Model& model, const ClassDef& def);
// The digest of the stored row of `object_id` in the table of `def`: each
// column in attribute order as name, SQLite type and value, length-prefixed.
// Nothing when the row is missing.
std::optional<std::string> RecordDigest(Database& db, const ClassDef& def, int32_t object_id);

// Every entry, ascending SEQ (empty when the table does not exist).
std::vector<LedgerEntry> ReadLedger(Database& db);

// Store hooks. REQUIRE: a write transaction.
void LedgerInsert(Database& db, const Model& model, const ClassDef& def, int32_t object_id,
                  double stamp, int32_t user_id);
// Raises the host failure for a stored electronic record.
void LedgerRefuseUpdate(const Model& model, const ClassDef& def, int32_t object_id);
// Appends the deletion entry when `object_id` is an electronic record.
void LedgerDelete(Database& db, const Model& model, int32_t object_id, double stamp,
                  int32_t user_id);

}  // namespace vtx::emu
