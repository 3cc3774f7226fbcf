// What the commands working on a database of one's own share: the database
// options, the step and argument forms of the scenario runner, and playing a
// few steps made on the spot with the run printed as `vtx demo` prints it.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "cli/scenario.h"

namespace vtx::cli {

struct DatabaseOptions {
  std::string database;    // SQLite file, created when missing
  std::string model_file;  // "" for the demo model built into vtx
  std::string user;        // LOGIN of the current user; "" for this machine's logon name
};

// The model file named in the options, or the demo model.
Json LoadModel(const DatabaseOptions& options);

// {"class": ..., "key": ...}, or {"class": ..., "id": ...} for a key "#ID".
Json ObjectRefJson(const std::string& class_name, const std::string& key);

// A record list of the objects, as a step argument.
Json RecordListOf(const std::string& class_name, const std::vector<std::string>& keys);

// A step calling `operation` ("Class.Operation"; a bare name is Application's).
Json CallStepJson(const std::string& operation, Json args);

// Runs `steps` on the database as the machine's user without printing them
// and returns the transcript. Raises what the scenario runner raises.
Json RunOnDatabase(const DatabaseOptions& options, const std::string& command, Json steps);

// Plays `steps` on the database as the machine's user and prints each one;
// dialogs without an answer in `answers` are asked at the terminal. Returns
// the exit status: 0, or 1 after printing the reason to `err`.
int PlayOnDatabase(const DatabaseOptions& options, const std::string& command, Json steps,
                   Json answers, std::ostream& out, std::ostream& err);

}  // namespace vtx::cli
