#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "emulator/store/database.h"
#include "emulator/store/model.h"
#include "emulator/store/object_table.h"

namespace vtx::emu {

// What a check of the ledger against the stored records found.
struct LedgerCheck {
  int64_t entries = 0;                // ledger entries read
  int64_t records = 0;                // electronic records stored
  std::vector<std::string> problems;  // one line each, naming entries and object ids
};

// Recomputes the ledger's chain and compares it with the stored records:
// - the chain: entries numbered without gaps, each naming the hash of the one
//   before it and carrying its own hash;
// - every record the ledger holds as stored is stored, with the values its
//   digest was taken of; every stored record has a ledger entry;
// - every stored record is linked to each object its operation concerned
//   (CN_CLASS_ID/CN_OBJECT_ID; both ends when that object is a link) while
//   the object exists and the model has a link class that can join them.
// Reads only.
LedgerCheck VerifyLedger(Database& db, const Model& model, ObjectTable& objects);

}  // namespace vtx::emu
