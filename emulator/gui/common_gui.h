#pragma once

#include <memory>

#include "emulator/session/host_state.h"
#include "host/kv_gui.h"

namespace vtx::emu {

// "KvGUISrv.KvCommonGUI": hands out view factories.
// Ownership: GetViewFactory returns a new factory owned by the caller.
// Thread-safety: none.
class EmulatedCommonGui : public KvCommonGui {
 public:
  EmulatedCommonGui(std::shared_ptr<HostState> state, Ref<KvObjectStore> object_store)
      : state_(std::move(state)), object_store_(std::move(object_store)) {}

  Ref<KvViewFactory> GetViewFactory() override;

 private:
  std::shared_ptr<HostState> state_;
  Ref<KvObjectStore> object_store_;
};

// KvViewFactory: a new, recorded view on every CreateView.
class EmulatedViewFactory : public KvViewFactory {
 public:
  EmulatedViewFactory(std::shared_ptr<HostState> state, Ref<KvObjectStore> object_store)
      : state_(std::move(state)), object_store_(std::move(object_store)) {}

  Ref<KvView> CreateView(int32_t view_type) override;

 private:
  std::shared_ptr<HostState> state_;
  Ref<KvObjectStore> object_store_;
};

}  // namespace vtx::emu
