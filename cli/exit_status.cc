#include "cli/exit_status.h"

#include "cli/scenario/run_error.h"
#include "emulator/sql/commit_outcome_unknown.h"
#include "emulator/sql/database_open_error.h"

namespace vtx::cli {

int CommandExitStatus(const std::exception& error) {
  if (dynamic_cast<const emu::CommitOutcomeUnknown*>(&error)) return kExitOutcomeUnknown;
  if (dynamic_cast<const std::invalid_argument*>(&error) ||
      dynamic_cast<const InvalidFileError*>(&error) ||
      dynamic_cast<const emu::DatabaseOpenError*>(&error)) {
    return kExitUsage;
  }
  const auto* run_error = dynamic_cast<const RunError*>(&error);
  return run_error && run_error->UnknownReference() ? kExitUsage : kExitFailed;
}

int RunExitStatus(const std::exception& error) {
  if (dynamic_cast<const emu::CommitOutcomeUnknown*>(&error)) return kExitOutcomeUnknown;
  return dynamic_cast<const InvalidFileError*>(&error) || dynamic_cast<const UsageError*>(&error) ||
                 dynamic_cast<const emu::DatabaseOpenError*>(&error)
             ? kExitUsage
             : kExitFailed;
}

int StepExitStatus(const Json& entry) {
  if (entry.contains("error") && !entry["error"].is_null()) return kExitFailed;
  if (!entry.contains("result")) return kExitOk;
  const Json& result = entry["result"];
  if (result.is_boolean()) return result.get<bool>() ? kExitOk : kExitFailed;
  // A status comes back as a typed whole number ({"i2": 1}).
  for (const char* type : {"i2", "i4"}) {
    if (result.is_object() && result.size() == 1 && result.contains(type) &&
        result[type].is_number_integer()) {
      return result[type].get<int64_t>() == 0 ? kExitOk : kExitFailed;
    }
  }
  return kExitOk;
}

}  // namespace vtx::cli
