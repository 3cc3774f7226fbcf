#pragma once

#include <memory>

#include "emulator/session/host_state.h"
#include "host/kv_session.h"

namespace vtx::emu {

// KvUserInfo: the logged-in user as the environment names it at the moment
// of the call.
// Thread-safety: none. GetCurrentUser returns a new instance owned by the
// caller.
class EmulatedUserInfo : public KvUserInfo {
 public:
  EmulatedUserInfo(std::shared_ptr<HostState> state, Ref<KvObjectStore> object_store)
      : state_(std::move(state)), object_store_(std::move(object_store)) {}

  // A freshly loaded instance of the user object; Nothing when the
  // environment names no user or the named object is not stored.
  Ref<KvObject> GetCurrentUser() override;
  // The environment user's object id; 0 when there is none.
  int32_t GetCurrentUserId() override;

 private:
  std::shared_ptr<HostState> state_;
  Ref<KvObjectStore> object_store_;
};

}  // namespace vtx::emu
