// Reading and checking scenario files.
#pragma once

#include <string>

#include "cli/scenario/json_path.h"
#include "cli/scenario/scenario.h"

namespace vtx::cli {

// Reads the scenario file `file` (its model file too, when the scenario names
// one) and checks its form. Raises InvalidFileError naming the offending file
// and JSON path; the model itself is checked by the store's model parser.
Scenario LoadScenarioFile(const std::string& file);

// Checks a scenario already in JSON form. `file` names it in messages and
// `base_dir` is the directory relative file names start from.
Scenario ParseScenario(const Json& json, const std::string& file, const std::string& base_dir);

// Parses an environment object (the scenario's "environment", or the keys of
// a host "environment" step); raises JsonPathError.
WrittenEnvironment ParseEnvironment(const Json& json, const std::string& path,
                                    const std::string& base_dir);

// The name under which a scenario refers to the model built into vtx.
inline constexpr const char* kBuiltinDemoModel = "builtin:demo";

}  // namespace vtx::cli
