#include "com/proxy_factories.h"
#include "host/kv_host.h"

namespace vtx::com {

namespace {

class ClassesProxy final : public TypedProxy<KvClasses> {
 public:
  using TypedProxy::TypedProxy;
  Ref<KvClass> ClassById(int16_t class_id) override {
    return CallForObject<KvClass>("ClassById", class_id);
  }
  Ref<KvClass> ClassByName(const std::string& name) override {
    return CallForObject<KvClass>("ClassByName", name);
  }
  Ref<KvClass> ClassByTableName(const std::string& table_name) override {
    return CallForObject<KvClass>("ClassByTableName", table_name);
  }
  Ref<KvClassList> GetAllClasses() override { return CallForObject<KvClassList>("GetAllClasses"); }
};

class ClassListProxy final : public TypedProxy<KvClassList> {
 public:
  using TypedProxy::TypedProxy;
  int32_t GetCount() override { return Call("GetCount").ToInt32(); }
  Ref<KvClass> Item(int32_t index) override { return CallForObject<KvClass>("Item", index); }
};

class ClassProxy final : public TypedProxy<KvClass> {
 public:
  using TypedProxy::TypedProxy;
  int16_t GetClassId() override { return Call("GetClassId").ToInt16(); }
  int16_t GetSuperClassId() override { return Call("GetSuperClassId").ToInt16(); }
  std::string GetName() override { return Call("GetName").ToString(); }
  std::string GetTableName() override { return Call("GetTableName").ToString(); }
  int32_t GetClassKind() override { return Call("GetClassKind").ToInt32(); }
  Ref<KvAttributes> GetAttributes() override {
    return CallForObject<KvAttributes>("GetAttributes");
  }
  Ref<KvAttributes> GetIdentifierAttributes() override {
    return CallForObject<KvAttributes>("GetIdentifierAttributes");
  }
  Ref<KvClassLinks> GetClassLinks() override {
    return CallForObject<KvClassLinks>("GetClassLinks");
  }
  int16_t GetHierarchyLinkClassId() override { return Call("GetHierarchyLinkClassId").ToInt16(); }
  Ref<KvAttribute> AttributeByName(const std::string& name, int32_t flags) override {
    return CallForObject<KvAttribute>("AttributeByName", name, flags);
  }
  bool HasAttribute(const std::string& name) override {
    return Call("HasAttribute", name).ToBool();
  }
};

class ClassLinksProxy final : public TypedProxy<KvClassLinks> {
 public:
  using TypedProxy::TypedProxy;
  Ref<KvClassList> GetAll() override { return CallForObject<KvClassList>("GetAll"); }
  Ref<KvClassList> GetTo(int16_t class_id) override {
    return CallForObject<KvClassList>("GetTo", class_id);
  }
};

class AttributesProxy final : public TypedProxy<KvAttributes> {
 public:
  using TypedProxy::TypedProxy;
  int32_t GetCount() override { return Call("GetCount").ToInt32(); }
  Ref<KvAttribute> Item(const Variant& index) override {
    return CallForObject<KvAttribute>("Item", index);
  }
  Ref<KvAttribute> ItemByName(const std::string& name) override {
    return CallForObject<KvAttribute>("ItemByName", name);
  }
  Ref<KvClass> GetClass() override { return CallForObject<KvClass>("GetClass"); }
};

class AttributeProxy final : public TypedProxy<KvAttribute> {
 public:
  using TypedProxy::TypedProxy;
  std::string GetName() override { return Call("GetName").ToString(); }
  std::string GetExternalName() override { return Call("GetExternalName").ToString(); }
  int32_t GetAttributeType() override { return Call("GetAttributeType").ToInt32(); }
  int32_t GetLookupClassId() override { return Call("GetLookupClassId").ToInt32(); }
  int32_t GetLength() override { return Call("GetLength").ToInt32(); }
  bool IsExcludedFromHistory() override { return Call("IsExcludedFromHistory").ToBool(); }
};

}  // namespace

void AddClassProxies(ProxyFactories& factories) {
  AddProxy<KvClasses, ClassesProxy>(factories);
  AddProxy<KvClassList, ClassListProxy>(factories);
  AddProxy<KvClass, ClassProxy>(factories);
  AddProxy<KvClassLinks, ClassLinksProxy>(factories);
  AddProxy<KvAttributes, AttributesProxy>(factories);
  AddProxy<KvAttribute, AttributeProxy>(factories);
}

}  // namespace vtx::com
