#pragma once

#include <memory>
#include <string>

#include "emulator/session/host_state.h"
#include "host/kv_gui.h"

namespace vtx::emu {

// KvView: a host list view. Each view is recorded when it is created; its
// caption, contents, selection and the way it is shown go into its record.
// Ownership: GetContents, GetSelection and GetWindow return new objects
// (owned by the caller) over the same view; the view owns its record.
// Thread-safety: none.
class EmulatedView : public KvView {
 public:
  // A new view of `view_type`, listed in the recorder's current step.
  static Ref<EmulatedView> Create(const std::shared_ptr<HostState>& state,
                                  const Ref<KvObjectStore>& object_store, int32_t view_type);
  EmulatedView(std::shared_ptr<HostState> state, Ref<KvObjectStore> object_store,
               std::shared_ptr<ViewRecord> record);

  void SetCaption(const std::string& caption) override;
  Ref<KvViewContent> GetContents() override;
  Ref<KvViewContent> GetSelection() override;
  Ref<KvGuiWindow> GetWindow() override;

  const std::shared_ptr<ViewRecord>& Record() const { return record_; }

 private:
  std::shared_ptr<HostState> state_;
  Ref<KvObjectStore> object_store_;
  std::shared_ptr<ViewRecord> record_;
};

}  // namespace vtx::emu
