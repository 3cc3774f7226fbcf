#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "emulator/call_monitor.h"
#include "emulator/store/store.h"
#include "host/kv_gui.h"
#include "host/kv_object.h"

namespace vtx::emu {

// What one view the add-in created holds and how it was shown. The view
// object writes it; the recorder and the transcript read it.
//
// Contents are kept as copies (KvObjects.GetCopy) of the collections handed
// to AddObjects: the store's collections are copy-on-write, so the copy costs
// nothing until either side changes, and later changes to the caller's
// collection do not reach the view. The history viewer fills one view per
// history object with every history object; copying the objects themselves
// would make that quadratic in time and memory. Reading the collections goes
// through their own operations with the monitor paused, so it is neither
// traced nor made to fail.
// Thread-safety: none; used on the host's thread.
class ViewRecord {
 public:
  ViewRecord(std::shared_ptr<CallMonitor> monitor, int64_t sequence, int32_t type);

  // 1 for the first view of the host, 2 for the next, ...
  int32_t Type() const { return type_; }
  const std::string& Caption() const { return caption_; }
  // Shown with KvGuiWindow.Show (waiting for the user).
  bool Modal() const { return modal_; }
  bool WasShown() const { return shown_; }
  // The handle given to SetOwner; 0 when never set.
  int32_t OwnerHandle() const { return owner_handle_; }
  // The window handle of the view.
  int32_t WindowHandle() const;

  // The number of objects in the view.
  int32_t ObjectCount() const;
  // The ids of the objects in the view, in order (materialised on each call).
  std::vector<ObjectRef> ObjectIds() const;
  // The objects in the view, in order.
  std::vector<Ref<KvObject>> Objects() const;
  // The object the user selected (Nothing when none).
  const Ref<KvObject>& Selection() const { return selection_; }
  // The view object this record belongs to, while it exists.
  Ref<KvView> ViewObject() const { return Ref<KvView>(view_object_.lock()); }

  void SetCaption(std::string caption) { caption_ = std::move(caption); }
  void AddObjects(const Ref<KvObjects>& objects);
  void MarkShown(bool modal);
  void SetOwnerHandle(int32_t handle) { owner_handle_ = handle; }
  void SetSelection(Ref<KvObject> object) { selection_ = std::move(object); }
  void SetViewObject(const Ref<KvView>& view) { view_object_ = view.shared(); }

  // The first handle of the views' windows; the main window has kMainWindowHandle.
  static constexpr int32_t kFirstWindowHandle = 1000;
  static constexpr int32_t kMainWindowHandle = 100;

 private:
  std::shared_ptr<CallMonitor> monitor_;
  int64_t sequence_;
  int32_t type_;
  std::string caption_;
  bool modal_ = false;
  bool shown_ = false;
  int32_t owner_handle_ = 0;
  std::vector<Ref<KvObjects>> contents_;
  Ref<KvObject> selection_;
  std::weak_ptr<KvView> view_object_;  // weak: the view owns its record
};

}  // namespace vtx::emu
