// Prints a run as a person follows it: what each step did, the message boxes
// (through a presenter), the views, reports, notifications and files, and the
// audit trail of an object. `vtx demo` and the database commands use it.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "cli/scenario/json_path.h"
#include "cli/scenario/scenario.h"
#include "emulator/emulated_host.h"
#include "platform/presenter.h"

namespace vtx::cli {

// REQUIRES: the host's call monitor is paused while a method runs (the runner
// pauses it around its callbacks), so that reading objects is not the
// add-in's work. `out` and `presenter` must outlive the printer.
// Thread-safety: used on the host's thread.
class SessionPrinter {
 public:
  SessionPrinter(std::ostream& out, Presenter& presenter) : out_(out), presenter_(presenter) {}

  // Whether each step starts with a "Step N: comment" line (default: yes).
  void SetStepTitles(bool on) { step_titles_ = on; }

  // One step: its comment, the call or host action, the result or error, and
  // everything the user saw.
  void PrintStep(const ScenarioStep& step, const Json& entry, emu::EmulatedHost& host);

  // The electronic records written about the object, oldest first.
  void PrintAuditTrail(emu::EmulatedHost& host, const emu::ObjectRef& object);

  // The history objects a view shows, as a table.
  void PrintHistoryTable(emu::EmulatedHost& host, const std::vector<emu::ObjectRef>& objects);

  // The report files written during the run so far, as the user sees them.
  const std::vector<std::string>& ReportFiles() const { return report_files_; }

 private:
  std::string DescribeObject(emu::EmulatedHost& host, const emu::ObjectRef& ref);
  std::string DescribeValue(emu::EmulatedHost& host, const WrittenValue& value);
  void PrintCall(const CallStep& call, const Json& entry, emu::EmulatedHost& host);
  // The out arguments the call handed back that the step did not give.
  void PrintHandedOut(const CallStep& call, const Json& entry);
  void PrintHost(const HostStep& host_step, const Json& entry, emu::EmulatedHost& host);
  void PrintSeen(const Json& entry, emu::EmulatedHost& host);
  // The id and description of the electronic record the step's call stored
  // (never one another process stored meanwhile).
  void PrintRecordsMade(emu::EmulatedHost& host);

  std::ostream& out_;
  Presenter& presenter_;
  std::vector<std::string> report_files_;
  bool step_titles_ = true;
};

}  // namespace vtx::cli
