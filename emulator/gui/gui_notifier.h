#pragma once

#include <memory>

#include "emulator/session/host_state.h"
#include "host/kv_gui.h"

namespace vtx::emu {

// KvGuiNotifier: every NotifyObjectsChanged is recorded with the ids the
// collection holds at the moment of the call (a Nothing collection raises 91).
// Thread-safety: none.
class EmulatedGuiNotifier : public KvGuiNotifier {
 public:
  explicit EmulatedGuiNotifier(std::shared_ptr<HostState> state) : state_(std::move(state)) {}

  void NotifyObjectsChanged(int32_t kind, const Ref<KvObjects>& objects, bool flag) override;

 private:
  std::shared_ptr<HostState> state_;
};

// The ids of the objects of `objects`, in order, read with the monitor paused.
std::vector<ObjectRef> CollectIds(CallMonitor& monitor, const Ref<KvObjects>& objects);

}  // namespace vtx::emu
