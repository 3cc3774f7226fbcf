#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "emulator/sql/database.h"
#include "emulator/store/ledger.h"
#include "emulator/store/ledger_anchor.h"
#include "emulator/store/model.h"
#include "emulator/store/object_table.h"

namespace vtx::emu {

// What to check the ledger against.
struct VerifyOptions {
  // Heads kept outside the database: the chain must still reach each.
  std::vector<LedgerAnchor> against;
  // Check only what came after this anchor: its entry must still carry its
  // hash, and the entries after it, the rows they name, and the records and
  // links stored since (object ids above the last one entered up to it) are
  // checked as a full check would. Costs in proportion to what came after.
  // REQUIRES: no anchor of `against` before it.
  std::optional<LedgerAnchor> since;
};

// What a check of the ledger against the stored records found.
struct LedgerCheck {
  int64_t entries = 0;                // ledger entries read
  int64_t records = 0;                // electronic records stored (read)
  int64_t links = 0;                  // links that join an electronic record (read)
  int64_t anchors = 0;                // anchors checked
  int64_t first = 1;                  // the first entry checked (1, or after --since)
  bool links_chained = true;          // false for a database made before links were chained
                                      // (no id, no link entry)
  LedgerHead head;                    // the last entry read, and the database's id
  std::vector<std::string> problems;  // one line each, naming entries and object ids
};

// Recomputes the ledger's chain and compares it with the stored records and
// links, all in the database's current snapshot (open it with kRead for one
// snapshot throughout):
// - the chain: entries numbered without gaps, each naming the hash of the one
//   before it and carrying its own hash;
// - every record and link the ledger holds as stored is stored, with the
//   values its digest was taken of; every stored record, and every link one
//   of whose ends is a record, has a ledger entry;
// - every stored record is linked to each object its operation concerned
//   (CN_CLASS_ID/CN_OBJECT_ID; both ends when that object is a link) while
//   the object exists and the model has a link class that can join them;
// - each anchor: the database it names is this one, the chain still reaches
//   its entry and computes to its hash there (else truncated or rewritten),
//   and no entry after it is dated before it (back-dated).
// Reads only.
LedgerCheck VerifyLedger(Database& db, const Model& model, ObjectTable& objects,
                         const VerifyOptions& options = {});

}  // namespace vtx::emu
