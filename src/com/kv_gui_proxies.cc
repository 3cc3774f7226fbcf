#include "com/proxy_factories.h"
#include "host/kv_host.h"

namespace vtx::com {

namespace {

class GuiServicesProxy final : public TypedProxy<KvGuiServices> {
 public:
  using TypedProxy::TypedProxy;
  Ref<KvGuiWindow> GetMainWindow() override { return CallForObject<KvGuiWindow>("GetMainWindow"); }
  Ref<KvView> CreateView(int32_t view_type) override {
    return CallForObject<KvView>("CreateView", view_type);
  }
  Ref<KvGuiNotifier> GetNotifier() override { return CallForObject<KvGuiNotifier>("GetNotifier"); }
};

class CommonGuiProxy final : public TypedProxy<KvCommonGui> {
 public:
  using TypedProxy::TypedProxy;
  Ref<KvViewFactory> GetViewFactory() override {
    return CallForObject<KvViewFactory>("GetViewFactory");
  }
};

class ViewFactoryProxy final : public TypedProxy<KvViewFactory> {
 public:
  using TypedProxy::TypedProxy;
  Ref<KvView> CreateView(int32_t view_type) override {
    return CallForObject<KvView>("CreateView", view_type);
  }
};

class ViewProxy final : public TypedProxy<KvView> {
 public:
  using TypedProxy::TypedProxy;
  void SetCaption(const std::string& caption) override { Call("SetCaption", caption); }
  Ref<KvViewContent> GetContents() override { return CallForObject<KvViewContent>("GetContents"); }
  Ref<KvViewContent> GetSelection() override {
    return CallForObject<KvViewContent>("GetSelection");
  }
  Ref<KvGuiWindow> GetWindow() override { return CallForObject<KvGuiWindow>("GetWindow"); }
};

class ViewContentProxy final : public TypedProxy<KvViewContent> {
 public:
  using TypedProxy::TypedProxy;
  void AddObjects(const Ref<KvObjects>& objects) override { Call("AddObjects", objects); }
  Ref<KvObjects> GetObjects() override { return CallForObject<KvObjects>("GetObjects"); }
  Ref<KvObject> GetSelectedObject() override {
    return CallForObject<KvObject>("GetSelectedObject");
  }
};

class GuiWindowProxy final : public TypedProxy<KvGuiWindow> {
 public:
  using TypedProxy::TypedProxy;
  void Show() override { Call("Show"); }
  void ShowModeless() override { Call("ShowModeless"); }
  int32_t GetHandle() override { return Call("GetHandle").ToInt32(); }
  void SetOwner(int32_t handle) override { Call("SetOwner", handle); }
  Ref<KvView> GetActiveView() override { return CallForObject<KvView>("GetActiveView"); }
};

class GuiNotifierProxy final : public TypedProxy<KvGuiNotifier> {
 public:
  using TypedProxy::TypedProxy;
  void NotifyObjectsChanged(int32_t kind, const Ref<KvObjects>& objects, bool flag) override {
    Call("NotifyObjectsChanged", kind, objects, flag);
  }
};

}  // namespace

void AddGuiProxies(ProxyFactories& factories) {
  AddProxy<KvGuiServices, GuiServicesProxy>(factories);
  AddProxy<KvCommonGui, CommonGuiProxy>(factories);
  AddProxy<KvViewFactory, ViewFactoryProxy>(factories);
  AddProxy<KvView, ViewProxy>(factories);
  AddProxy<KvViewContent, ViewContentProxy>(factories);
  AddProxy<KvGuiWindow, GuiWindowProxy>(factories);
  AddProxy<KvGuiNotifier, GuiNotifierProxy>(factories);
}

}  // namespace vtx::com
