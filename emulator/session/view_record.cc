#include "emulator/session/view_record.h"

#include <utility>

namespace vtx::emu {

ViewRecord::ViewRecord(std::shared_ptr<CallMonitor> monitor, int64_t sequence, int32_t type)
    : monitor_(std::move(monitor)), sequence_(sequence), type_(type) {}

int32_t ViewRecord::WindowHandle() const {
  return kFirstWindowHandle + static_cast<int32_t>(sequence_);
}

void ViewRecord::AddObjects(const Ref<KvObjects>& objects) {
  if (!objects) return;
  CallMonitor::Pause pause(*monitor_);
  contents_.push_back(objects->GetCopy());
}

void ViewRecord::MarkShown(bool modal) {
  shown_ = true;
  modal_ = modal_ || modal;
}

int32_t ViewRecord::ObjectCount() const {
  CallMonitor::Pause pause(*monitor_);
  int32_t count = 0;
  for (const Ref<KvObjects>& part : contents_) count += part->GetCount();
  return count;
}

std::vector<ObjectRef> ViewRecord::ObjectIds() const {
  CallMonitor::Pause pause(*monitor_);
  std::vector<ObjectRef> ids;
  for (const Ref<KvObjects>& part : contents_) {
    const int32_t count = part->GetCount();
    for (int32_t i = 0; i < count; ++i) {
      Ref<KvObject> object = part->Item(i);
      ids.push_back(ObjectRef{object->GetClassId(), object->GetObjectId()});
    }
  }
  return ids;
}

std::vector<Ref<KvObject>> ViewRecord::Objects() const {
  CallMonitor::Pause pause(*monitor_);
  std::vector<Ref<KvObject>> objects;
  for (const Ref<KvObjects>& part : contents_) {
    const int32_t count = part->GetCount();
    for (int32_t i = 0; i < count; ++i) objects.push_back(part->Item(i));
  }
  return objects;
}

}  // namespace vtx::emu
