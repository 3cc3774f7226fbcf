#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "emulator/session/view_record.h"
#include "emulator/store/store.h"

namespace vtx::emu {

// A view created during a step, and whether it is the one on screen.
struct RecordedView {
  std::shared_ptr<const ViewRecord> view;
  // True for the view shown last (modal or not), as it stands when the step's
  // recordings are taken: the view the user sees.
  bool shown = false;
};

// One KvGuiNotifier.NotifyObjectsChanged.
struct NotificationRecord {
  int32_t kind = 0;
  std::vector<ObjectRef> objects;  // as the collection held them at the call
  bool flag = false;
};

// One call of the quick-report component.
struct ReportRecord {
  std::vector<ObjectRef> objects;  // as the collection held them at the call
  // The files written, as the user sees them: the Windows form when the report
  // folder lies on a mapped drive, else the path of this machine.
  std::vector<std::string> files;
  std::vector<std::filesystem::path> host_files;  // the same files on this machine
  Variant returned;
};

// What the host showed the user during one step.
struct HostRecordings {
  std::vector<RecordedView> views;  // in creation order
  std::vector<NotificationRecord> notifications;
  std::vector<ReportRecord> reports;
};

// Collects what the user would see of the host's user interface: views,
// change notifications and reports. Message boxes and dialogs belong to the
// platform and are recorded there.
// Thread-safety: none; used on the host's thread. The view records are shared
// with the live view objects, which may still change them after a Take.
class Recorder {
 public:
  explicit Recorder(std::shared_ptr<CallMonitor> monitor) : monitor_(std::move(monitor)) {}

  // A new view record, listed in the current step.
  std::shared_ptr<ViewRecord> NewView(int32_t type);
  // `view` is now the one on screen.
  void Shown(const std::shared_ptr<ViewRecord>& view, bool modal);
  void Notified(NotificationRecord record) { step_.notifications.push_back(std::move(record)); }
  void Reported(ReportRecord record) { step_.reports.push_back(std::move(record)); }

  // The view on screen (shown last), or null when none was shown.
  std::shared_ptr<const ViewRecord> OnScreen() const { return on_screen_; }

  // Hands over what was recorded since the last Take and starts afresh. The
  // view on screen stays on screen.
  HostRecordings Take();

 private:
  std::shared_ptr<CallMonitor> monitor_;
  HostRecordings step_;
  std::shared_ptr<ViewRecord> on_screen_;
  int64_t views_created_ = 0;
};

}  // namespace vtx::emu
