#include "emulator/store/ledger_verify.h"

#include <algorithm>
#include <map>
#include <unordered_map>
#include <unordered_set>

#include <fmt/format.h>

#include "emulator/store/database_identity.h"
#include "runtime/ole_date.h"

namespace vtx::emu {

namespace {

// The latest entry of an object.
struct Latest {
  int64_t seq = 0;
  std::string action;
  std::string digest;
  int16_t class_id = 0;
};

// An anchor and what the walk along the chain found of it.
struct AnchorState {
  const LedgerAnchor* anchor;
  std::optional<double> time;  // the anchor's, else its entry's stamp
  bool reached = false;
};

// A stored record and the object its operation concerned.
struct RecordAbout {
  int32_t id;
  int16_t class_id;
  int32_t target;
};

uint64_t PairKey(int32_t a, int32_t b) {
  return (static_cast<uint64_t>(static_cast<uint32_t>(a)) << 32) | static_cast<uint32_t>(b);
}

std::string Describe(const LedgerAnchor& a) {
  return fmt::format("anchor {} (entry #{})", a.source, a.seq);
}

// One check: the walk along the chain, then the stored rows against the
// latest entry of each. Rows with an object id up to `bound_` are read only
// where an entry names them (a check --since an anchor); a full check reads
// every row.
class Verifier {
 public:
  Verifier(Database& db, const Model& model, ObjectTable& objects, const VerifyOptions& options,
           LedgerCheck& check)
      : db_(db), model_(model), objects_(objects), options_(options), check_(check) {}

  void Run() {
    check_.head.database_id = ReadDatabaseId(db_);
    check_.links_chained = !check_.head.database_id.empty();
    CollectAnchors();
    WalkChain();
    ReadClasses();
    CheckRecords();
    CheckLinks();
    CheckRemoved();
    CheckRecordLinks();
  }

 private:
  void Problem(std::string text) { check_.problems.push_back(std::move(text)); }

  void CollectAnchors() {
    std::vector<const LedgerAnchor*> all;
    for (const LedgerAnchor& a : options_.against) all.push_back(&a);
    if (options_.since) all.push_back(&*options_.since);
    for (const LedgerAnchor* a : all) {
      ++check_.anchors;
      if (!a->database_id.empty() && a->database_id != check_.head.database_id) {
        Problem(fmt::format("{}: another database: it was taken of database {}, this is {}",
                            Describe(*a), a->database_id,
                            check_.head.database_id.empty()
                                ? "a database without an id"
                                : "database " + check_.head.database_id));
        continue;
      }
      anchors_.push_back(AnchorState{a, a->time, false});
    }
  }

  // An entry the anchor names was reached with the chain computed to `running`.
  void Reached(AnchorState& a, const std::string& running, double stamp) {
    a.reached = true;
    if (running != a.anchor->hash)
      Problem(fmt::format(
          "{}: rewritten: the chain no longer computes to the anchor's hash at entry #{}; an "
          "entry up to it was changed, removed, inserted or moved and the later hashes computed "
          "again",
          Describe(*a.anchor), a.anchor->seq));
    if (!a.time) a.time = stamp;
    Passed(a);
  }

  // Entries after `a` must not be dated before it.
  void Passed(const AnchorState& a) {
    if (a.time && (!dated_ || *a.time > *dated_->time)) dated_ = &a;
  }

