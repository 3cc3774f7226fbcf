#pragma once

#include <cstdint>
#include <string>

#include "host/kv_forward.h"

namespace vtx {

// One business object (or link object) of the Korvel database, as an
// instance: it holds the values it last read or was given.
class KvObject : public Dispatch {
 public:
  virtual int32_t GetObjectId() = 0;
  virtual int16_t GetClassId() = 0;
  virtual Ref<KvClass> GetClass() = 0;
  virtual Ref<KvObjectStore> GetObjectStore() = 0;
  // The value of an attribute: Empty when never written on a new object, Null
  // when stored without a value.
  virtual Variant GetValue(const std::string& name) = 0;
  virtual void SetValue(const std::string& name, const Variant& value) = 0;
  // The object's data record; writes into it are writes into the object.
  virtual Ref<KvRecord> GetData() = 0;
  virtual Ref<KvAttributes> GetAttributes() = 0;
  virtual int32_t GetAttributeCount() = 0;
  // The object's key text: identifier values joined with `separator`.
  virtual std::string GetKeyText(const std::string& separator) = 0;

  // A new instance of the same stored object (same ids, values not yet read).
  virtual Ref<KvObject> NewInstance() = 0;
  virtual void PrepareNew() = 0;
  virtual void CompleteNew() = 0;
  virtual bool ApplyClassDefaults() = 0;
  virtual void AddAttributeToRead(const std::string& name) = 0;
  // Read the stored values (Retrieve) / read them again (Refresh).
  virtual void Retrieve() = 0;
  virtual void Refresh() = 0;

  virtual void Insert(const Ref<KvOptions>& options) = 0;
  virtual void InsertPlain() = 0;
  virtual void Update() = 0;
  virtual void UpdateWithOptions(const Ref<KvOptions>& options) = 0;
  // Deletes the object and the links attached to it.
  virtual void Delete(const Ref<KvOptions>& options) = 0;
  virtual void BeginStore() = 0;
  virtual void EndStore() = 0;

  // A new (not yet stored) link object of class `link_class_id` from this
  // object to `other`.
  virtual Ref<KvObject> CreateLink(int16_t link_class_id, const Ref<KvObject>& other) = 0;
  // Links this object under `father` through the family's hierarchy link
  // class (mode 0) and returns the stored link object.
  virtual Ref<KvObject> LinkTo(int32_t mode, const Ref<KvObject>& father,
                               const Ref<KvRecord>& link_values, const Ref<KvOptions>& options) = 0;
  // Objects related to this one through the query's "S" class (and "L" link
  // class when registered); never Nothing from the emulated host.
  virtual Ref<KvObjects> GetRelatedObjects(const Ref<KvQuery>& query) = 0;
  // Objects linked to this one through any link (query may be Nothing).
  virtual Ref<KvObjects> GetLinkedObjects(const Ref<KvQuery>& query,
                                          const Ref<KvOptions>& options) = 0;
  virtual bool IsOnDesktop() = 0;
  std::string_view GetTypeName() const override { return "KvObject"; }
};

// An ordered collection of objects.
class KvObjects : public Dispatch {
 public:
  virtual int32_t GetCount() = 0;
  // Item from 0; raises 9 out of range.
  virtual Ref<KvObject> Item(int32_t index) = 0;
  virtual void Add(const Ref<KvObject>& object) = 0;
  virtual void Clear() = 0;
  virtual Ref<KvObjects> GetCopy() = 0;
  // The objects as rows (CLASS_ID, OBJECT_ID and the values read).
  virtual Ref<KvRecordList> GetRecordList() = 0;
  // Position of the stored object (same class and object id), -1 when absent.
  virtual int32_t IndexOf(const Ref<KvObject>& object) = 0;
  // Attribute names separated by ";".
  virtual void SetAttributesToRead(const std::string& names) = 0;
  virtual void RetrieveAll() = 0;
  std::string_view GetTypeName() const override { return "KvObjects"; }
};

}  // namespace vtx
