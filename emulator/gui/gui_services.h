#pragma once

#include <memory>

#include "emulator/session/host_state.h"
#include "host/kv_gui.h"

namespace vtx::emu {

// "KvGUISrv.KvGUIServices" (also reached as "KvGuiSrv.KVGuiServices", the same
// ProgID in another letter case): the main window, views and the notifier.
// Ownership: every call returns a new object owned by the caller.
// Thread-safety: none.
class EmulatedGuiServices : public KvGuiServices {
 public:
  EmulatedGuiServices(std::shared_ptr<HostState> state, Ref<KvObjectStore> object_store)
      : state_(std::move(state)), object_store_(std::move(object_store)) {}

  Ref<KvGuiWindow> GetMainWindow() override;
  // A new view on every call.
  Ref<KvView> CreateView(int32_t view_type) override;
  Ref<KvGuiNotifier> GetNotifier() override;

 private:
  std::shared_ptr<HostState> state_;
  Ref<KvObjectStore> object_store_;
};

}  // namespace vtx::emu
