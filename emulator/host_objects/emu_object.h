#pragma once

#include <memory>
#include <string>
#include <vector>

#include "emulator/host_objects/emu_record.h"
#include "emulator/store/model.h"
#include "emulator/store/store.h"
#include "host/kv_object.h"

namespace vtx::emu {

// One instance of a stored object, or a new object not yet stored.
//
// An instance holds the values it last read or was given; nothing reaches
// it from the database unless it reads (Retrieve, Refresh). On a new object
// an attribute nothing has written reads as Empty; after Insert the
// attributes it was not given read as Null (stored without a value).
// NewInstance gives an instance that holds only CLASS_ID and OBJECT_ID until
// it reads. Update writes only the attributes written since the last read or
// store, so it never undoes what another instance stored in between.
// CLASS_ID, OBJECT_ID and the creation stamps belong to the host: writes to
// them are kept in the instance but never stored.
// BeginStore/EndStore group nothing: each store is its own transaction.
//
// Thread-safety: one thread. Ownership: every returned object is new and
// owned by the caller; GetData returns the instance's own data record.
class EmuObject : public KvObject {
 public:
  EmuObject(std::shared_ptr<Store> store, Ref<KvObjectStore> object_store, const ClassDef& def,
            int32_t object_id);

  const ClassDef& Def() const { return *def_; }
  ObjectRef Identity() const { return ObjectRef{def_->id, id_}; }
  bool IsStored() const { return id_ != 0; }
  EmuRecord& Data() { return *data_; }
  // Takes all values as read from the database (one per attribute).
  void LoadAll(std::vector<Variant> values);
  // Takes the values of some attributes as read.
  void LoadSome(const std::vector<int>& attributes, std::vector<Variant> values);

  Variant GetDefaultValue() override;
  int32_t GetObjectId() override;
  int16_t GetClassId() override;
  Ref<KvClass> GetClass() override;
  Ref<KvObjectStore> GetObjectStore() override;
  Variant GetValue(const std::string& name) override;
  void SetValue(const std::string& name, const Variant& value) override;
  Ref<KvRecord> GetData() override;
  Ref<KvAttributes> GetAttributes() override;
  int32_t GetAttributeCount() override;
  std::string GetKeyText(const std::string& separator) override;
  Ref<KvObject> NewInstance() override;
  void PrepareNew() override;
  void CompleteNew() override;
  bool ApplyClassDefaults() override;
  void AddAttributeToRead(const std::string& name) override;
  void Retrieve() override;
  void Refresh() override;
  void Insert(const Ref<KvOptions>& options) override;
  void InsertPlain() override;
  void Update() override;
  void UpdateWithOptions(const Ref<KvOptions>& options) override;
  void Delete(const Ref<KvOptions>& options) override;
  void BeginStore() override;
  void EndStore() override;
  Ref<KvObject> CreateLink(int16_t link_class_id, const Ref<KvObject>& other) override;
  Ref<KvObject> LinkTo(int32_t mode, const Ref<KvObject>& father, const Ref<KvRecord>& link_values,
                       const Ref<KvOptions>& options) override;
  Ref<KvObjects> GetRelatedObjects(const Ref<KvQuery>& query) override;
  Ref<KvObjects> GetLinkedObjects(const Ref<KvQuery>& query,
                                  const Ref<KvOptions>& options) override;
  bool IsOnDesktop() override;

 private:
  CallMonitor& Monitor() { return store_->Monitor(); }
  void ReadStored();
  void DoInsert();
  void DoUpdate();
  bool DoApplyDefaults();

  std::shared_ptr<Store> store_;
  Ref<KvObjectStore> object_store_;
  const ClassDef* def_;
  int32_t id_;
  std::shared_ptr<EmuRecord> data_;
  std::vector<std::string> to_read_;
};

// The identity of any object the add-in hands back (ours, or another
// implementation's, asked through its interface without being monitored).
ObjectRef IdentityOf(Store& store, const Ref<KvObject>& object);

// Key text of values of `def`: identifier values as text joined by
// `separator` (Empty and Null give "").
std::string KeyTextOf(const ClassDef& def, const EmuRecord& data, const std::string& separator);

}  // namespace vtx::emu
