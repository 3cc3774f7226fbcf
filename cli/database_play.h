// What the commands working on a database of one's own share: the database
// options, the step and argument forms of the scenario runner, and playing a
// few steps made on the spot with the run printed as `vtx demo` prints it.
#pragma once

#include <exception>
#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

#include "cli/scenario/scenario.h"
#include "emulator/emulated_host.h"
#include "emulator/sql/open_mode.h"

namespace vtx::cli {

struct DatabaseOptions {
  std::string database;    // an SQLite file or a PostgreSQL URI (a DatabaseLocation's text)
  std::string model_file;  // "" for the demo model built into vtx
  std::string user;        // LOGIN of the current user; "" for this machine's logon name
  // kWrite: the file must exist; kRead for commands that only read.
  emu::OpenMode open_mode = emu::OpenMode::kWrite;
};

// How a play chooses its steps: leading probes, run but not printed, and
// whether a step runs given the entries of those before it.
struct PlayChoice {
  size_t hidden_steps = 0;
  std::function<bool(size_t index, const Json& steps)> runs_step;
  // Every step in one transaction holding the write lock from the start:
  // what a probe reads decides what a later step writes.
  bool one_transaction = false;
  // Checks the invocation against the open database before the first step
  // (raising UsageError); empty: nothing to check.
  std::function<void(emu::EmulatedHost&)> check;
};

// The "model" of a scenario on the database: the model file named in the
// options, or the demo model.
Json ModelEntry(const DatabaseOptions& options);

// {"class": ..., "key": ...}, or {"class": ..., "id": ...} for a key "#ID".
// Raises UsageError for an id beyond the range of object ids.
Json ObjectRefJson(const std::string& class_name, const std::string& key);

// A record list of the objects, as a step argument.
Json RecordListOf(const std::string& class_name, const std::vector<std::string>& keys);

// A step calling `operation` ("Class.Operation"; a bare name is Application's).
Json CallStepJson(const std::string& operation, Json args);

// Runs `steps` on the database as the user the options name (else the one
// whose LOGIN is this machine's logon name) without printing them and returns
// the transcript. Raises UsageError for a login no User has, else what the
// scenario runner raises.
Json RunOnDatabase(const DatabaseOptions& options, const std::string& command, Json steps);

// Plays `steps` on the database as RunOnDatabase does and prints each one;
// dialogs without an answer in `answers` are asked at the terminal. Returns
// the exit status (see exit_status.h), printing the reason of a failure to
// `err`.
int PlayOnDatabase(const DatabaseOptions& options, const std::string& command, Json steps,
                   Json answers, std::ostream& out, std::ostream& err,
                   const PlayChoice& choice = {});

// Prints `error` as the failure of `command` to `err` (after what `out` holds)
// and returns its exit status.
int ReportFailure(const std::string& command, const std::exception& error, std::ostream& out,
                  std::ostream& err);

}  // namespace vtx::cli
