#pragma once

#include <memory>

#include "emulator/session/host_state.h"
#include "host/kv_gui.h"

namespace vtx::emu {

// KvViewContent: either the whole contents of a view or its selection.
//  - Contents: AddObjects appends the collection (kept, not copied; see
//    ViewRecord); GetObjects gives a new collection of every object shown.
//  - Selection: AddObjects selects the first object of the collection (none
//    when it is empty); GetObjects gives a collection of the selected object.
// GetSelectedObject gives the view's selected object in both, or Nothing.
// A Nothing collection raises 91.
// Ownership: collections returned belong to the caller.
// Thread-safety: none.
class EmulatedViewContent : public KvViewContent {
 public:
  enum class Part { kContents, kSelection };

  EmulatedViewContent(std::shared_ptr<HostState> state, Ref<KvObjectStore> object_store,
                      std::shared_ptr<ViewRecord> record, Part part)
      : state_(std::move(state)),
        object_store_(std::move(object_store)),
        record_(std::move(record)),
        part_(part) {}

  void AddObjects(const Ref<KvObjects>& objects) override;
  Ref<KvObjects> GetObjects() override;
  Ref<KvObject> GetSelectedObject() override;

 private:
  std::shared_ptr<HostState> state_;
  Ref<KvObjectStore> object_store_;
  std::shared_ptr<ViewRecord> record_;
  Part part_;
};

}  // namespace vtx::emu
