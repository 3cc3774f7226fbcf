#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "emulator/sql/database.h"
#include "emulator/store/model.h"
#include "emulator/store/object_table.h"

namespace vtx::emu {

// The end of the ledger (see ledger.h) that the store's write transactions
// append to. Its last entry is read once per write transaction, then carried
// along: under the write lock only this process appends, so entries of
// concurrent writers are chained in commit order.
// Thread-safety: one thread (that of the Database).
class LedgerChain {
 public:
  explicit LedgerChain(Database& db) : db_(db) {}
  Database& Db() { return db_; }
  // Appends the entry after the last one. REQUIRES: a write transaction.
  void Append(const char* action, int32_t object_id, int16_t class_id, double stamp,
              int32_t user_id, std::string digest);
  // Creates the ledger's table when it is missing.
  void EnsureTable();
  // The last entry's SEQ and HASH as two result columns (NULL for none), for
  // a caller that reads them with something else; Know hands them back.
  static const char* HeadSql();
  void Know(std::optional<int64_t> seq, std::string hash);
  // True while the last entry is known for the write transaction open now.
  bool Known() const;

 private:
  Database& db_;
  int64_t seq_ = 0;
  std::string hash_;
  WriteMark mark_;
};

// The store's hooks that append to the ledger of electronic records, each
// inside the store's write transaction.
// REQUIRE (all but LedgerRefuseUpdate and JoinsRecord): a write transaction.
// Thread-safety: one thread (that of the Database).

// After an object of `def` was stored with `values` (one per attribute, ids
// set): INSERT for an electronic record, LINK for a link one of whose ends is
// one. `stamp` is its creation stamp.
void LedgerStored(LedgerChain& chain, const Model& model, ObjectTable& objects, const ClassDef& def,
                  int32_t object_id, const std::vector<Variant>& values, double stamp,
                  int32_t user_id);
// Raises the host failure for a stored electronic record.
void LedgerRefuseUpdate(const Model& model, const ClassDef& def, int32_t object_id);
// True when the stored link `object_id` of `def` joins an electronic record.
bool JoinsRecord(const Model& model, ObjectTable& objects, const ClassDef& def, int32_t object_id);
// After a link that joined an electronic record before the change, or joins
// one now, was changed: a LINK entry with the digest of its new values.
void LedgerRelinked(LedgerChain& chain, const ClassDef& def, int32_t object_id, double stamp,
                    int32_t user_id);
// Before an object is deleted, while every row of its cascade is still
// stored: DELETE for an electronic record, UNLINK for a link that joins one,
// with the digest of its last values.
void LedgerDeleting(LedgerChain& chain, const Model& model, ObjectTable& objects, int32_t object_id,
                    int16_t class_id, double stamp, int32_t user_id);
// Brings a database made before databases had an id, and links were chained,
// under the ledger: it gets its id and a LINK entry for every link that joins
// an electronic record, dated and signed as the link was created. Does
// nothing (reading only) for a database that has an id.
void AdoptOlderDatabase(LedgerChain& chain, const Model& model, ObjectTable& objects);

}  // namespace vtx::emu
