#include "cli/db_commands.h"

#include <filesystem>
#include <functional>

#include <fmt/format.h>

#include "cli/demo_session.h"
#include "cli/exit_status.h"
#include "cli/scenario_parser.h"
#include "cli/scenario_runner.h"

namespace vtx::cli {

int InitCommand(const DatabaseOptions& options, bool empty, std::ostream& out, std::ostream& err) {
  try {
    Json scenario_json;
    if (options.model_file.empty() && !empty) {
      scenario_json = Json::parse(DemoSessionJson());
      scenario_json.erase("steps");
      scenario_json.erase("answers");
    } else {
      scenario_json = Json{{"model", ModelEntry(options)}};
    }
    Scenario scenario = ParseScenario(scenario_json, "vtx init", "");
    RunOptions run;
    run.database = options.database;
    run.open_mode = emu::OpenMode::kCreate;
    run.default_clock.reset();
    run.keep_existing_seeds = true;
    // Of processes creating one file at once, only one creates it.
    bool created = false;
    run.on_start = [&](emu::EmulatedHost& host) { created = host.GetStore().CreatedSchema(); };
    RunScenario(scenario, run);
    out << fmt::format("{} {} with {} classes{}\n", created ? "Created" : "Reused",
                       options.database, scenario.model["classes"].size(),
                       scenario.objects.empty()
                           ? ""
                           : fmt::format(" and {} demo objects", scenario.objects.size()));
    return 0;
  } catch (const std::exception& e) {
    err << "vtx init: " << e.what() << "\n";
    return CommandExitStatus(e);
  }
}

namespace {

// Plays the step `make_steps` gives; a key it cannot use is reported as the
// command's failure.
int PlayMade(const DatabaseOptions& options, const std::string& command,
             const std::function<Json()>& make_steps, Json answers, std::ostream& out,
             std::ostream& err) {
  Json steps;
  try {
    steps = make_steps();
  } catch (const std::exception& e) {
    return ReportFailure(command, e, out, err);
  }
  return PlayOnDatabase(options, command, std::move(steps), std::move(answers), out, err);
}

}  // namespace

int HookCommand(const DatabaseOptions& options, const std::string& operation,
                const std::string& class_name, const std::string& key, std::ostream& out,
                std::ostream& err) {
  auto steps = [&] {
    return Json::array({CallStepJson(
        "ExecuteCreateNewERObject",
        {{"Operation", operation}, {"RecordList", RecordListOf(class_name, {key})}})});
  };
  return PlayMade(options, "hook", steps, nullptr, out, err);
}

int HistoryCommand(const DatabaseOptions& options, const std::string& class_name,
                   const std::string& key, std::ostream& out, std::ostream& err) {
  auto steps = [&] {
    return Json::array(
        {CallStepJson("ViewHistory", {{"FirstRec", RecordListOf(class_name, {key})}})});
  };
  // The history list waits for the user; closing it selects nothing.
  Json answers = {{"modalViews", Json::array({nullptr})}};
  DatabaseOptions reading = options;
  reading.open_mode = emu::OpenMode::kRead;
  return PlayMade(reading, "history", steps, std::move(answers), out, err);
}

int ReportCommand(const DatabaseOptions& options, const std::string& class_name,
                  const std::vector<std::string>& keys, std::ostream& out, std::ostream& err) {
  auto steps = [&] {
    return Json::array(
        {CallStepJson("GenerateHistoryReport", {{"FirstRec", RecordListOf(class_name, keys)}})});
  };
  DatabaseOptions reading = options;
  reading.open_mode = emu::OpenMode::kRead;
  return PlayMade(reading, "report", steps, nullptr, out, err);
}

int DeleteHistoryCommand(const DatabaseOptions& options, const std::string& class_name,
                         const std::string& key, std::ostream& out, std::ostream& err) {
  auto steps = [&] {
    return Json::array(
        {CallStepJson("DeleteHistory", {{"FirstRec", RecordListOf(class_name, {key})}})});
  };
  return PlayMade(options, "delete-history", steps, nullptr, out, err);
}

}  // namespace vtx::cli
