#include "emulator/session/emulated_user_info.h"

#include "emulator/host_objects/store_interfaces.h"
namespace vtx::emu {

Ref<KvObject> EmulatedUserInfo::GetCurrentUser() {
  state_->Enter(op::KvUserInfo::GetCurrentUser);
  const std::optional<ObjectKey>& user = state_->environment.user;
  if (!user) return nullptr;
  CallMonitor::Pause pause(*state_->monitor);
  std::optional<ObjectRef> found = state_->store->Find(user->class_name, user->object_id);
  if (!found) return nullptr;
  return LoadObject(*state_->store, object_store_, *found);
}

int32_t EmulatedUserInfo::GetCurrentUserId() {
  state_->Enter(op::KvUserInfo::GetCurrentUserId);
  const std::optional<ObjectKey>& user = state_->environment.user;
  return user ? user->object_id : 0;
}

}  // namespace vtx::emu
