#include "emulator/store/ledger_writer.h"

#include <fmt/format.h>

#include "emulator/store/database_identity.h"
#include "emulator/store/ledger.h"
#include "runtime/runtime_error.h"

namespace vtx::emu {

namespace {

constexpr const char* kCreateLedger =
    "CREATE TABLE IF NOT EXISTS KV_LEDGER (SEQ INTEGER PRIMARY KEY, ACTION TEXT NOT NULL,"
    " OBJECT_ID INTEGER NOT NULL, CLASS_ID INTEGER NOT NULL, STAMP REAL NOT NULL,"
    " USER_ID INTEGER NOT NULL, DIGEST TEXT NOT NULL, PREV_HASH TEXT NOT NULL,"
    " HASH TEXT NOT NULL)";

// True when one of the ends of a link row is a stored electronic record.
bool EndsJoinRecord(const Model& model, ObjectTable& objects, const ClassDef& def,
                    const std::vector<Variant>& row) {
  if (!model.ledger || !model.ByName(kElectronicRecordClass)) return false;
  for (int32_t end : LinkEnds(def, row)) {
    const auto end_class = objects.ClassOf(end);
    const ClassDef* end_def = end_class ? model.ById(*end_class) : nullptr;
    if (end_def && IsLedgered(model, *end_def)) return true;
  }
  return false;
}

}  // namespace

void LedgerChain::EnsureTable() {
  // Prepared once per connection, this costs a look-up when the table is there.
  db_.Prepare(kCreateLedger).Run();
}

const char* LedgerChain::HeadSql() {
  return "(SELECT SEQ FROM KV_LEDGER ORDER BY SEQ DESC LIMIT 1), (SELECT HASH FROM KV_LEDGER "
         "ORDER BY SEQ DESC LIMIT 1)";
}

void LedgerChain::Know(std::optional<int64_t> seq, std::string hash) {
  seq_ = seq.value_or(0);
  hash_ = seq ? std::move(hash) : std::string(kGenesisHash);
  mark_ = db_.CurrentWrite();
}

bool LedgerChain::Known() const { return db_.StillWriting(mark_); }

void LedgerChain::Append(const char* action, int32_t object_id, int16_t class_id, double stamp,
                         int32_t user_id, std::string digest) {
  // The table stands for the rest of a write transaction once looked at.
  if (!Known()) {
    EnsureTable();
    Statement last = db_.Prepare(fmt::format("SELECT {}", HeadSql()));
    last.Step();
    Know(last.IsNull(0) ? std::nullopt : std::optional<int64_t>(last.Int(0)),
         last.IsNull(1) ? std::string() : last.Text(1));
  }
  LedgerEntry entry{seq_ + 1,          action, object_id, class_id, stamp, user_id,
                    std::move(digest), hash_,  {}};
  entry.hash = EntryHash(entry);
  Statement insert = db_.Prepare(
      "INSERT INTO KV_LEDGER (SEQ, ACTION, OBJECT_ID, CLASS_ID, STAMP, USER_ID, DIGEST,"
      " PREV_HASH, HASH) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)");
  insert.BindInt(1, entry.seq).BindText(2, entry.action).BindInt(3, object_id);
  insert.BindInt(4, class_id).Bind(5, Variant(stamp)).BindInt(6, user_id);
  insert.BindText(7, entry.digest).BindText(8, entry.prev_hash).BindText(9, entry.hash);
  insert.Run();
  // A rollback of this insert moves the write mark, and the head is read again.
  Know(entry.seq, std::move(entry.hash));
}

void LedgerStored(LedgerChain& chain, const Model& model, ObjectTable& objects, const ClassDef& def,
                  int32_t object_id, const std::vector<Variant>& values, double stamp,
                  int32_t user_id) {
  const char* action = nullptr;
  if (IsLedgered(model, def))
    action = kInsertAction;
  else if (def.IsLink() && EndsJoinRecord(model, objects, def, values))
    action = kLinkAction;
  if (!action) return;
  // The row just written is the values bound: no need to read it back.
  std::optional<std::string> digest = BoundRowDigest(def, values);
  if (!digest) digest = RecordDigest(chain.Db(), def, object_id);
  chain.Append(action, object_id, def.id, stamp, user_id, digest.value_or(""));
}

void LedgerRefuseUpdate(const Model& model, const ClassDef& def, int32_t object_id) {
  if (!IsLedgered(model, def)) return;
  Raise(err::kHostFailure,
        fmt::format("The electronic record {} is stored and cannot be changed", object_id),
        "Korvel");
}

bool JoinsRecord(const Model& model, ObjectTable& objects, const ClassDef& def, int32_t object_id) {
  if (!def.IsLink() || !model.ledger) return false;
  const auto row = objects.Read(def, object_id);
  return row && EndsJoinRecord(model, objects, def, *row);
}

void LedgerRelinked(LedgerChain& chain, const ClassDef& def, int32_t object_id, double stamp,
                    int32_t user_id) {
  chain.Append(kLinkAction, object_id, def.id, stamp, user_id,
               RecordDigest(chain.Db(), def, object_id).value_or(""));
}

void LedgerDeleting(LedgerChain& chain, const Model& model, ObjectTable& objects, int32_t object_id,
                    int16_t class_id, double stamp, int32_t user_id) {
  const ClassDef* def = model.ById(class_id);
  if (!def) return;
  const char* action = nullptr;
  if (IsLedgered(model, *def))
    action = kDeleteAction;
  else if (JoinsRecord(model, objects, *def, object_id))
    action = kUnlinkAction;
  if (action)
    chain.Append(action, object_id, class_id, stamp, user_id,
                 RecordDigest(chain.Db(), *def, object_id).value_or(""));
}

void AdoptOlderDatabase(LedgerChain& chain, const Model& model, ObjectTable& objects) {
  Database& db = chain.Db();
  if (!ReadDatabaseId(db).empty()) return;
  Database::Transaction tx(db);
  // Another process may have done it meanwhile: look again under the lock.
  if (!ReadDatabaseId(db).empty()) return;
  StoreDatabaseId(db, NewDatabaseId());
  for (const ClassDef& def : model.classes) {
    if (!def.IsLink() || !model.ledger) continue;
    std::vector<int32_t> ids;
    {
      Statement s = db.Prepare(
          fmt::format("SELECT \"OBJECT_ID\" FROM {} ORDER BY \"OBJECT_ID\"", QuoteId(def.table)));
      while (s.Step()) ids.push_back(static_cast<int32_t>(s.Int(0)));
    }
    const int at = def.FindAttribute(attr::kCreatedAt);
    const int by = def.FindAttribute(attr::kCreatedBy);
    for (int32_t id : ids) {
      const auto row = objects.Read(def, id);
      if (!row || !EndsJoinRecord(model, objects, def, *row)) continue;
      const Variant& stamp = (*row)[at];
      const Variant& user = (*row)[by];
      chain.Append(kLinkAction, id, def.id, stamp.IsNull() ? 0.0 : stamp.ToDate(),
                   user.IsNull() ? 0 : user.ToInt32(), RecordDigest(db, def, id).value_or(""));
    }
  }
  tx.Commit();
}

}  // namespace vtx::emu
