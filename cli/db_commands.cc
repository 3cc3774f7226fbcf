#include "cli/db_commands.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

#include <fmt/format.h>

#include "cli/demo_model.h"
#include "cli/demo_session.h"
#include "cli/scenario_parser.h"
#include "cli/scenario_runner.h"
#include "cli/session_printer.h"
#include "platform/terminal_presenter.h"

namespace vtx::cli {
namespace {

constexpr const char* kUserClass = "User";

Json LoadModel(const DatabaseOptions& options) {
  if (options.model_file.empty()) return Json::parse(DemoModelJson());
  std::ifstream in(options.model_file, std::ios::binary);
  if (!in) throw std::runtime_error(options.model_file + ": cannot open the file");
  std::stringstream text;
  text << in.rdbuf();
  return Json::parse(text.str());
}

std::string MachineLogonName() {
  const char* user = std::getenv("USER");
  if (user && *user) return user;
  const char* login = getlogin();
  return login ? login : "";
}

std::string MachineName() {
  char name[256] = {};
  if (gethostname(name, sizeof(name) - 1) != 0) return "";
  return name;
}

// {"class": ..., "key": ...} or {"class": ..., "id": ...} for "#ID".
Json ObjectRefJson(const std::string& class_name, const std::string& key) {
  if (key.size() > 1 && key[0] == '#' &&
      key.find_first_not_of("0123456789", 1) == std::string::npos) {
    return Json{{"class", class_name}, {"id", std::stoll(key.substr(1))}};
  }
  return Json{{"class", class_name}, {"key", key}};
}

Json RecordListOf(const std::string& class_name, const std::vector<std::string>& keys) {
  Json refs = Json::array();
  for (const auto& key : keys) refs.push_back(ObjectRefJson(class_name, key));
  return Json{{"recordList", Json{{"objects", std::move(refs)}}}};
}

// The machine this runs on, as the session reports it; the current user is
// looked up once the database is open.
WrittenEnvironment MachineEnvironment() {
  WrittenEnvironment env;
  env.logon_name = MachineLogonName();
  env.computer_name = MachineName();
  std::vector<std::pair<std::string, std::string>> variables = {{"TEMP", "C:\\Temp"}};
  if (const char* debug = std::getenv("DEBUG")) variables.emplace_back("DEBUG", debug);
  env.variables = std::move(variables);
  return env;
}

// The User whose LOGIN is `login`, else the first User; none when the model
// has no User class or no user is stored.
void ChooseUser(emu::EmulatedHost& host, const std::string& login) {
  emu::Store& store = host.GetStore();
  if (!store.GetModel().ByName(kUserClass)) return;
  std::optional<emu::ObjectRef> user = store.FindByKey(kUserClass, login);
  if (!user) {
    auto users = store.Dump(kUserClass);
    if (!users.empty()) user = users.front().ref;
  }
  if (!user) return;
  emu::Environment env = host.GetEnvironment();
  const emu::ClassDef* def = store.GetModel().ById(user->class_id);
  env.user = emu::ObjectKey{def ? def->name : kUserClass, user->object_id};
  host.SetEnvironment(std::move(env));
}

// Plays `steps` on the database and prints them.
int Play(const DatabaseOptions& options, const std::string& command, Json steps, Json answers,
         std::ostream& out, std::ostream& err) {
  try {
    Json scenario_json = {{"model", LoadModel(options)}, {"steps", std::move(steps)}};
    if (!answers.is_null()) scenario_json["answers"] = std::move(answers);
    Scenario scenario = ParseScenario(scenario_json, "vtx " + command, "");
    TerminalPresenter presenter(std::cin, out);
    SessionPrinter printer(out, presenter);
    printer.SetStepTitles(false);
    RunOptions run;
    run.database = options.database;
    run.default_clock.reset();
    run.base_environment = MachineEnvironment();
    std::string login = options.user.empty() ? MachineLogonName() : options.user;
    run.on_start = [&](emu::EmulatedHost& host) { ChooseUser(host, login); };
    run.on_step = [&](const ScenarioStep& step, const Json& entry, emu::EmulatedHost& host) {
      printer.PrintStep(step, entry, host);
    };
    RunScenario(scenario, run);
    return 0;
  } catch (const std::exception& e) {
    out.flush();
    err << e.what() << "\n";
    return 1;
  }
}

Json CallStepJson(const std::string& operation, Json args) {
  return Json{{"call", "Application." + operation}, {"args", std::move(args)}};
}

}  // namespace

int InitCommand(const DatabaseOptions& options, bool empty, std::ostream& out, std::ostream& err) {
  try {
    bool existed = std::filesystem::exists(options.database);
    Json scenario_json;
    if (options.model_file.empty() && !empty) {
      scenario_json = Json::parse(DemoSessionJson());
      scenario_json.erase("steps");
      scenario_json.erase("answers");
    } else {
      scenario_json = Json{{"model", LoadModel(options)}};
    }
    Scenario scenario = ParseScenario(scenario_json, "vtx init", "");
    RunOptions run;
    run.database = options.database;
    run.default_clock.reset();
    run.keep_existing_seeds = true;
    RunScenario(scenario, run);
    out << fmt::format("{} {} with {} classes{}\n", existed ? "Reused" : "Created",
                       options.database, scenario.model["classes"].size(),
                       scenario.objects.empty()
                           ? ""
                           : fmt::format(" and {} demo objects", scenario.objects.size()));
    return 0;
  } catch (const std::exception& e) {
    err << "vtx init: " << e.what() << "\n";
    return 1;
  }
}

int HookCommand(const DatabaseOptions& options, const std::string& operation,
                const std::string& class_name, const std::string& key, std::ostream& out,
                std::ostream& err) {
  Json steps = Json::array(
      {CallStepJson("ExecuteCreateNewERObject",
                    {{"Operation", operation}, {"RecordList", RecordListOf(class_name, {key})}})});
  return Play(options, "hook", std::move(steps), nullptr, out, err);
}

int HistoryCommand(const DatabaseOptions& options, const std::string& class_name,
                   const std::string& key, std::ostream& out, std::ostream& err) {
  Json steps =
      Json::array({CallStepJson("ViewHistory", {{"FirstRec", RecordListOf(class_name, {key})}})});
  // The history list waits for the user; closing it selects nothing.
  Json answers = {{"modalViews", Json::array({nullptr})}};
  return Play(options, "history", std::move(steps), std::move(answers), out, err);
}

int ReportCommand(const DatabaseOptions& options, const std::string& class_name,
                  const std::vector<std::string>& keys, std::ostream& out, std::ostream& err) {
  Json steps = Json::array(
      {CallStepJson("GenerateHistoryReport", {{"FirstRec", RecordListOf(class_name, keys)}})});
  return Play(options, "report", std::move(steps), nullptr, out, err);
}

int DeleteHistoryCommand(const DatabaseOptions& options, const std::string& class_name,
                         const std::string& key, std::ostream& out, std::ostream& err) {
  Json steps =
      Json::array({CallStepJson("DeleteHistory", {{"FirstRec", RecordListOf(class_name, {key})}})});
  return Play(options, "delete-history", std::move(steps), nullptr, out, err);
}

}  // namespace vtx::cli
