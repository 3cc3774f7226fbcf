#include "com/proxy_factories.h"
#include "host/kv_host.h"

namespace vtx::com {

namespace {

class SessionProxy final : public TypedProxy<KvSession> {
 public:
  using TypedProxy::TypedProxy;
  Ref<KvObjectStore> GetObjectStore() override {
    return CallForObject<KvObjectStore>("GetObjectStore");
  }
  Ref<KvClasses> GetClasses() override { return CallForObject<KvClasses>("GetClasses"); }
  Ref<KvGlobals> GetGlobals() override { return CallForObject<KvGlobals>("GetGlobals"); }
  Ref<KvUserInfo> GetUserInfo() override { return CallForObject<KvUserInfo>("GetUserInfo"); }
  std::string GetLanguage() override { return Call("GetLanguage").ToString(); }
  Ref<KvConfiguration> GetConfiguration() override {
    return CallForObject<KvConfiguration>("GetConfiguration");
  }
  Ref<Dispatch> CreateHostComponent(const std::string& prog_id) override {
    return CallForObject<Dispatch>("CreateHostComponent", prog_id);
  }
  Ref<KvStrings> CreateStringList() override {
    return CallForObject<KvStrings>("CreateStringList");
  }
};

class GlobalsProxy final : public TypedProxy<KvGlobals> {
 public:
  using TypedProxy::TypedProxy;
  Variant GetValue(const std::string& name) override { return Call("GetValue", name); }
  void SetValue(const std::string& name, const Variant& value) override {
    Call("SetValue", name, value);
  }
};

class UserInfoProxy final : public TypedProxy<KvUserInfo> {
 public:
  using TypedProxy::TypedProxy;
  Ref<KvObject> GetCurrentUser() override { return CallForObject<KvObject>("GetCurrentUser"); }
  int32_t GetCurrentUserId() override { return Call("GetCurrentUserId").ToInt32(); }
};

class ConfigurationProxy final : public TypedProxy<KvConfiguration> {
 public:
  using TypedProxy::TypedProxy;
  Variant GetValue(const std::string& path) override { return Call("GetValue", path); }
};

}  // namespace

void AddSessionProxies(ProxyFactories& factories) {
  AddProxy<KvSession, SessionProxy>(factories);
  AddProxy<KvGlobals, GlobalsProxy>(factories);
  AddProxy<KvUserInfo, UserInfoProxy>(factories);
  AddProxy<KvConfiguration, ConfigurationProxy>(factories);
}

}  // namespace vtx::com
