// The vtx command: demo, hooks and the scenario runner of the emulated host.
#include <CLI/CLI.hpp>
#include <csignal>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "cli/check_model_command.h"
#include "cli/db_commands.h"
#include "cli/demo_command.h"
#include "cli/demo_model.h"
#include "cli/exit_status.h"
#include "cli/export_command.h"
#include "cli/run_command.h"
#include "cli/settings_commands.h"
#include "cli/verify_command.h"
#include "cli/version.h"

namespace {

void AddDatabaseOptions(CLI::App* command, vtx::cli::DatabaseOptions& options) {
  command->add_option("--db", options.database, "SQLite database file")->required();
  command->add_option("--model", options.model_file,
                      "Model the database was created with (default: the demo model)");
  command->add_option("--user", options.user,
                      "LOGIN of the current user (default: this machine's logon name)");
}

}  // namespace

int main(int argc, char** argv) {
  // A reader that goes away (`vtx history ... | head`) makes output fail and
  // the status say so, instead of ending vtx on a signal mid-command.
  std::signal(SIGPIPE, SIG_IGN);
  CLI::App app{"vtx: drive the add-in against the emulated Korvel host"};
  app.footer(
      "Exit status:\n"
      "  0  the operation succeeded (vtx run: the scenario ran)\n"
      "  1  the add-in reported failure (a status other than 0, False, a run-time error)\n"
      "     or the host failed (disk full, database locked past the timeout, read-only);\n"
      "     vtx run: anything but invalid input, including a transcript not written;\n"
      "     vtx check-model: the model lacks something\n"
      "  2  the invocation is wrong: bad arguments, unknown object, class or user,\n"
      "     missing or foreign database, invalid scenario or model");
  app.set_version_flag("--version", std::string(vtx::cli::VersionText()));
  app.require_subcommand(0, 1);

  std::string scenario_file;
  std::string out_file;
  CLI::App* run = app.add_subcommand("run", "Run a scenario and write its transcript");
  run->add_option("SCENARIO", scenario_file, "Scenario file (JSON)")->required();
  run->add_option("--out", out_file, "Transcript file (default: standard output)");
  bool fault_loop = false;
  int64_t sample = 0;
  run->add_flag("--fault-loop", fault_loop,
                "Fail each host call of each step in turn and check the outcome");
  run->add_option("--sample", sample, "--fault-loop: at most N fault positions per step");

  std::string demo_db;
  CLI::App* demo = app.add_subcommand("demo", "Play a working session and print it step by step");
  demo->add_option("--db", demo_db, "SQLite database to create or reuse (default: in memory)");
  bool print_model = false;
  demo->add_flag("--print-model", print_model,
                 "Print the demo model (what scenarios name \"builtin:demo\") and stop");

  vtx::cli::DatabaseOptions db;
  bool empty = false;
  CLI::App* init = app.add_subcommand("init", "Create a database with a model (and demo data)");
  init->add_option("--db", db.database, "SQLite database file")->required();
  init->add_option("--model", db.model_file, "Model file (default: the demo model and its data)");
  init->add_flag("--empty", empty, "Store no demo data");

  std::string operation, class_name, key;
  std::vector<std::string> keys;
  CLI::App* hook = app.add_subcommand("hook", "Write the electronic record of an operation");
  hook->add_option("OPERATION", operation, "Operation name (CHECKIN, NEWRELEASE, ...)")->required();
  hook->add_option("CLASS", class_name, "Class name")->required();
  hook->add_option("KEY", key, "Key text of the object, or #ID")->required();
  AddDatabaseOptions(hook, db);

  CLI::App* history = app.add_subcommand("history", "Show the history of an object");
  history->add_option("CLASS", class_name, "Class name")->required();
  history->add_option("KEY", key, "Key text of the object, or #ID")->required();
  AddDatabaseOptions(history, db);

  CLI::App* report = app.add_subcommand("report", "Write the history report of objects");
  report->add_option("CLASS", class_name, "Class name")->required();
  report->add_option("KEY", keys, "Key texts of the objects, or #ID")->required();
  AddDatabaseOptions(report, db);

  CLI::App* delete_history =
      app.add_subcommand("delete-history", "Delete the history objects of an object");
  delete_history->add_option("CLASS", class_name, "Class name")->required();
  delete_history->add_option("KEY", key, "Key text of the object, or #ID")->required();
  AddDatabaseOptions(delete_history, db);

  std::string settings_action;
  std::vector<std::string> settings_args;
  std::optional<std::string> long_text;
  int32_t user_id = 0;
  CLI::App* settings = app.add_subcommand(
      "settings",
      "Read and write settings: get SECTION SUBJECT | set SECTION SUBJECT VALUE... | long "
      "SECTION SUBJECT [--text TEXT] | section SECTION | doubles | outside-tree [FOLDER] | "
      "template SECTION");
  settings->add_option("ACTION", settings_action, "What to do")
      ->required()
      ->check(CLI::IsMember(vtx::cli::SettingsActions()));
  settings->add_option("ARGS", settings_args, "Section, subject, values or folder");
  settings->add_option("--user-id", user_id,
                       "User id of a user setting (default: the administrator setting)");
  settings->add_option("--text", long_text, "long: the long text to store");
  AddDatabaseOptions(settings, db);

  std::string check_db;
  std::vector<std::string> managed;
  CLI::App* check_model =
      app.add_subcommand("check-model", "Report what VTX_HA needs and a data model lacks");
  check_model->add_option("MODEL", scenario_file, "Model file (JSON, the scenario model form)");
  check_model->add_option("--db", check_db, "Check the model of this database instead");
  check_model->add_option("--managed", managed, "Class whose operations are hooked (repeatable)");

  CLI::App* verify = app.add_subcommand("verify", "Check the ledger of electronic records");
  verify->add_option("--db", db.database, "SQLite database file")->required();
  std::string export_format = "csv";
  std::vector<std::string> export_object;
  CLI::App* export_trail = app.add_subcommand("export", "Write the audit trail with its hashes");
  export_trail->add_option("--db", db.database, "SQLite database file")->required();
  export_trail->add_option("--format", export_format, "csv or json")
      ->check(CLI::IsMember({"csv", "json"}));
  export_trail->add_option("--object", export_object, "CLASS KEY: one object's trail")->expected(2);

  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    return app.exit(e) == 0 ? vtx::cli::kExitOk : vtx::cli::kExitUsage;
  }
  using namespace vtx::cli;
  auto dispatch = [&]() -> int {
    if (*check_model)
      return CheckModelCommand(scenario_file, check_db, managed, std::cout, std::cerr);
    if (*run && fault_loop) return FaultLoopCommand(scenario_file, sample, std::cout, std::cerr);
    if (*run) return RunCommand(scenario_file, out_file, std::cout, std::cerr);
    if (*demo && print_model) {
      std::cout << DemoModelJson() << "\n";
      return kExitOk;
    }
    if (*demo) return DemoCommand(demo_db, std::cout, std::cerr);
    if (*init) return InitCommand(db, empty, std::cout, std::cerr);
    if (*hook) return HookCommand(db, operation, class_name, key, std::cout, std::cerr);
    if (*history) return HistoryCommand(db, class_name, key, std::cout, std::cerr);
    if (*report) return ReportCommand(db, class_name, keys, std::cout, std::cerr);
    if (*delete_history) return DeleteHistoryCommand(db, class_name, key, std::cout, std::cerr);
    if (*verify) return VerifyCommand(db.database, std::cout, std::cerr);
    if (*export_trail) {
      std::optional<std::pair<std::string, std::string>> object;
      if (export_object.size() == 2) object.emplace(export_object[0], export_object[1]);
      return ExportCommand(db.database, export_format, object, std::cout, std::cerr);
    }
    if (*settings) {
      try {
        SettingsRequest request = MakeSettingsRequest(settings_action, settings_args);
        request.user_id = user_id;
        request.long_text = long_text;
        return SettingsCommand(db, request, std::cout, std::cerr);
      } catch (const std::invalid_argument& e) {
        std::cerr << e.what() << "\n";
        return kExitUsage;
      }
    }
    std::cout << app.help();
    return kExitOk;
  };
  int status = dispatch();
  // What a command printed is its answer: output lost (a full disk) is a failure.
  std::cout.flush();
  if (!std::cout && status == kExitOk) {
    std::cerr << "vtx: cannot write to standard output\n";
    status = kExitFailed;
  }
  return status;
}
