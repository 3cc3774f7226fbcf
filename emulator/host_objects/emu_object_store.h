#pragma once

#include <memory>

#include "emulator/store/store.h"
#include "host/kv_object_store.h"
#include "host/kv_session.h"

namespace vtx::emu {

class EmuOptions;

// KvObjectStore of one session. GetQueryFactory gives a new factory on every
// call; GetDefaultOptions the store's one default options object.
// Thread-safety: one thread. Ownership: returns new objects owned by the
// caller; holds its session weakly (the session owns it).
class EmuObjectStore : public KvObjectStore {
 public:
  EmuObjectStore(std::shared_ptr<Store> store, const Ref<KvSession>& session);

  // Unmonitored: an instance of a stored object with its values read.
  // Raises when it does not exist or is not of `class_id` or below it.
  Ref<KvObject> Load(ObjectRef object);
  Ref<KvObjectStore> Self();

  Ref<KvSession> GetSession() override;
  Ref<KvObject> CreateObject(int16_t class_id) override;
  Ref<KvObjects> CreateObjects() override;
  Ref<KvObject> GetObjectById(int16_t class_id, int32_t object_id) override;
  Ref<KvObject> ObjectFromRecord(const Ref<KvRecord>& record, const Variant& flag) override;
  Ref<KvObjects> ObjectsFromRecordList(const Ref<KvRecordList>& list, const Variant& flag) override;
  Ref<KvCompositeObjects> ObjectsFromRecords(const Ref<KvRecordList>& list,
                                             const Variant& flag) override;
  Ref<KvOptions> GetDefaultOptions() override;
  Ref<KvQueryFactory> GetQueryFactory() override;
  Ref<KvQuery> NewQuery() override;
  Ref<KvSqlQuery> CreateQuery() override;
  Ref<KvTreeQuery> CreateTreeQuery(const std::string& work_file) override;
  Ref<KvLookupTable> GetLookupTable(int16_t class_id) override;
  Ref<KvLookupItem> GetLookupItemById(int16_t class_id, int32_t id) override;
  Ref<KvLookupItem> FindLookupItem(int16_t class_id, const std::string& text) override;
  Ref<KvObjectDisplay> GetObjectDisplay(int16_t class_id, int32_t object_id,
                                        int32_t flags) override;
  Ref<KvSequences> GetSequences() override;

 private:
  std::shared_ptr<Store> store_;
  std::weak_ptr<KvSession> session_;
  Ref<KvOptions> defaults_;
};

}  // namespace vtx::emu
