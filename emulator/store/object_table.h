#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "emulator/sql/database.h"
#include "emulator/store/model.h"

namespace vtx::emu {

// A link object attached to an object, seen from that object.
struct LinkHit {
  int16_t link_class = 0;
  int32_t link_id = 0;
  int32_t other_id = 0;  // the object at the other end (0 when not set)
  bool forward = false;  // the object is end 1 (relation) or the parent (composition)
};

// A link seen from its near end (end 1 of a relation, the parent of a
// composition).
struct NearLink {
  int32_t near_id = 0;
  int32_t far_id = 0;  // 0 when not set
  int32_t link_id = 0;
};

// The stored objects: rows of the class tables and the id registry. All SQL
// about objects lives here; identifiers come from the validated model, values
// are bound. The registry also holds each link's ends (see schema.h), written
// here together with the link's row.
// Thread-safety: one thread (that of the Database).
class ObjectTable {
 public:
  ObjectTable(Database& db, const Model& model) : db_(db), model_(model) {}

  // The class that holds the object, or nothing when it does not exist;
  // within an add-in call remembered like the rows read (see Read).
  std::optional<int16_t> ClassOf(int32_t object_id);
  // Classes of many objects at once; ids that do not exist are left out.
  std::unordered_map<int32_t, int16_t> ClassesOf(const std::vector<int32_t>& object_ids);

  // Stores a row under `object_id`, or under a new id (greater than every id
  // ever held) when none is given, and returns the id; `values` has one entry
  // per attribute of `def` (Empty and Null store NULL); the OBJECT_ID and
  // CLASS_ID entries are ignored. Raises when the id is taken.
  // REQUIRES: a transaction.
  int32_t Insert(const ClassDef& def, std::optional<int32_t> object_id,
                 const std::vector<Variant>& values);
  // The stored values of one object, typed, or nothing when it is missing.
  // Within an add-in call a row is read once and then served from memory
  // until this process writes it or another one commits (see
  // Database::Generation).
  std::optional<std::vector<Variant>> Read(const ClassDef& def, int32_t object_id);
  // The values of `attributes` (indexes into def.attributes) of many objects
  // of `def`'s family in one statement; id -> values in `attributes` order.
  std::unordered_map<int32_t, std::vector<Variant>> ReadMany(const ClassDef& def,
                                                             const std::vector<int32_t>& ids,
                                                             const std::vector<int>& attributes);
  // Writes some attributes (index, value). Raises when the object is missing.
  // REQUIRES: a transaction.
  void Update(const ClassDef& def, int32_t object_id,
              const std::vector<std::pair<int, Variant>>& values);
  // Deletes the object and, transitively, every link object attached to it.
  // `before_removal` (may be empty) is told each object (id, class) in the
  // order they go, the object first, while every one of them is still
  // stored. Returns the ids deleted. Raises when the object is missing.
  // REQUIRES: a transaction.
  std::vector<int32_t> DeleteCascade(
      int32_t object_id,
      const std::function<void(int32_t id, int16_t class_id)>& before_removal = {});

  // The highest id the registry and the id counter hold, as the statement
  // that reads it gives it (see Insert), for a caller that reads it together
  // with something else; KnowHighest hands it back.
  static std::string HighestIdSql();
  void KnowHighest(int64_t highest);
  // The highest id as this write transaction last left it, when known.
  std::optional<int64_t> KnownHighest() const;

  // The link objects attached to the object, through the link classes listed
  // (every link class when empty), ascending link id.
  std::vector<LinkHit> LinksOf(int32_t object_id, const std::vector<int16_t>& link_classes = {});
  // The links through `link_classes` whose near end is one of `near_ids`, in
  // no particular order.
  std::vector<NearLink> LinksFrom(const std::vector<int32_t>& near_ids,
                                  const std::vector<int16_t>& link_classes);

 private:
  // The statements about one class's table, written once per store.
  struct ClassSql {
    std::string insert, read, remove;
  };
  const ClassSql& SqlOf(const ClassDef& def);
  struct CachedRow {
    int16_t class_id;
    std::vector<Variant> values;
  };
  // Drops the rows read when the database may have changed under them.
  void CheckRows();
  // Writes or removes the registry's rows of a link's ends, as `row` (one
  // value per attribute of the link class `def`) holds them; AddEnds returns
  // the highest id among the ends (0 for none).
  int32_t AddEnds(const ClassDef& def, int32_t link_id, const std::vector<Variant>& row);
  void RemoveEnds(const ClassDef& def, int32_t link_id, const std::vector<Variant>& row);

  Database& db_;
  const Model& model_;
  std::unordered_map<int16_t, ClassSql> sql_;
  std::unordered_map<int32_t, CachedRow> rows_;
  std::unordered_map<int32_t, int16_t> classes_;
  uint64_t rows_generation_ = 0;
  // The highest id, remembered within one write transaction (`highest_mark_`)
  // while only this table's inserts raise it; a deletion forgets it.
  int64_t highest_ = 0;
  WriteMark highest_mark_;
};

// Up to this many objects are read one by one, through the call's memory;
// more in one statement.
inline constexpr size_t kReadOneByOne = 8;

[[noreturn]] void RaiseMissingObject(int32_t object_id);

}  // namespace vtx::emu
