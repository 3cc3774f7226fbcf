#pragma once

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "emulator/store/record_table.h"
#include "emulator/store/store.h"
#include "host/kv_object.h"

namespace vtx::emu {

// KvObjects: an ordered collection of object instances, shared copy-on-write.
//
// GetCopy costs nothing (the copy shares the instances and the list until
// either side changes it). A collection made from rows (ObjectsFromRecords,
// a tree expansion) keeps those rows: its record list gives them back as
// they were, and its objects are only made, in one read per class, when
// first asked for. The record list of other collections holds CLASS_ID,
// OBJECT_ID and every attribute any of the objects holds a value for; it is
// cached until an object's values or the collection change.
// IndexOf compares stored identity (class id and object id); a new object
// is only found as the same instance.
// SetAttributesToRead + RetrieveAll read the named attributes (all when none
// are named) of all objects in one statement per class.
//
// Thread-safety: one thread. Ownership: Item returns a shared instance;
// GetCopy and GetRecordList return new objects owned by the caller.
class EmuObjects : public KvObjects {
 public:
  EmuObjects(std::shared_ptr<Store> store, Ref<KvObjectStore> object_store);
  static Ref<EmuObjects> FromItems(std::shared_ptr<Store> store, Ref<KvObjectStore> object_store,
                                   std::vector<Ref<KvObject>> items);
  static Ref<EmuObjects> FromRows(std::shared_ptr<Store> store, Ref<KvObjectStore> object_store,
                                  std::shared_ptr<const RecordTable> rows);

  // The instances (made from the rows first when needed); unmonitored.
  const std::vector<Ref<KvObject>>& Items();
  // The rows the record list gives; unmonitored.
  std::shared_ptr<const RecordTable> Rows();

  int32_t GetCount() override;
  Ref<KvObject> Item(int32_t index) override;
  void Add(const Ref<KvObject>& object) override;
  void Clear() override;
  Ref<KvObjects> GetCopy() override;
  Ref<KvRecordList> GetRecordList() override;
  int32_t IndexOf(const Ref<KvObject>& object) override;
  void SetAttributesToRead(const std::string& names) override;
  void RetrieveAll() override;

 private:
  struct State {
    std::vector<Ref<KvObject>> items;
    std::shared_ptr<const RecordTable> source;  // the rows it was made from, if any
    bool pending = false;                       // items not yet made from `source`
    std::shared_ptr<const RecordTable> rows_cache;
    uint64_t rows_epoch = 0;
    std::unordered_map<uint64_t, int32_t> index;  // identity -> first position
    std::vector<int32_t> unindexed;               // positions of objects not stored when indexed
    bool index_valid = false;
  };
  // Materialised, unshared, rows forgotten; the identity index too unless
  // `keep_index` (the caller keeps it up to date).
  State& Mutable(bool keep_index = false);
  void Materialize();
  // Enters the object at `position` in the identity index.
  void IndexItem(State& state, int32_t position);

  std::shared_ptr<Store> store_;
  Ref<KvObjectStore> object_store_;
  std::shared_ptr<State> state_;
  std::vector<std::string> to_read_;
};

}  // namespace vtx::emu
