#include "cli/db_commands.h"

#include <cctype>
#include <filesystem>
#include <functional>
#include <optional>

#include <fmt/format.h>

#include "cli/demo_session.h"
#include "cli/exit_status.h"
#include "cli/scenario/scenario_parser.h"
#include "cli/scenario/scenario_runner.h"
#include "emulator/sql/database.h"
#include "emulator/sql/database_location.h"
#include "emulator/store/value_convert.h"
#include "runtime/runtime_error.h"

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
    run.on_finish = [&](emu::EmulatedHost& host) {
      for (const std::string& notice : host.GetStore().Db().TakeNotices()) out << notice << "\n";
    };
    RunScenario(scenario, run);
    out << fmt::format("{} {} with {} classes{}\n", created ? "Created" : "Reused",
                       emu::WithoutPasswords(options.database), scenario.model["classes"].size(),
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
             std::ostream& err, const PlayChoice& choice = {}) {
  Json steps;
  try {
    steps = make_steps();
  } catch (const std::exception& e) {
    return ReportFailure(command, e, out, err);
  }
  return PlayOnDatabase(options, command, std::move(steps), std::move(answers), out, err, choice);
}

// The --set values of an update, checked against the class: the attribute is
// one of the class's own (not the host's ids and stamps) and the value
// converts to its type.
Json SetValues(const std::vector<std::string>& set) {
  Json values = Json::object();
  for (const std::string& item : set) {
    const size_t eq = item.find('=');
    if (eq == std::string::npos || eq == 0)
      throw UsageError(fmt::format("--set \"{}\": expected ATTR=VALUE", item));
    values[item.substr(0, eq)] = item.substr(eq + 1);
  }
  return values;
}

void CheckSetValues(emu::EmulatedHost& host, const std::string& class_name, const std::string& key,
                    const Json& values) {
  emu::Store& store = host.GetStore();
  if (!store.GetModel().ByName(class_name)) return;  // the call names the unknown class
  const Json ref = ObjectRefJson(class_name, key);
  const std::optional<emu::ObjectRef> object =
      ref.contains("id") ? store.Find(class_name, ref["id"].get<int32_t>())
                         : store.FindByKey(class_name, key);
  if (!object) return;  // the call names the missing object
  const emu::ClassDef& def = *store.GetModel().ById(object->class_id);
  // Ids, link ends and the host's stamps come first; they are the host's own.
  const int first_own = def.FindAttribute(emu::attr::kCreatedBy) + 1;
  for (const auto& [name, value] : values.items()) {
    const int index = def.FindAttribute(name);
    if (index < first_own)
      throw UsageError(
          fmt::format("--set {}: the class {} has no attribute {} that Korvel's update writes",
                      name, def.name, name));
    try {
      emu::ConvertToFieldType(Variant(value.get<std::string>()), def.attributes[index].type);
    } catch (const RuntimeError& e) {
      throw UsageError(
          fmt::format("--set {}={}: {}", name, value.get<std::string>(), e.Description()));
    }
  }
}

// Whether step `index` runs: only after every step before it succeeded.
bool AfterSuccess(size_t index, const Json& steps) {
  for (size_t i = 0; i < index && i < steps.size(); ++i)
    if (StepExitStatus(steps[i]) != kExitOk) return false;
  return steps.size() == index;
}

std::string Upper(std::string text) {
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

}  // namespace

int HookCommand(const DatabaseOptions& options, const std::string& operation,
                const std::string& class_name, const std::string& key,
                const std::vector<std::string>& set, std::ostream& out, std::ostream& err) {
  const std::string kind = Upper(operation);
  Json values;
  PlayChoice choice;
  auto steps = [&] {
    const Json record_list = RecordListOf(class_name, {key});
    const Json record = CallStepJson("ExecuteCreateNewERObject",
                                     {{"Operation", operation}, {"RecordList", record_list}});
    if (kind != "UPDATE" && !set.empty()) throw UsageError("--set: only an UPDATE changes values");
    if (kind == "UPDATE") {
      if (set.empty())
        throw UsageError(
            "an UPDATE needs the values it changes: --set ATTR=VALUE, once per attribute");
      values = SetValues(set);
      choice.check = [&](emu::EmulatedHost& host) {
        CheckSetValues(host, class_name, key, values);
      };
      choice.runs_step = AfterSuccess;
      return Json::array(
          {CallStepJson("ExecuteSaveObjectAsGlobal",
                        {{"Operation", operation}, {"RecordList", record_list}}),
           Json{{"host", "update"}, {"object", ObjectRefJson(class_name, key)}, {"values", values}},
           record});
    }
    if (kind == "DELETE") {
      choice.runs_step = AfterSuccess;
      return Json::array(
          {record, Json{{"host", "delete"}, {"object", ObjectRefJson(class_name, key)}}});
    }
    return Json::array({record});
  };
  return PlayMade(options, "hook", steps, nullptr, out, err, choice);
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
