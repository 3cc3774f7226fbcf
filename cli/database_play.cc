#include "cli/database_play.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <limits>

#include <fmt/format.h>
#include <fmt/ranges.h>

#include "cli/exit_status.h"
#include "cli/scenario/demo_model.h"
#include "cli/scenario/scenario_parser.h"
#include "cli/scenario/scenario_runner.h"
#include "cli/session_printer.h"
#include "cli/terminal_presenter.h"
#include "emulator/sql/database.h"
#include "emulator/sql/database_location.h"
#include "platform/folder_access.h"
#include "platform/host_name.h"
#include "platform/logon_name.h"
#include "platform/utf8_path.h"

namespace vtx::cli {
namespace {

constexpr const char* kUserClass = "User";
constexpr const char* kLoginAttribute = "LOGIN";

// The machine this runs on, as the session reports it; the current user is
// looked up once the database is open.
WrittenEnvironment MachineEnvironment() {
  WrittenEnvironment env;
  env.logon_name = LogonName();
  env.computer_name = HostName();
  std::vector<std::pair<std::string, std::string>> variables = {{"TEMP", "C:\\Temp"}};
  if (const char* debug = std::getenv("DEBUG")) variables.emplace_back("DEBUG", debug);
  env.variables = std::move(variables);
  return env;
}

// Names the stored User whose LOGIN is `login` as the session's user. The
// audit trail records that user, so a login no User has stops the command
// before it writes anything. A model without a User class has nobody to
// name: the session runs without a user, and --user is refused.
void ChooseUser(emu::EmulatedHost& host, const std::string& login, bool from_option) {
  emu::Store& store = host.GetStore();
  const emu::ClassDef* user_class = store.GetModel().ByName(kUserClass);
  if (!user_class) {
    if (from_option) throw UsageError("--user: the database's model has no class User");
    return;
  }
  std::optional<emu::ObjectRef> user = store.FindByKey(kUserClass, login);
  if (!user) {
    std::vector<std::string> logins;
    for (const emu::DumpedObject& u : store.Dump(kUserClass)) {
      for (const auto& [name, value] : u.values) {
        if (name == kLoginAttribute && value.IsString()) logins.push_back(value.AsString());
      }
    }
    const std::string known =
        logins.empty() ? "none is stored" : fmt::format("stored: {}", fmt::join(logins, ", "));
    if (from_option)
      throw UsageError(fmt::format("--user \"{}\": no User has this LOGIN ({})", login, known));
    throw UsageError(fmt::format(
        "this machine's logon name \"{}\" is no User's LOGIN; name the user with --user LOGIN ({})",
        login, known));
  }
  emu::Environment env = host.GetEnvironment();
  env.user = emu::ObjectKey{user_class->name, user->object_id};
  host.SetEnvironment(std::move(env));
}

}  // namespace

Json ModelEntry(const DatabaseOptions& options) {
  if (options.model_file.empty()) return Json::parse(DemoModelJson());
  return options.model_file;
}

Json ObjectRefJson(const std::string& class_name, const std::string& key) {
  if (key.size() > 1 && key[0] == '#' &&
      key.find_first_not_of("0123456789", 1) == std::string::npos) {
    int32_t id = 0;
    const char* end = key.data() + key.size();
    auto [stop, error] = std::from_chars(key.data() + 1, end, id);
    if (error != std::errc() || stop != end) {
      throw UsageError(fmt::format("key \"{}\": an object id is a whole number from 0 to {}", key,
                                   std::numeric_limits<int32_t>::max()));
    }
    return Json{{"class", class_name}, {"id", id}};
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
  Json scenario_json = {{"model", ModelEntry(options)}, {"steps", std::move(steps)}};
  if (!answers.is_null()) scenario_json["answers"] = std::move(answers);
  return ParseScenario(scenario_json, "vtx " + command, "");
}

// The real clock and this machine, with the user chosen from the options.
RunOptions MachineRunOptions(const DatabaseOptions& options) {
  RunOptions run;
  const emu::DatabaseLocation location(options.database);
  run.database = location;
  run.open_mode = options.open_mode;
  run.default_clock.reset();
  run.base_environment = MachineEnvironment();
  // A server's database has no folder of its own, and a database in a folder
  // this user cannot write (an auditor's read-only copy) none to write in:
  // their reports go beside the command, where the user finds them (the
  // emulated drives go with the host).
  namespace fs = std::filesystem;
  if (location.IsPostgresql()) {
    run.report_folder = fs::current_path() / (location.PostgresqlDatabaseName() + "_reports");
  } else {
    const fs::path db = fs::absolute(PathFromUtf8(location.Text()));
    const fs::path beside = db.parent_path() / PathFromUtf8(Utf8FromPath(db.stem()) + "_reports");
    std::error_code ec;
    if (!MayWriteIn(fs::exists(beside, ec) ? beside : db.parent_path()))
      run.report_folder = fs::current_path() / beside.filename();
  }
  return run;
}

// What the store learnt about a commit whose answer the connection lost.
void PrintCommitNotices(emu::EmulatedHost& host, std::ostream& out) {
  for (const std::string& notice : host.GetStore().Db().TakeNotices())
    out << "  " << notice << "\n";
}

// Chooses the user the options name, or this machine's user, when the host starts.
void ChooseUserOnStart(const DatabaseOptions& options, emu::EmulatedHost& host) {
  const bool from_option = !options.user.empty();
  ChooseUser(host, from_option ? options.user : LogonName(), from_option);
}

}  // namespace

Json RunOnDatabase(const DatabaseOptions& options, const std::string& command, Json steps) {
  Scenario scenario = ScenarioOf(options, command, std::move(steps), nullptr);
  RunOptions run = MachineRunOptions(options);
  run.on_start = [&](emu::EmulatedHost& host) { ChooseUserOnStart(options, host); };
  return RunScenario(scenario, run);
}

int PlayOnDatabase(const DatabaseOptions& options, const std::string& command, Json steps,
                   Json answers, std::ostream& out, std::ostream& err, const PlayChoice& choice) {
  try {
    Scenario scenario = ScenarioOf(options, command, std::move(steps), std::move(answers));
    TerminalPresenter presenter(std::cin, out);
    SessionPrinter printer(out, presenter);
    printer.SetStepTitles(false);
    RunOptions run = MachineRunOptions(options);
    run.on_start = [&](emu::EmulatedHost& host) {
      ChooseUserOnStart(options, host);
      if (choice.check) choice.check(host);
      // Dialogs the steps bring no answer for are asked at the terminal.
      host.Scripted().SetDialogFallback(
          [&](const DialogSnapshot& dialog) { return presenter.Ask(dialog); });
    };
    int status = kExitOk;
    run.on_step = [&](const ScenarioStep& step, const Json& entry, emu::EmulatedHost& host) {
      if (entry.at("step").get<size_t>() >= choice.hidden_steps) {
        printer.PrintStep(step, entry, host);
        status = std::max(status, StepExitStatus(entry));
      }
      PrintCommitNotices(host, out);
    };
    bool outcome_unknown = false;
    run.on_finish = [&](emu::EmulatedHost& host) {
      outcome_unknown = host.GetStore().Db().OutcomeUnknown();
    };
    run.runs_step = choice.runs_step;
    run.one_transaction = choice.one_transaction;
    RunScenario(scenario, run);
    // A commit whose outcome is unknown may have stored what the steps
    // wrote, even when an add-in call caught the failure.
    return outcome_unknown ? kExitOutcomeUnknown : status;
  } catch (const std::exception& e) {
    return ReportFailure(command, e, out, err);
  }
}

int ReportFailure(const std::string& command, const std::exception& error, std::ostream& out,
                  std::ostream& err) {
  out.flush();
  const std::string prefix = "vtx " + command + ": ";
  const std::string message = error.what();
  err << (message.rfind(prefix, 0) == 0 ? "" : prefix) << message << "\n";
  return CommandExitStatus(error);
}

Json CallStepJson(const std::string& operation, Json args) {
  std::string call =
      operation.find('.') == std::string::npos ? "Application." + operation : operation;
  return Json{{"call", std::move(call)}, {"args", std::move(args)}};
}

}  // namespace vtx::cli
