#include "emulator/gui/view_content.h"

#include "host/kv_object.h"
#include "host/kv_object_store.h"

namespace vtx::emu {

void EmulatedViewContent::AddObjects(const Ref<KvObjects>& objects) {
  state_->Enter(op::KvViewContent::AddObjects, objects);
  if (!objects) Raise(err::kObjectVariableNotSet);
  if (part_ == Part::kContents) {
    record_->AddObjects(objects);
    return;
  }
  CallMonitor::Pause pause(*state_->monitor);
  record_->SetSelection(objects->GetCount() > 0 ? objects->Item(0) : nullptr);
}

Ref<KvObjects> EmulatedViewContent::GetObjects() {
  state_->Enter(op::KvViewContent::GetObjects);
  std::vector<Ref<KvObject>> objects;
  if (part_ == Part::kContents) {
    objects = record_->Objects();
  } else if (record_->Selection()) {
    objects.push_back(record_->Selection());
  }
  CallMonitor::Pause pause(*state_->monitor);
  Ref<KvObjects> collection = object_store_->CreateObjects();
  for (const Ref<KvObject>& object : objects) collection->Add(object);
  return collection;
}

Ref<KvObject> EmulatedViewContent::GetSelectedObject() {
  state_->Enter(op::KvViewContent::GetSelectedObject);
  return record_->Selection();
}

}  // namespace vtx::emu
