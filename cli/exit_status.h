// The exit statuses of vtx, and the one place that decides which failure
// gets which, so that a script can tell a missing audit record (1) from a
// command it got wrong (2).
#pragma once

#include <exception>
#include <stdexcept>

#include "cli/scenario/json_path.h"

namespace vtx::cli {

// The operation succeeded (`vtx run`: the scenario ran, whatever it found).
inline constexpr int kExitOk = 0;
// The add-in reported failure (a status other than 0, False, a run-time
// error reaching the caller) or the host failed (disk full, database locked
// past the timeout, read-only); `vtx run`: anything but invalid input.
inline constexpr int kExitFailed = 1;
// The invocation is wrong: bad arguments, an unknown object, class or user, a
// missing or foreign database, an invalid scenario or model.
inline constexpr int kExitUsage = 2;
// The outcome is unknown: the connection to the database server broke while
// it committed and the server could not be asked whether it did. What was to
// be stored may be stored; a caller looks before it retries.
inline constexpr int kExitOutcomeUnknown = 3;

// A command given arguments it cannot use. what() names the argument.
class UsageError : public std::invalid_argument {
 public:
  using std::invalid_argument::invalid_argument;
};

// The status of a database command (hook, history, settings, ...) that ended
// with `error`: 3 when a commit's outcome is unknown.
int CommandExitStatus(const std::exception& error);
// The status of `vtx run` that ended with `error`: 2 for an invalid scenario
// or model file, a database it cannot use or arguments it cannot use, 3 when
// a commit's outcome is unknown, else 1.
int RunExitStatus(const std::exception& error);
// The status a call's transcript entry reports: 1 when a run-time error
// reached the caller or the result is False or a non-zero status, else 0.
int StepExitStatus(const Json& entry);

}  // namespace vtx::cli