  void WalkChain() {
    std::string running = kGenesisHash, previous = kGenesisHash;
    int64_t from = 1;
    if (const auto& since = options_.since) {
      from = since->seq + 1;
      running = since->hash;
      previous = since->hash;
      check_.head.seq = since->seq;
      check_.head.hash = since->hash;
      if (since->seq > 0) {
        const auto entry = ReadEntry(db_, since->seq);
        if (entry) {
          previous = entry->hash;
          check_.head.stamp = entry->stamp;
        }
        for (AnchorState& a : anchors_)
          if (a.anchor->seq == since->seq && entry) Reached(a, entry->hash, entry->stamp);
        bound_ = HighestStoredBy(since->seq);
      }
    }
    check_.first = from;
    for (AnchorState& a : anchors_)
      if (a.anchor->seq == 0 && from == 1) {
        a.reached = true;
        Passed(a);
      }
    int64_t expected = from;
    ForEachEntry(db_, from, [&](LedgerEntry& e) {
      ++check_.entries;
      if (e.seq != expected)
        Problem(fmt::format("ledger entries #{} to #{} are missing (before the {} of object {})",
                            expected, e.seq - 1, e.action, e.object_id));
      else if (e.prev_hash != previous)
        Problem(fmt::format("chain broken at entry #{} (object {}): it does not follow entry #{}",
                            e.seq, e.object_id, e.seq - 1));
      const std::string computed = EntryHash(e);
      if (computed != e.hash)
        Problem(fmt::format("entry #{} (object {}) was altered or moved", e.seq, e.object_id));
      // The chain as computed from its start, whatever the entries say they follow.
      if (e.prev_hash == running) {
        running = computed;
      } else {
        LedgerEntry recomputed = e;
        recomputed.prev_hash = running;
        running = EntryHash(recomputed);
      }
      if (dated_ && e.stamp < *dated_->time - kClockToleranceDays)
        Problem(fmt::format(
            "{}: back-dated: entry #{} ({} of object {}) comes after the anchor, taken {}, but is "
            "dated {}",
            Describe(*dated_->anchor), e.seq, e.action, e.object_id, date::ToIso(*dated_->time),
            date::ToIso(e.stamp)));
      for (AnchorState& a : anchors_)
        if (a.anchor->seq == e.seq) Reached(a, running, e.stamp);
      previous = e.hash;
      expected = e.seq + 1;
      check_.head.seq = e.seq;
      check_.head.hash = e.hash;
      check_.head.stamp = e.stamp;
      // A database whose ledger chains links demands it of every link, id or not.
      if (e.action == kLinkAction || e.action == kUnlinkAction) check_.links_chained = true;
      Latest& latest = latest_[e.object_id];
      latest.seq = e.seq;
      latest.action = std::move(e.action);
      latest.digest = std::move(e.digest);
      latest.class_id = e.class_id;
    });
    // Where the ledger ends (asked when --since found nothing after its anchor).
    const int64_t end = check_.entries > 0 || !options_.since ? check_.head.seq : ReadHead(db_).seq;
    for (const AnchorState& a : anchors_) {
      if (a.reached) continue;
      if (a.anchor->seq > end)
        Problem(fmt::format(
            "{}: truncated: the ledger {}, but it held entry #{} when the anchor was taken: "
            "entries were removed",
            Describe(*a.anchor),
            end == 0 ? std::string("holds no entry") : fmt::format("ends at entry #{}", end),
            a.anchor->seq));
      else
        Problem(
            fmt::format("{}: rewritten: entry #{} is gone", Describe(*a.anchor), a.anchor->seq));
    }
  }

  // The highest object id an insert or link had entered up to entry `seq`:
  // objects stored later have higher ids.
  int32_t HighestStoredBy(int64_t seq) {
    Statement s = db_.Prepare(
        "SELECT OBJECT_ID FROM KV_LEDGER WHERE SEQ <= ? AND ACTION IN ('INSERT', 'LINK')"
        " ORDER BY SEQ DESC LIMIT 1");
    s.BindInt(1, seq);
    return s.Step() ? static_cast<int32_t>(s.Int(0)) : 0;
  }

  // The classes of the objects above the bound, in one read.
  void ReadClasses() {
    Statement s = db_.Prepare(
        "SELECT OBJECT_ID, CLASS_ID FROM KV_OBJECTS WHERE OBJECT_ID > ? AND LINK_ID = 0");
    s.BindInt(1, bound_);
    while (s.Step()) classes_[static_cast<int32_t>(s.Int(0))] = static_cast<int16_t>(s.Int(1));
  }

  std::optional<int16_t> ClassOf(int32_t id) {
    if (id > bound_) {
      auto it = classes_.find(id);
      if (it == classes_.end()) return std::nullopt;
      return it->second;
    }
    return objects_.ClassOf(id);
  }

  bool IsRecord(int32_t id) {
    const auto class_id = ClassOf(id);
    const ClassDef* def = class_id ? model_.ById(*class_id) : nullptr;
    return def && IsLedgered(model_, *def);
  }

