// Runs a scenario against a fresh emulated host and produces its transcript.
#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "cli/scenario/addin_binding.h"
#include "cli/scenario/json_path.h"
#include "cli/scenario/scenario.h"
#include "emulator/emulated_host.h"
#include "emulator/sql/database_location.h"

namespace vtx::cli {

// The clock of a run whose scenario gives none, so that runs stay identical
// byte for byte: 2026-01-05T09:00:00.
inline constexpr const char* kDefaultClock = "2026-01-05T09:00:00";

struct RunOptions {
  // The database: in memory (a fresh one per run), a file or a PostgreSQL
  // database, created or reused.
  emu::DatabaseLocation database;
  // Whether the database file may be created or written.
  emu::OpenMode open_mode = emu::OpenMode::kCreate;
  // The clock when neither `base_environment` nor the scenario sets one;
  // nullopt: the real clock.
  std::optional<std::string> default_clock = kDefaultClock;
  // Applied before the scenario's own environment (front ends describe the
  // real machine here).
  WrittenEnvironment base_environment;
  // Seed objects whose id already exists are left as they are (reused
  // databases); otherwise inserting them again fails the run.
  bool keep_existing_seeds = false;
  // Where the quick report writes; nullopt: the host's choice.
  std::optional<std::filesystem::path> report_folder;
  // Every step as one transaction that holds the write lock from the start:
  // what one step reads decides what a later one writes.
  bool one_transaction = false;
  // Whether step `index` runs, given the entries of the steps run so far;
  // empty: every step runs. A step left out has no entry.
  std::function<bool(size_t index, const Json& steps)> runs_step;
  // Called after each step with the step, its transcript entry and the host
  // (its call monitor paused), and once after the last step.
  std::function<void(const ScenarioStep&, const Json&, emu::EmulatedHost&)> on_step;
  std::function<void(emu::EmulatedHost&)> on_finish;
  // Called once before the first step, after the seeds and the environment
  // are in place (its call monitor paused): a front end may adjust the host.
  std::function<void(emu::EmulatedHost&)> on_start;
  // How the steps reach the add-in (not owned); null: directly, in process.
  AddinBinding* addin = nullptr;
};

// Runs every step and returns the transcript {"steps": [...], "dump": {...}}.
// Raises InvalidFileError for seed objects the store refuses, RunError when
// the run cannot go on (a missing answer, an object that does not exist).
Json RunScenario(const Scenario& scenario, const RunOptions& options = {});

// The transcript as `vtx run` writes it: indented by two spaces, keys in their
// fixed order, UTF-8, one final newline.
std::string FormatTranscript(const Json& transcript);

}  // namespace vtx::cli
