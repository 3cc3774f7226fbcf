#pragma once

#include <cstdint>
#include <string>

#include "host/kv_forward.h"

namespace vtx {

// "KvGUISrv.KvGUIServices" / "KvGuiSrv.KVGuiServices".
class KvGuiServices : public Dispatch {
 public:
  // The main window, or Nothing.
  virtual Ref<KvGuiWindow> GetMainWindow() = 0;
  virtual Ref<KvView> CreateView(int32_t view_type) = 0;
  virtual Ref<KvGuiNotifier> GetNotifier() = 0;
  std::string_view GetTypeName() const override { return "KvGuiServices"; }
};

// "KvGUISrv.KvCommonGUI".
class KvCommonGui : public Dispatch {
 public:
  virtual Ref<KvViewFactory> GetViewFactory() = 0;
  std::string_view GetTypeName() const override { return "KvCommonGui"; }
};

class KvViewFactory : public Dispatch {
 public:
  // Every call makes a new view.
  virtual Ref<KvView> CreateView(int32_t view_type) = 0;
  std::string_view GetTypeName() const override { return "KvViewFactory"; }
};

class KvView : public Dispatch {
 public:
  virtual void SetCaption(const std::string& caption) = 0;
  virtual Ref<KvViewContent> GetContents() = 0;
  virtual Ref<KvViewContent> GetSelection() = 0;
  virtual Ref<KvGuiWindow> GetWindow() = 0;
  std::string_view GetTypeName() const override { return "KvView"; }
};

class KvViewContent : public Dispatch {
 public:
  virtual void AddObjects(const Ref<KvObjects>& objects) = 0;
  virtual Ref<KvObjects> GetObjects() = 0;
  // The selected object, or Nothing.
  virtual Ref<KvObject> GetSelectedObject() = 0;
  std::string_view GetTypeName() const override { return "KvViewContent"; }
};

class KvGuiWindow : public Dispatch {
 public:
  // Shows the window and waits until the user closes it.
  virtual void Show() = 0;
  virtual void ShowModeless() = 0;
  virtual int32_t GetHandle() = 0;
  virtual void SetOwner(int32_t handle) = 0;
  virtual Ref<KvView> GetActiveView() = 0;
  std::string_view GetTypeName() const override { return "KvGuiWindow"; }
};

class KvGuiNotifier : public Dispatch {
 public:
  // kind 0 with True: new objects; kind 2 with False: deleted objects.
  virtual void NotifyObjectsChanged(int32_t kind, const Ref<KvObjects>& objects, bool flag) = 0;
  std::string_view GetTypeName() const override { return "KvGuiNotifier"; }
};

}  // namespace vtx
