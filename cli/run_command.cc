#include "cli/run_command.h"

#include <filesystem>
#include <fstream>
#include <iostream>
#include <vector>

#include <fmt/format.h>

#include "cli/scenario/fault_loop.h"
#include "cli/scenario/run_error.h"
#include "cli/scenario/scenario_parser.h"
#include "cli/scenario/scenario_runner.h"
#include "emulator/sql/database.h"
#include "platform/utf8_path.h"
#include "runtime/runtime_error.h"

namespace vtx::cli {

namespace {

// A transcript written over the scenario, its model or its database would
// destroy what it came from.
void RefuseOutputOverInput(const std::string& out_file, const std::vector<std::string>& inputs) {
  if (out_file.empty()) return;
  std::error_code ec;
  const std::filesystem::path out_path = PathFromUtf8(out_file);
  for (const std::string& input : inputs) {
    const std::filesystem::path in_path = PathFromUtf8(input);
    if (input.empty() || !std::filesystem::exists(in_path, ec) ||
        !std::filesystem::exists(out_path, ec))
      continue;
    if (std::filesystem::equivalent(out_path, in_path, ec))
      throw UsageError(fmt::format("--out {}: that is an input of the run ({}); name another file",
                                   out_file, input));
  }
}

}  // namespace

int RunCommand(const std::string& scenario_file, const std::string& out_file, std::ostream& out,
               std::ostream& err, const std::string& database, AddinBinding* addin) {
  try {
    Scenario scenario = LoadScenarioFile(scenario_file);
    RefuseOutputOverInput(out_file, {scenario_file, scenario.model_file, database});
    RunOptions options;
    if (!database.empty()) options.database = database;
    options.addin = addin;
    options.on_finish = [&](emu::EmulatedHost& host) {
      for (const std::string& notice : host.GetStore().Db().TakeNotices()) err << notice << "\n";
    };
    std::string transcript = FormatTranscript(RunScenario(scenario, options));
    if (out_file.empty()) {
      out << transcript;
      out.flush();
      if (out) return kExitOk;
      err << "cannot write the transcript to standard output\n";
      return kExitFailed;
    }
    // A file is written beside and renamed over, so that a full disk leaves
    // no half-written transcript; a device or pipe is written as it is.
    std::error_code ignored;
    const std::filesystem::path out_path = PathFromUtf8(out_file);
    const bool replace = !std::filesystem::exists(out_path, ignored) ||
                         std::filesystem::is_regular_file(out_path, ignored);
    const std::filesystem::path target = PathFromUtf8(replace ? out_file + ".partial" : out_file);
    std::ofstream file(target, std::ios::binary | std::ios::trunc);
    file << transcript;
    file.close();
    std::error_code renamed;
    if (file && replace) std::filesystem::rename(target, out_path, renamed);
    if (!file || renamed) {
      if (replace) std::filesystem::remove(target, ignored);
      err << out_file << ": cannot write the transcript\n";
      return kExitFailed;
    }
    return kExitOk;
  } catch (const RuntimeError& e) {
    err << scenario_file << ": run-time error " << e.Number() << ": " << e.Description() << "\n";
    return RunExitStatus(e);
  } catch (const std::exception& e) {
    // Invalid-file and run errors name their file already.
    const bool named = dynamic_cast<const InvalidFileError*>(&e) ||
                       dynamic_cast<const RunError*>(&e) || dynamic_cast<const UsageError*>(&e);
    err << (named ? "" : scenario_file + ": ") << e.what() << "\n";
    return RunExitStatus(e);
  }
}

int FaultLoopCommand(const std::string& scenario_file, int64_t sample, std::ostream& out,
                     std::ostream& err, AddinBinding* addin) {
  try {
    FaultLoopResult result = RunFaultLoop(LoadScenarioFile(scenario_file), {sample, addin}, out);
    return result.problems == 0 ? kExitOk : kExitFailed;
  } catch (const InvalidFileError& e) {
    err << e.what() << "\n";
    return kExitUsage;
  } catch (const std::exception& e) {
    err << scenario_file << ": " << e.what() << "\n";
    return kExitFailed;
  }
}

}  // namespace vtx::cli
