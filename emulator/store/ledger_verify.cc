#include "emulator/store/ledger_verify.h"

#include <map>

#include <fmt/format.h>

#include "emulator/store/ledger.h"

namespace vtx::emu {

namespace {

void CheckChain(const std::vector<LedgerEntry>& entries, LedgerCheck& check) {
  std::string previous = kGenesisHash;
  int64_t expected = 1;
  for (const LedgerEntry& e : entries) {
    if (e.seq != expected)
      check.problems.push_back(
          fmt::format("ledger entries #{} to #{} are missing (before the {} of object {})",
                      expected, e.seq - 1, e.action, e.object_id));
    else if (e.prev_hash != previous)
      check.problems.push_back(
          fmt::format("chain broken at entry #{} (object {}): it does not follow entry #{}", e.seq,
                      e.object_id, e.seq - 1));
    if (EntryHash(e) != e.hash)
      check.problems.push_back(
          fmt::format("entry #{} (object {}) was altered or moved", e.seq, e.object_id));
    previous = e.hash;
    expected = e.seq + 1;
  }
}

std::optional<int32_t> IntValue(const ClassDef& def, const std::vector<Variant>& row,
                                const char* name) {
  const int index = def.FindAttribute(name);
  if (index < 0 || row[index].IsNull() || row[index].IsEmpty()) return std::nullopt;
  return row[index].ToInt32();
}

// True when some relation link class of the model can join the two classes.
bool Linkable(const Model& model, int16_t a, int16_t b) {
  const ClassDef* da = model.ById(a);
  const ClassDef* db = model.ById(b);
  if (!da || !db) return false;
  for (const ClassDef& link : model.classes) {
    if (link.kind != kind::kRelation || link.ends.size() != 2) continue;
    if ((link.ends[0] == da->super && link.ends[1] == db->super) ||
        (link.ends[0] == db->super && link.ends[1] == da->super))
      return true;
  }
  return false;
}

// The objects a record's operation concerned: the object, or a link's ends.
std::vector<int32_t> Concerned(const Model& model, ObjectTable& objects, int32_t object_id) {
  const auto class_id = objects.ClassOf(object_id);
  if (!class_id) return {};
  const ClassDef* def = model.ById(*class_id);
  if (!def || !def->IsLink()) return {object_id};
  const auto row = objects.Read(*def, object_id);
  if (!row) return {};
  const bool relation = def->kind == kind::kRelation;
  std::vector<int32_t> ends;
  for (const char* name : {relation ? attr::kObjectId1 : attr::kParObjectId,
                           relation ? attr::kObjectId2 : attr::kSonObjectId})
    if (auto id = IntValue(*def, *row, name); id && objects.ClassOf(*id)) ends.push_back(*id);
  return ends;
}

void CheckLinks(const Model& model, ObjectTable& objects, const ClassDef& def, int32_t record,
                const std::vector<Variant>& row, LedgerCheck& check) {
  const auto target = IntValue(def, row, "CN_OBJECT_ID");
  if (!target) return;
  const std::vector<LinkHit> links = objects.LinksOf(record);
  for (int32_t end : Concerned(model, objects, *target)) {
    if (!Linkable(model, def.id, *objects.ClassOf(end))) continue;
    bool linked = false;
    for (const LinkHit& hit : links) linked = linked || hit.other_id == end;
    if (!linked)
      check.problems.push_back(fmt::format("record {} is not linked to object {}", record, end));
  }
}

}  // namespace

LedgerCheck VerifyLedger(Database& db, const Model& model, ObjectTable& objects) {
  LedgerCheck check;
  const std::vector<LedgerEntry> entries = ReadLedger(db);
  check.entries = static_cast<int64_t>(entries.size());
  CheckChain(entries, check);

  std::map<int32_t, const LedgerEntry*> last;  // the latest entry of each record
  for (const LedgerEntry& e : entries) last[e.object_id] = &e;
  for (const auto& [id, e] : last) {
    if (e->action != "INSERT") continue;
    const ClassDef* def = model.ById(e->class_id);
    const auto digest = def ? RecordDigest(db, *def, id) : std::nullopt;
    if (!digest)
      check.problems.push_back(fmt::format("record {} was removed without a ledger entry", id));
    else if (*digest != e->digest)
      check.problems.push_back(
          fmt::format("record {} was altered: its stored values do not match the ledger", id));
  }

  for (const ClassDef& def : model.classes) {
    if (!IsLedgered(model, def)) continue;
    std::vector<int32_t> ids;
    {
      Statement s = db.Prepare(
          fmt::format("SELECT \"OBJECT_ID\" FROM {} ORDER BY \"OBJECT_ID\"", QuoteId(def.table)));
      while (s.Step()) ids.push_back(static_cast<int32_t>(s.Int(0)));
    }
    for (int32_t id : ids) {
      ++check.records;
      auto it = last.find(id);
      if (it == last.end() || it->second->action != "INSERT")
        check.problems.push_back(fmt::format("record {} has no ledger entry", id));
      if (auto row = objects.Read(def, id)) CheckLinks(model, objects, def, id, *row, check);
    }
  }
  return check;
}

}  // namespace vtx::emu
