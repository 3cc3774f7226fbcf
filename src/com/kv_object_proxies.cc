#include "com/proxy_factories.h"
#include "host/kv_host.h"

namespace vtx::com {

namespace {

class ObjectProxy final : public TypedProxy<KvObject> {
 public:
  using TypedProxy::TypedProxy;
  int32_t GetObjectId() override { return Call("GetObjectId").ToInt32(); }
  int16_t GetClassId() override { return Call("GetClassId").ToInt16(); }
  Ref<KvClass> GetClass() override { return CallForObject<KvClass>("GetClass"); }
  Ref<KvObjectStore> GetObjectStore() override {
    return CallForObject<KvObjectStore>("GetObjectStore");
  }
  Variant GetValue(const std::string& name) override { return Call("GetValue", name); }
  void SetValue(const std::string& name, const Variant& value) override {
    Call("SetValue", name, value);
  }
  Ref<KvRecord> GetData() override { return CallForObject<KvRecord>("GetData"); }
  Ref<KvAttributes> GetAttributes() override {
    return CallForObject<KvAttributes>("GetAttributes");
  }
  int32_t GetAttributeCount() override { return Call("GetAttributeCount").ToInt32(); }
  std::string GetKeyText(const std::string& separator) override {
    return Call("GetKeyText", separator).ToString();
  }
  Ref<KvObject> NewInstance() override { return CallForObject<KvObject>("NewInstance"); }
  void PrepareNew() override { Call("PrepareNew"); }
  void CompleteNew() override { Call("CompleteNew"); }
  bool ApplyClassDefaults() override { return Call("ApplyClassDefaults").ToBool(); }
  void AddAttributeToRead(const std::string& name) override { Call("AddAttributeToRead", name); }
  void Retrieve() override { Call("Retrieve"); }
  void Refresh() override { Call("Refresh"); }
  void Insert(const Ref<KvOptions>& options) override { Call("Insert", options); }
  void InsertPlain() override { Call("InsertPlain"); }
  void Update() override { Call("Update"); }
  void UpdateWithOptions(const Ref<KvOptions>& options) override {
    Call("UpdateWithOptions", options);
  }
  void Delete(const Ref<KvOptions>& options) override { Call("Delete", options); }
  void BeginStore() override { Call("BeginStore"); }
  void EndStore() override { Call("EndStore"); }
  Ref<KvObject> CreateLink(int16_t link_class_id, const Ref<KvObject>& other) override {
    return CallForObject<KvObject>("CreateLink", link_class_id, other);
  }
  Ref<KvObject> LinkTo(int32_t mode, const Ref<KvObject>& father, const Ref<KvRecord>& link_values,
                       const Ref<KvOptions>& options) override {
    return CallForObject<KvObject>("LinkTo", mode, father, link_values, options);
  }
  Ref<KvObjects> GetRelatedObjects(const Ref<KvQuery>& query) override {
    return CallForObject<KvObjects>("GetRelatedObjects", query);
  }
  Ref<KvObjects> GetLinkedObjects(const Ref<KvQuery>& query,
                                  const Ref<KvOptions>& options) override {
    return CallForObject<KvObjects>("GetLinkedObjects", query, options);
  }
  bool IsOnDesktop() override { return Call("IsOnDesktop").ToBool(); }
};

class ObjectsProxy final : public TypedProxy<KvObjects> {
 public:
  using TypedProxy::TypedProxy;
  int32_t GetCount() override { return Call("GetCount").ToInt32(); }
  Ref<KvObject> Item(int32_t index) override { return CallForObject<KvObject>("Item", index); }
  void Add(const Ref<KvObject>& object) override { Call("Add", object); }
  void Clear() override { Call("Clear"); }
  Ref<KvObjects> GetCopy() override { return CallForObject<KvObjects>("GetCopy"); }
  Ref<KvRecordList> GetRecordList() override {
    return CallForObject<KvRecordList>("GetRecordList");
  }
  int32_t IndexOf(const Ref<KvObject>& object) override {
    return Call("IndexOf", object).ToInt32();
  }
  void SetAttributesToRead(const std::string& names) override {
    Call("SetAttributesToRead", names);
  }
  void RetrieveAll() override { Call("RetrieveAll"); }
};

}  // namespace

void AddObjectProxies(ProxyFactories& factories) {
  AddProxy<KvObject, ObjectProxy>(factories);
  AddProxy<KvObjects, ObjectsProxy>(factories);
}

}  // namespace vtx::com
