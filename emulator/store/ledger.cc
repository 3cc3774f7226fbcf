#include "emulator/store/ledger.h"

#include <openssl/evp.h>

#include <fmt/format.h>

#include "runtime/runtime_error.h"

namespace vtx::emu {

namespace {

constexpr const char* kCreateLedger =
    "CREATE TABLE IF NOT EXISTS KV_LEDGER (SEQ INTEGER PRIMARY KEY, ACTION TEXT NOT NULL,"
    " OBJECT_ID INTEGER NOT NULL, CLASS_ID INTEGER NOT NULL, STAMP REAL NOT NULL,"
    " USER_ID INTEGER NOT NULL, DIGEST TEXT NOT NULL, PREV_HASH TEXT NOT NULL,"
    " HASH TEXT NOT NULL)";

// One field of a canonical text: its length first, so no value can pass for
// two fields.
void Field(std::string& out, std::string_view text) {
  out += std::to_string(text.size());
  out += ':';
  out += text;
}

std::string DoubleText(double value) { return fmt::format("{:.17g}", value); }

void Append(Database& db, const std::string& action, int32_t object_id, int16_t class_id,
            double stamp, int32_t user_id, std::string digest) {
  // Prepared once per connection, this costs a look-up when the table is there.
  db.Prepare(kCreateLedger).Run();
  LedgerEntry entry{1, action, object_id, class_id, stamp, user_id, std::move(digest), kGenesisHash,
                    {}};
  {
    Statement last = db.Prepare("SELECT SEQ, HASH FROM KV_LEDGER ORDER BY SEQ DESC LIMIT 1");
    if (last.Step()) {
      entry.seq = last.Int(0) + 1;
      entry.prev_hash = last.Text(1);
    }
  }
  entry.hash = EntryHash(entry);
  Statement insert = db.Prepare(
      "INSERT INTO KV_LEDGER (SEQ, ACTION, OBJECT_ID, CLASS_ID, STAMP, USER_ID, DIGEST,"
      " PREV_HASH, HASH) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)");
  insert.BindInt(1, entry.seq).BindText(2, entry.action).BindInt(3, object_id);
  insert.BindInt(4, class_id).Bind(5, Variant(stamp)).BindInt(6, user_id);
  insert.BindText(7, entry.digest).BindText(8, entry.prev_hash).BindText(9, entry.hash);
  insert.Run();
}

}  // namespace

std::string Sha256Hex(std::string_view data) {
  // Fetched once: finding the implementation again costs more than hashing
  // a record.
  static EVP_MD* const sha256 = EVP_MD_fetch(nullptr, "SHA256", nullptr);
  unsigned char digest[EVP_MAX_MD_SIZE];
  unsigned int size = 0;
  if (!sha256 || EVP_Digest(data.data(), data.size(), digest, &size, sha256, nullptr) != 1)
    Raise(err::kHostFailure, "SHA-256 is not available", "Korvel");
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string hex(2 * size, '0');
  for (unsigned int i = 0; i < size; ++i) {
    hex[2 * i] = kDigits[digest[i] >> 4];
    hex[2 * i + 1] = kDigits[digest[i] & 0xf];
  }
  return hex;
}

std::string EntryHash(const LedgerEntry& e) {
  std::string text;
  for (const std::string& field :
       {std::to_string(e.seq), e.action, std::to_string(e.object_id), std::to_string(e.class_id),
        DoubleText(e.stamp), std::to_string(e.user_id), e.digest, e.prev_hash})
    Field(text, field);
  return Sha256Hex(text);
}

bool IsLedgered(const Model& model, const ClassDef& def) {
  if (!model.ledger) return false;
  const ClassDef* records = model.ByName(kElectronicRecordClass);
  return records && model.IsA(def.id, records->id);
}

std::optional<std::string> RecordDigest(Database& db, const ClassDef& def, int32_t object_id) {
  // The class's table holds its attributes in attribute order.
  Statement s =
      db.Prepare(fmt::format("SELECT * FROM {} WHERE \"OBJECT_ID\" = ?", QuoteId(def.table)));
  s.BindInt(1, object_id);
  if (!s.Step()) return std::nullopt;
  std::string text;
  for (size_t i = 0; i < def.attributes.size(); ++i) {
    const int column = static_cast<int>(i);
    Field(text, def.attributes[i].name);
    switch (s.Kind(column)) {
      case SqlKind::kNull:
        Field(text, "N");
        break;
      case SqlKind::kInteger:
        Field(text, "I" + std::to_string(s.Int(column)));
        break;
      case SqlKind::kReal:
        Field(text, "R" + DoubleText(s.Real(column)));
        break;
      default:
        Field(text, "T" + s.Text(column));
    }
  }
  return Sha256Hex(text);
}

std::vector<LedgerEntry> ReadLedger(Database& db) {
  std::vector<LedgerEntry> entries;
  if (!db.HasTable("KV_LEDGER")) return entries;
  Statement s = db.Prepare(
      "SELECT SEQ, ACTION, OBJECT_ID, CLASS_ID, STAMP, USER_ID, DIGEST, PREV_HASH, HASH"
      " FROM KV_LEDGER ORDER BY SEQ");
  while (s.Step())
    entries.push_back(LedgerEntry{s.Int(0), s.Text(1), static_cast<int32_t>(s.Int(2)),
                                  static_cast<int16_t>(s.Int(3)), s.Real(4),
                                  static_cast<int32_t>(s.Int(5)), s.Text(6), s.Text(7), s.Text(8)});
  return entries;
}

void LedgerInsert(Database& db, const Model& model, const ClassDef& def, int32_t object_id,
                  double stamp, int32_t user_id) {
  if (!IsLedgered(model, def)) return;
  Append(db, "INSERT", object_id, def.id, stamp, user_id,
         RecordDigest(db, def, object_id).value_or(""));
}

void LedgerRefuseUpdate(const Model& model, const ClassDef& def, int32_t object_id) {
  if (!IsLedgered(model, def)) return;
  Raise(err::kHostFailure,
        fmt::format("The electronic record {} is stored and cannot be changed", object_id),
        "Korvel");
}

void LedgerDelete(Database& db, const Model& model, int32_t object_id, double stamp,
                  int32_t user_id) {
  const ClassDef* def = nullptr;
  {
    Statement s = db.Prepare("SELECT CLASS_ID FROM KV_OBJECTS WHERE OBJECT_ID = ?");
    s.BindInt(1, object_id);
    if (s.Step()) def = model.ById(static_cast<int16_t>(s.Int(0)));
  }
  if (!def || !IsLedgered(model, *def)) return;
  Append(db, "DELETE", object_id, def->id, stamp, user_id,
         RecordDigest(db, *def, object_id).value_or(""));
}

}  // namespace vtx::emu
