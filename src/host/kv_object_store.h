#pragma once

#include <cstdint>
#include <string>

#include "host/kv_forward.h"

namespace vtx {

// Creates and loads objects, collections, queries; options, sequences, lookups.
class KvObjectStore : public Dispatch {
 public:
  virtual Ref<KvSession> GetSession() = 0;
  // A new, not yet stored object of the class.
  virtual Ref<KvObject> CreateObject(int16_t class_id) = 0;
  virtual Ref<KvObjects> CreateObjects() = 0;
  // Raises when the object does not exist.
  virtual Ref<KvObject> GetObjectById(int16_t class_id, int32_t object_id) = 0;
  virtual Ref<KvObject> ObjectFromRecord(const Ref<KvRecord>& record, bool flag) = 0;
  virtual Ref<KvObjects> ObjectsFromRecordList(const Ref<KvRecordList>& list, bool flag) = 0;
  virtual Ref<KvCompositeObjects> ObjectsFromRecords(const Ref<KvRecordList>& list, bool flag) = 0;
  virtual Ref<KvOptions> GetDefaultOptions() = 0;
  virtual Ref<KvQueryFactory> GetQueryFactory() = 0;
  virtual Ref<KvQuery> NewQuery() = 0;
  virtual Ref<KvSqlQuery> CreateQuery() = 0;
  virtual Ref<KvTreeQuery> CreateTreeQuery(const std::string& work_file) = 0;
  virtual Ref<KvLookupTable> GetLookupTable(int16_t class_id) = 0;
  // Nothing when the table has no item with that id.
  virtual Ref<KvLookupItem> GetLookupItemById(int16_t class_id, int32_t id) = 0;
  virtual Ref<KvLookupItem> FindLookupItem(int16_t class_id, const std::string& text) = 0;
  // Raises when the object does not exist.
  virtual Ref<KvObjectDisplay> GetObjectDisplay(int16_t class_id, int32_t object_id,
                                                int32_t flags) = 0;
  virtual Ref<KvSequences> GetSequences() = 0;
  std::string_view GetTypeName() const override { return "KvObjectStore"; }
};

// Storage and query options. Callers change a Copy of the store's defaults.
class KvOptions : public Dispatch {
 public:
  virtual Ref<KvOptions> Copy() = 0;
  virtual void SetMode(int32_t mode) = 0;
  virtual void SetModeB(int32_t mode) = 0;
  virtual void SetModeC(int32_t mode) = 0;
  virtual void SetFlagA(bool flag) = 0;
  virtual void SetFlagB(bool flag) = 0;
  virtual void SetFlagC(bool flag) = 0;
  std::string_view GetTypeName() const override { return "KvOptions"; }
};

class KvSequences : public Dispatch {
 public:
  // The sequence that numbers the attribute, or Nothing.
  virtual Ref<KvSequence> GetSequenceOfAttribute(const Ref<KvAttribute>& attribute) = 0;
  std::string_view GetTypeName() const override { return "KvSequences"; }
};

class KvSequence : public Dispatch {
 public:
  // Advances the sequence and returns its formatted value.
  virtual Variant NextValue() = 0;
  std::string_view GetTypeName() const override { return "KvSequence"; }
};

class KvLookupTable : public Dispatch {
 public:
  // The item whose text is `text`, or Nothing.
  virtual Ref<KvLookupItem> FindItem(const std::string& text) = 0;
  std::string_view GetTypeName() const override { return "KvLookupTable"; }
};

class KvLookupItem : public Dispatch {
 public:
  virtual int32_t GetId() = 0;
  virtual std::string GetText() = 0;
  std::string_view GetTypeName() const override { return "KvLookupItem"; }
};

class KvObjectDisplay : public Dispatch {
 public:
  virtual std::string GetText(int32_t flags) = 0;
  std::string_view GetTypeName() const override { return "KvObjectDisplay"; }
};

}  // namespace vtx
