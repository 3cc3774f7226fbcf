#include "cli/database_play.h"

#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <iostream>
#include <sstream>

#include "cli/demo_model.h"
#include "cli/scenario_parser.h"
#include "cli/scenario_runner.h"
#include "cli/session_printer.h"
#include "platform/terminal_presenter.h"

namespace vtx::cli {
namespace {

constexpr const char* kUserClass = "User";

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

}  // namespace

Json LoadModel(const DatabaseOptions& options) {
  if (options.model_file.empty()) return Json::parse(DemoModelJson());
  std::ifstream in(options.model_file, std::ios::binary);
  if (!in) throw std::runtime_error(options.model_file + ": cannot open the file");
  std::stringstream text;
  text << in.rdbuf();
  return Json::parse(text.str());
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

// Plays `steps` on the database and prints them.
namespace {

Scenario ScenarioOf(const DatabaseOptions& options, const std::string& command, Json steps,
                    Json answers) {
  Json scenario_json = {{"model", LoadModel(options)}, {"steps", std::move(steps)}};
  if (!answers.is_null()) scenario_json["answers"] = std::move(answers);
  return ParseScenario(scenario_json, "vtx " + command, "");
}

// The real clock and this machine, with the user chosen from the options.
RunOptions MachineRunOptions(const DatabaseOptions& options) {
  RunOptions run;
  run.database = options.database;
  run.default_clock.reset();
  run.base_environment = MachineEnvironment();
  return run;
}

std::string LoginOf(const DatabaseOptions& options) {
  return options.user.empty() ? MachineLogonName() : options.user;
}

}  // namespace

Json RunOnDatabase(const DatabaseOptions& options, const std::string& command, Json steps) {
  Scenario scenario = ScenarioOf(options, command, std::move(steps), nullptr);
  RunOptions run = MachineRunOptions(options);
  std::string login = LoginOf(options);
  run.on_start = [&](emu::EmulatedHost& host) { ChooseUser(host, login); };
  return RunScenario(scenario, run);
}

int PlayOnDatabase(const DatabaseOptions& options, const std::string& command, Json steps,
                   Json answers, std::ostream& out, std::ostream& err) {
  try {
    Scenario scenario = ScenarioOf(options, command, std::move(steps), std::move(answers));
    TerminalPresenter presenter(std::cin, out);
    SessionPrinter printer(out, presenter);
    printer.SetStepTitles(false);
    RunOptions run = MachineRunOptions(options);
    std::string login = LoginOf(options);
    run.on_start = [&](emu::EmulatedHost& host) {
      ChooseUser(host, login);
      // Dialogs the steps bring no answer for are asked at the terminal.
      host.Scripted().SetDialogFallback(
          [&](const DialogSnapshot& dialog) { return presenter.Ask(dialog); });
    };
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
  std::string call =
      operation.find('.') == std::string::npos ? "Application." + operation : operation;
  return Json{{"call", std::move(call)}, {"args", std::move(args)}};
}

}  // namespace vtx::cli
