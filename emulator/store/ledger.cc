#include "emulator/store/ledger.h"

#include <charconv>
#include <cmath>
#include <cstring>

#include <fmt/format.h>

#include "emulator/store/database_identity.h"
#include "emulator/store/value_convert.h"
#include "runtime/runtime_error.h"

namespace vtx::emu {

namespace {

// Numbers are written through a buffer on the stack: a string or a stream
// per field costs more than the digest.
void AppendNumber(std::string& out, int64_t value) {
  char text[24];
  const auto end = std::to_chars(text, text + sizeof text, value).ptr;
  out.append(text, end);
}

void AppendDouble(std::string& out, double value) {
  char text[40];
  const auto end = fmt::format_to_n(text, sizeof text, "{:.17g}", value).out;
  out.append(text, end);
}

// One field of a canonical text: its length first, so no value can pass for
// two fields.
void Field(std::string& out, std::string_view text) {
  AppendNumber(out, static_cast<int64_t>(text.size()));
  out += ':';
  out += text;
}

void NumberField(std::string& out, int64_t value) {
  char text[24];
  const auto end = std::to_chars(text, text + sizeof text, value).ptr;
  Field(out, std::string_view(text, static_cast<size_t>(end - text)));
}

// A value in canonical form, its SQL type first: "N", "I" with the integer,
// "R" with the double, "T" with the text; each written over `form`.
void IntegerForm(std::string& form, int64_t value) {
  form.clear();
  form += 'I';
  AppendNumber(form, value);
}
void RealForm(std::string& form, double value) {
  form.clear();
  form += 'R';
  AppendDouble(form, value);
}
void TextForm(std::string& form, std::string_view text) {
  form.clear();
  form += 'T';
  form += text;
}

// Writes over `form` the canonical form of a value bound into a column of
// `column_type`, as the database will give it back; false when the value
// alone does not tell (it changes type on the way in, or is stored in
// another form).
bool StoredForm(const Variant& bound, std::string_view column_type, std::string& form) {
  switch (bound.Type()) {
    case VarType::kEmpty:
    case VarType::kNull:
      form.clear();
      form += 'N';
      return true;
    case VarType::kI2:
    case VarType::kI4:
    case VarType::kBool:
      if (column_type != "INTEGER") return false;
      IntegerForm(form, bound.Type() == VarType::kI2   ? bound.AsI2()
                        : bound.Type() == VarType::kI4 ? bound.AsI4()
                        : bound.AsBool()               ? -1
                                                       : 0);
      return true;
    case VarType::kR8:
    case VarType::kDate: {
      if (column_type != "REAL") return false;
      const double value = bound.Type() == VarType::kR8 ? bound.AsR8() : bound.AsDate();
      // SQLite stores NaN as NULL and gives -0 back as +0.
      if (!std::isfinite(value) || (value == 0 && std::signbit(value))) return false;
      RealForm(form, value);
      return true;
    }
    case VarType::kString:
      if (column_type != "TEXT") return false;
      TextForm(form, bound.AsString());
      return true;
    default:
      return false;
  }
}

constexpr const char* kEntryColumns =
    "SELECT SEQ, ACTION, OBJECT_ID, CLASS_ID, STAMP, USER_ID, DIGEST, PREV_HASH, HASH"
    " FROM KV_LEDGER";

LedgerEntry EntryOf(const Statement& s) {
  return LedgerEntry{s.Int(0),
                     s.Text(1),
                     static_cast<int32_t>(s.Int(2)),
                     static_cast<int16_t>(s.Int(3)),
                     s.Real(4),
                     static_cast<int32_t>(s.Int(5)),
                     s.Text(6),
                     s.Text(7),
                     s.Text(8)};
}

}  // namespace

std::string EntryHash(const LedgerEntry& e) {
  std::string text;
  text.reserve(256);
  NumberField(text, e.seq);
  Field(text, e.action);
  NumberField(text, e.object_id);
  NumberField(text, e.class_id);
  std::string stamp;
  AppendDouble(stamp, e.stamp);
  Field(text, stamp);
  NumberField(text, e.user_id);
  Field(text, e.digest);
  Field(text, e.prev_hash);
  return Sha256Hex(text);
}

bool IsLedgered(const Model& model, const ClassDef& def) {
  if (!model.ledger) return false;
  const ClassDef* records = model.ByName(kElectronicRecordClass);
  return records && model.IsA(def.id, records->id);
}

std::string RowDigest(const ClassDef& def, const Statement& row) {
  // The class's table holds its attributes in attribute order.
  std::string text;
  std::string form;
  for (size_t i = 0; i < def.attributes.size(); ++i) {
    const int column = static_cast<int>(i);
    Field(text, def.attributes[i].name);
    switch (row.Kind(column)) {
      case SqlKind::kNull:
        form.clear();
        form += 'N';
        break;
      case SqlKind::kInteger:
        IntegerForm(form, row.Int(column));
        break;
      case SqlKind::kReal:
        RealForm(form, row.Real(column));
        break;
      default:
        TextForm(form, row.Text(column));
    }
    Field(text, form);
  }
  return Sha256Hex(text);
}

std::optional<std::string> BoundRowDigest(const ClassDef& def, const std::vector<Variant>& row) {
  static const Variant kMissing;
  std::string text;
  text.reserve(512);
  std::string form;
  for (size_t i = 0; i < def.attributes.size(); ++i) {
    if (!StoredForm(i < row.size() ? row[i] : kMissing, SqlTypeOf(def.attributes[i].type), form))
      return std::nullopt;
    Field(text, def.attributes[i].name);
    Field(text, form);
  }
  return Sha256Hex(text);
}

std::optional<std::string> RecordDigest(Database& db, const ClassDef& def, int32_t object_id) {
  Statement s =
      db.Prepare(fmt::format("SELECT * FROM {} WHERE \"OBJECT_ID\" = ?", QuoteId(def.table)));
  s.BindInt(1, object_id);
  if (!s.Step()) return std::nullopt;
  return RowDigest(def, s);
}

std::vector<int32_t> LinkEnds(const ClassDef& def, const std::vector<Variant>& row) {
  const bool relation = def.kind == kind::kRelation;
  std::vector<int32_t> ends;
  for (const char* name : {relation ? attr::kObjectId1 : attr::kParObjectId,
                           relation ? attr::kObjectId2 : attr::kSonObjectId}) {
    const int index = def.FindAttribute(name);
    if (index < 0 || row[index].IsNull() || row[index].IsEmpty()) continue;
    try {
      ends.push_back(row[index].ToInt32());
    } catch (const RuntimeError&) {  // not an object id: no end
    }
  }
  return ends;
}

void ForEachEntry(Database& db, int64_t from, const std::function<void(LedgerEntry&)>& visit) {
  if (!db.HasTable("KV_LEDGER")) return;
  Statement s = db.Prepare(std::string(kEntryColumns) + " WHERE SEQ >= ? ORDER BY SEQ");
  s.BindInt(1, from);
  while (s.Step()) {
    LedgerEntry entry = EntryOf(s);
    visit(entry);
  }
}

std::vector<LedgerEntry> ReadLedger(Database& db) {
  std::vector<LedgerEntry> entries;
  ForEachEntry(db, INT64_MIN, [&](LedgerEntry& e) { entries.push_back(std::move(e)); });
  return entries;
}

std::optional<LedgerEntry> ReadEntry(Database& db, int64_t seq) {
  if (!db.HasTable("KV_LEDGER")) return std::nullopt;
  Statement s = db.Prepare(std::string(kEntryColumns) + " WHERE SEQ = ?");
  s.BindInt(1, seq);
  if (!s.Step()) return std::nullopt;
  return EntryOf(s);
}

LedgerHead ReadHead(Database& db) {
  LedgerHead head;
  head.database_id = ReadDatabaseId(db);
  if (!db.HasTable("KV_LEDGER")) return head;
  Statement s = db.Prepare("SELECT SEQ, HASH, STAMP FROM KV_LEDGER ORDER BY SEQ DESC LIMIT 1");
  if (s.Step()) {
    head.seq = s.Int(0);
    head.hash = s.Text(1);
    head.stamp = s.Real(2);
  }
  return head;
}

std::unordered_map<int32_t, LedgerEntry> LatestEntries(
    Database& db, const std::unordered_set<int32_t>& object_ids) {
  std::unordered_map<int32_t, LedgerEntry> latest;
  if (object_ids.empty()) return latest;
  ForEachEntry(db, INT64_MIN, [&](LedgerEntry& e) {
    if (object_ids.count(e.object_id)) latest[e.object_id] = std::move(e);
  });
  return latest;
}

}  // namespace vtx::emu