  // The latest entry of a stored row: from the walk, else (a row above the
  // bound that no entry after the anchor names) from the whole ledger.
  const Latest* LatestOf(int32_t id) {
    if (auto it = latest_.find(id); it != latest_.end()) return &it->second;
    if (!options_.since) return nullptr;
    Statement s = db_.Prepare(
        "SELECT SEQ, ACTION, DIGEST, CLASS_ID FROM KV_LEDGER WHERE OBJECT_ID = ?"
        " ORDER BY SEQ DESC LIMIT 1");
    s.BindInt(1, id);
    if (!s.Step()) return nullptr;
    Latest& found = earlier_[id];
    found = Latest{s.Int(0), s.Text(1), s.Text(2), static_cast<int16_t>(s.Int(3))};
    return &found;
  }

  Statement RowsAbove(const ClassDef& def) {
    Statement s = db_.Prepare(fmt::format(
        "SELECT * FROM {} WHERE \"OBJECT_ID\" > ? ORDER BY \"OBJECT_ID\"", QuoteId(def.table)));
    s.BindInt(1, bound_);
    return s;
  }

  void CheckRecords() {
    for (const ClassDef& def : model_.classes) {
      if (!IsLedgered(model_, def)) continue;
      const int id_column = def.FindAttribute(attr::kObjectId);
      const int target_column = def.FindAttribute("CN_OBJECT_ID");
      Statement s = RowsAbove(def);
      while (s.Step()) {
        ++check_.records;
        const auto id = static_cast<int32_t>(s.Int(id_column));
        seen_.insert(id);
        const Latest* latest = LatestOf(id);
        if (!latest || latest->action != kInsertAction)
          Problem(fmt::format("record {} has no ledger entry", id));
        else if (latest->digest != RowDigest(def, s))
          Problem(
              fmt::format("record {} was altered: its stored values do not match the ledger", id));
        if (target_column >= 0 && !s.IsNull(target_column))
          records_.push_back(RecordAbout{id, def.id, static_cast<int32_t>(s.Int(target_column))});
      }
    }
  }

  void CheckLinks() {
    for (const ClassDef& def : model_.classes) {
      if (!def.IsLink()) continue;
      const bool relation = def.kind == kind::kRelation;
      const int id_column = def.FindAttribute(attr::kObjectId);
      const int end_columns[] = {
          def.FindAttribute(relation ? attr::kObjectId1 : attr::kParObjectId),
          def.FindAttribute(relation ? attr::kObjectId2 : attr::kSonObjectId)};
      Statement s = RowsAbove(def);
      while (s.Step()) {
        const auto id = static_cast<int32_t>(s.Int(id_column));
        std::vector<int32_t> ends;
        for (int column : end_columns)
          if (column >= 0 && !s.IsNull(column)) ends.push_back(static_cast<int32_t>(s.Int(column)));
        std::vector<int32_t> records;
        for (size_t i = 0; i < ends.size(); ++i) {
          if (!IsRecord(ends[i])) continue;
          records.push_back(ends[i]);
          for (size_t j = 0; j < ends.size(); ++j)
            if (j != i) record_links_[ends[i]].push_back(ends[j]);
        }
        link_ends_[id] = ends;
        const Latest* latest = (latest_.count(id) || !records.empty()) ? LatestOf(id) : nullptr;
        if (records.empty() && !latest) continue;
        ++check_.links;
        seen_.insert(id);
        const std::string what =
            fmt::format("link {} ({}{})", id, def.name,
                        records.empty() ? std::string() : fmt::format(" of record {}", records[0]));
        if (!latest || latest->action != kLinkAction) {
          if (check_.links_chained)
            Problem(fmt::format("{} has no ledger entry: it was added around the host", what));
        } else if (latest->digest != RowDigest(def, s)) {
          Problem(fmt::format(
              "{} was changed around the host: its ends or values do not match the ledger", what));
        }
      }
    }
  }

