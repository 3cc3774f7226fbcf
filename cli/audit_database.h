// Opening a database for `vtx verify` and `vtx export`: the file must exist
// and is opened with the model it remembers, so no --model is needed.
#pragma once

#include <iosfwd>
#include <memory>
#include <stdexcept>
#include <string>

#include "cli/exit_status.h"
#include "emulator/store/store.h"

namespace vtx::cli {

// Raises DatabaseOpenError for a missing file, one that is not an emulated
// Korvel database or one whose stored model is damaged; RuntimeError when it
// cannot be read.
std::shared_ptr<emu::Store> OpenAuditDatabase(const std::string& path,
                                              emu::OpenMode mode = emu::OpenMode::kRead);

// The object of the class (or below) whose key text is `key`, or whose id is
// "#ID". Raises UsageError when there is none.
emu::ObjectRef FindAuditObject(emu::Store& store, const std::string& class_name,
                               const std::string& key);

// Prints why `vtx COMMAND` failed on `database` and returns its exit status:
// 2 for a wrong invocation, 1 for anything else.
int ReportAuditFailure(const char* command, const std::string& database,
                       const std::exception& error, std::ostream& err);

}  // namespace vtx::cli
