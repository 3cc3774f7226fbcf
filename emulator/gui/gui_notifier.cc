#include "emulator/gui/gui_notifier.h"

#include "host/kv_object.h"

namespace vtx::emu {

std::vector<ObjectRef> CollectIds(CallMonitor& monitor, const Ref<KvObjects>& objects) {
  CallMonitor::Pause pause(monitor);
  std::vector<ObjectRef> ids;
  const int32_t count = objects->GetCount();
  ids.reserve(static_cast<size_t>(count));
  for (int32_t i = 0; i < count; ++i) {
    Ref<KvObject> object = objects->Item(i);
    ids.push_back(ObjectRef{object->GetClassId(), object->GetObjectId()});
  }
  return ids;
}

void EmulatedGuiNotifier::NotifyObjectsChanged(int32_t kind, const Ref<KvObjects>& objects,
                                               bool flag) {
  state_->Enter(op::KvGuiNotifier::NotifyObjectsChanged, kind, objects, flag);
  if (!objects) Raise(err::kObjectVariableNotSet);
  state_->recorder.Notified(NotificationRecord{kind, CollectIds(*state_->monitor, objects), flag});
}

}  // namespace vtx::emu
