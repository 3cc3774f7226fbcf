#include "com/proxy_factories.h"
#include "host/kv_host.h"

namespace vtx::com {

namespace {

class ObjectStoreProxy final : public TypedProxy<KvObjectStore> {
 public:
  using TypedProxy::TypedProxy;
  Ref<KvSession> GetSession() override { return CallForObject<KvSession>("GetSession"); }
  Ref<KvObject> CreateObject(int16_t class_id) override {
    return CallForObject<KvObject>("CreateObject", class_id);
  }
  Ref<KvObjects> CreateObjects() override { return CallForObject<KvObjects>("CreateObjects"); }
  Ref<KvObject> GetObjectById(int16_t class_id, int32_t object_id) override {
    return CallForObject<KvObject>("GetObjectById", class_id, object_id);
  }
  Ref<KvObject> ObjectFromRecord(const Ref<KvRecord>& record, bool flag) override {
    return CallForObject<KvObject>("ObjectFromRecord", record, flag);
  }
  Ref<KvObjects> ObjectsFromRecordList(const Ref<KvRecordList>& list, bool flag) override {
    return CallForObject<KvObjects>("ObjectsFromRecordList", list, flag);
  }
  Ref<KvCompositeObjects> ObjectsFromRecords(const Ref<KvRecordList>& list, bool flag) override {
    return CallForObject<KvCompositeObjects>("ObjectsFromRecords", list, flag);
  }
  Ref<KvOptions> GetDefaultOptions() override {
    return CallForObject<KvOptions>("GetDefaultOptions");
  }
  Ref<KvQueryFactory> GetQueryFactory() override {
    return CallForObject<KvQueryFactory>("GetQueryFactory");
  }
  Ref<KvQuery> NewQuery() override { return CallForObject<KvQuery>("NewQuery"); }
  Ref<KvSqlQuery> CreateQuery() override { return CallForObject<KvSqlQuery>("CreateQuery"); }
  Ref<KvTreeQuery> CreateTreeQuery(const std::string& work_file) override {
    return CallForObject<KvTreeQuery>("CreateTreeQuery", work_file);
  }
  Ref<KvLookupTable> GetLookupTable(int16_t class_id) override {
    return CallForObject<KvLookupTable>("GetLookupTable", class_id);
  }
  Ref<KvLookupItem> GetLookupItemById(int16_t class_id, int32_t id) override {
    return CallForObject<KvLookupItem>("GetLookupItemById", class_id, id);
  }
  Ref<KvLookupItem> FindLookupItem(int16_t class_id, const std::string& text) override {
    return CallForObject<KvLookupItem>("FindLookupItem", class_id, text);
  }
  Ref<KvObjectDisplay> GetObjectDisplay(int16_t class_id, int32_t object_id,
                                        int32_t flags) override {
    return CallForObject<KvObjectDisplay>("GetObjectDisplay", class_id, object_id, flags);
  }
  Ref<KvSequences> GetSequences() override { return CallForObject<KvSequences>("GetSequences"); }
};

class OptionsProxy final : public TypedProxy<KvOptions> {
 public:
  using TypedProxy::TypedProxy;
  Ref<KvOptions> Copy() override { return CallForObject<KvOptions>("Copy"); }
  void SetMode(int32_t mode) override { Call("SetMode", mode); }
  void SetModeB(int32_t mode) override { Call("SetModeB", mode); }
  void SetModeC(int32_t mode) override { Call("SetModeC", mode); }
  void SetFlagA(bool flag) override { Call("SetFlagA", flag); }
  void SetFlagB(bool flag) override { Call("SetFlagB", flag); }
  void SetFlagC(bool flag) override { Call("SetFlagC", flag); }
};

class SequencesProxy final : public TypedProxy<KvSequences> {
 public:
  using TypedProxy::TypedProxy;
  Ref<KvSequence> GetSequenceOfAttribute(const Ref<KvAttribute>& attribute) override {
    return CallForObject<KvSequence>("GetSequenceOfAttribute", attribute);
  }
};

class SequenceProxy final : public TypedProxy<KvSequence> {
 public:
  using TypedProxy::TypedProxy;
  Variant NextValue() override { return Call("NextValue"); }
};

class LookupTableProxy final : public TypedProxy<KvLookupTable> {
 public:
  using TypedProxy::TypedProxy;
  Ref<KvLookupItem> FindItem(const std::string& text) override {
    return CallForObject<KvLookupItem>("FindItem", text);
  }
};

class LookupItemProxy final : public TypedProxy<KvLookupItem> {
 public:
  using TypedProxy::TypedProxy;
  int32_t GetId() override { return Call("GetId").ToInt32(); }
  std::string GetText() override { return Call("GetText").ToString(); }
};

class ObjectDisplayProxy final : public TypedProxy<KvObjectDisplay> {
 public:
  using TypedProxy::TypedProxy;
  std::string GetText(int32_t flags) override { return Call("GetText", flags).ToString(); }
};

}  // namespace

void AddObjectStoreProxies(ProxyFactories& factories) {
  AddProxy<KvObjectStore, ObjectStoreProxy>(factories);
  AddProxy<KvOptions, OptionsProxy>(factories);
  AddProxy<KvSequences, SequencesProxy>(factories);
  AddProxy<KvSequence, SequenceProxy>(factories);
  AddProxy<KvLookupTable, LookupTableProxy>(factories);
  AddProxy<KvLookupItem, LookupItemProxy>(factories);
  AddProxy<KvObjectDisplay, ObjectDisplayProxy>(factories);
}

}  // namespace vtx::com
