#include "emulator/session/recorder.h"

#include <utility>

namespace vtx::emu {

std::shared_ptr<ViewRecord> Recorder::NewView(int32_t type) {
  auto view = std::make_shared<ViewRecord>(monitor_, ++views_created_, type);
  step_.views.push_back(RecordedView{view, false});
  return view;
}

void Recorder::Shown(const std::shared_ptr<ViewRecord>& view, bool modal) {
  view->MarkShown(modal);
  on_screen_ = view;
}

HostRecordings Recorder::Take() {
  HostRecordings out = std::exchange(step_, HostRecordings{});
  for (RecordedView& v : out.views) v.shown = on_screen_ && v.view == on_screen_;
  return out;
}

}  // namespace vtx::emu