  // Rows the ledger holds as stored that are not.
  void CheckRemoved() {
    std::vector<std::pair<int32_t, const Latest*>> missing;
    for (const auto& [id, latest] : latest_)
      if ((latest.action == kInsertAction || latest.action == kLinkAction) && !seen_.count(id))
        missing.emplace_back(id, &latest);
    std::sort(missing.begin(), missing.end());
    for (const auto& [id, latest] : missing) {
      const char* what = latest->action == kInsertAction ? "record" : "link";
      std::optional<std::string> digest;
      if (id <= bound_)  // not read above: read it now
        if (const ClassDef* def = model_.ById(latest->class_id))
          digest = RecordDigest(db_, *def, id);
      if (!digest)
        Problem(fmt::format("{} {} was removed without a ledger entry", what, id));
      else if (*digest != latest->digest)
        Problem(
            fmt::format("{} {} was altered: its stored values do not match the ledger", what, id));
    }
  }

  // True when some relation link class of the model can join the two classes.
  bool Linkable(int16_t a, int16_t b) {
    auto [it, added] = linkable_.try_emplace(PairKey(a, b), false);
    if (!added) return it->second;
    const ClassDef* da = model_.ById(a);
    const ClassDef* db = model_.ById(b);
    if (!da || !db) return false;
    for (const ClassDef& link : model_.classes) {
      if (link.kind != kind::kRelation || link.ends.size() != 2) continue;
      if ((link.ends[0] == da->super && link.ends[1] == db->super) ||
          (link.ends[0] == db->super && link.ends[1] == da->super))
        it->second = true;
    }
    return it->second;
  }

  // The objects a record's operation concerned: the object, or a link's ends.
  std::vector<int32_t> Concerned(int32_t target) {
    const auto class_id = ClassOf(target);
    if (!class_id) return {};
    const ClassDef* def = model_.ById(*class_id);
    if (!def || !def->IsLink()) return {target};
    std::vector<int32_t> ends;
    if (auto it = link_ends_.find(target); it != link_ends_.end()) {
      ends = it->second;
    } else if (const auto row = objects_.Read(*def, target)) {
      ends = LinkEnds(*def, *row);
    }
    std::erase_if(ends, [&](int32_t end) { return !ClassOf(end); });
    return ends;
  }

  // A record is linked to the objects its operation concerned, and to no
  // other: a link elsewhere shows it in another object's history.
  void CheckRecordLinks() {
    static const std::vector<int32_t> kNone;
    for (const RecordAbout& record : records_) {
      if (!ClassOf(record.target)) continue;  // gone: what it concerned cannot be told
      const std::vector<int32_t> concerned = Concerned(record.target);
      auto found = record_links_.find(record.id);
      const std::vector<int32_t>& others = found == record_links_.end() ? kNone : found->second;
      for (int32_t end : concerned)
        if (Linkable(record.class_id, *ClassOf(end)) &&
            std::find(others.begin(), others.end(), end) == others.end())
          Problem(fmt::format("record {} is not linked to object {}", record.id, end));
      for (int32_t other : others)
        if (std::find(concerned.begin(), concerned.end(), other) == concerned.end() &&
            ClassOf(other))
          Problem(fmt::format(
              "record {} is linked to object {}, which its operation did not concern: it shows "
              "in that object's history",
              record.id, other));
    }
  }

  Database& db_;
  const Model& model_;
  ObjectTable& objects_;
  const VerifyOptions& options_;
  LedgerCheck& check_;
  std::vector<AnchorState> anchors_;
  const AnchorState* dated_ = nullptr;  // the latest-dated anchor passed
  int32_t bound_ = 0;
  std::unordered_map<int32_t, Latest> latest_;
  std::unordered_map<int32_t, Latest> earlier_;
  std::unordered_map<int32_t, int16_t> classes_;
  std::unordered_set<int32_t> seen_;
  std::vector<RecordAbout> records_;
  std::unordered_map<int32_t, std::vector<int32_t>> link_ends_;
  std::unordered_map<int32_t, std::vector<int32_t>> record_links_;  // record -> other ends
  std::unordered_map<uint64_t, bool> linkable_;
};

}  // namespace

LedgerCheck VerifyLedger(Database& db, const Model& model, ObjectTable& objects,
                         const VerifyOptions& options) {
  LedgerCheck check;
  Verifier(db, model, objects, options, check).Run();
  return check;
}

}  // namespace vtx::emu
