#pragma once

#include <memory>
#include <string_view>
#include <vector>

#include "emulator/session/host_state.h"
#include "host/kv_components.h"
#include "host/kv_object.h"
#include "host/kv_session.h"

namespace vtx::emu {

// "KvQuickReport.GenerateRpt"; the add-in calls it through GenerateRpt.
// GenerateReportByObjects(session, collection) writes one report of the
// collection's objects (report_writer.h: a page with one section per object
// the records are about, and a CSV of every value) as Report_NNNN.html and
// Report_NNNN.csv into the host's report folder, NNNN the next number after
// the host's last report whose two files are both new; records
// the call; and returns the number of objects as a 16-bit integer. Both
// arguments come back unchanged. A collection of more than 32767 objects
// raises 6 (overflow) and writes nothing; Nothing raises 91; another method
// name raises 438, another number of arguments 450.
// The call passes the monitor as "GenerateRpt.GenerateReportByObjects"; the
// component's own reading of the objects is not monitored.
// Thread-safety: none.
class QuickReport : public GenerateRpt {
 public:
  explicit QuickReport(std::shared_ptr<HostState> state) : state_(std::move(state)) {}

  // By name, for a late-bound caller on this side: the call is monitored
  // (its arguments traced as values) before they are looked at.
  Variant Invoke(std::string_view name, InvokeKind kind, std::vector<Variant>& args) override;
  // As the host's type library declares it, and as the add-in calls it:
  // both arguments by reference, and traced so.
  int16_t GenerateReportByObjects(Ref<KvSession>& session, Ref<KvObjects>& objects) override;

 private:
  int16_t Report(const Ref<KvObjects>& collection);

  std::shared_ptr<HostState> state_;
};

}  // namespace vtx::emu
