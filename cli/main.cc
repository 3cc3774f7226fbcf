// The vtx command: demo, hooks and the scenario runner of the emulated host.
#include <CLI/CLI.hpp>
#include <algorithm>
#include <csignal>
#include <functional>
#include <iostream>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "cli/check_model_command.h"
#include "cli/checkpoint_command.h"
#include "cli/db_commands.h"
#include "cli/demo_command.h"
#include "cli/exit_status.h"
#include "cli/export_command.h"
#include "cli/password_masking_stream.h"
#include "cli/run_command.h"
#include "cli/scenario/demo_model.h"
#include "cli/settings_commands.h"
#include "cli/verify_command.h"
#include "cli/version.h"
#include "runtime/text.h"

namespace {

using namespace vtx::cli;

constexpr const char* kExitStatusHelp =
    "Exit status:\n"
    "  0  the operation succeeded (vtx run: the scenario ran)\n"
    "  1  the add-in reported failure (a status other than 0, False, a run-time error)\n"
    "     or the host failed (disk full, database locked past the timeout, read-only);\n"
    "     vtx run: anything but invalid input, including a transcript not written;\n"
    "     vtx check-model: the model lacks something;\n"
    "     vtx verify: something does not hold (0: consistent, and holds against every anchor)\n"
    "  2  the invocation is wrong: bad arguments, unknown object, class or user,\n"
    "     missing or foreign database, invalid scenario or model\n"
    "  3  outcome unknown: the connection to a PostgreSQL server broke while it\n"
    "     committed, and the server could not be asked whether it did; look before\n"
    "     retrying";

// An empty text where a name, a file or a login is expected is a slip of the
// caller (an unset shell variable), never a request for the default.
const CLI::Validator kNotEmpty(
    [](const std::string& value) { return value.empty() ? std::string("must not be empty") : ""; },
    "", "not empty");

// Everything the command line can set; each subcommand reads its own part.
struct Options {
  std::string scenario_file;  // vtx run SCENARIO, vtx check-model MODEL
  std::string out_file;
  std::string run_db;
  bool fault_loop = false;
  int64_t sample = 0;
  std::string demo_db;
  bool print_model = false;
  DatabaseOptions db;
  bool empty = false;
  std::string operation, class_name, key;
  std::vector<std::string> set_values;
  std::vector<std::string> keys;
  std::string settings_action;
  std::vector<std::string> settings_args;
  std::optional<std::string> long_text;
  int32_t user_id = 0;
  std::string check_db;
  std::vector<std::string> managed;
  VerifyRequest verify;
  std::string checkpoint_out, checkpoint_key;
  std::string export_format = "csv";
  std::vector<std::string> export_object;
};

// A subcommand and what it does when it is the one chosen.
struct Command {
  CLI::App* app;
  std::function<int()> run;
};

void AddDatabaseOptions(CLI::App* command, DatabaseOptions& options) {
  command->add_option("--db", options.database, "Database: an SQLite file or a postgresql:// URI")
      ->required()
      ->check(kNotEmpty);
  command
      ->add_option("--model", options.model_file,
                   "Model the database was created with (default: the demo model)")
      ->check(kNotEmpty);
  command
      ->add_option("--user", options.user,
                   "LOGIN of the current user (default: this machine's logon name)")
      ->check(kNotEmpty);
}

// CLASS and KEY of the one object a command acts on, and the database.
void AddObjectOptions(CLI::App* command, Options& o) {
  command->add_option("CLASS", o.class_name, "Class name")->required()->check(kNotEmpty);
  command->add_option("KEY", o.key, "Key text of the object, or #ID")->required()->check(kNotEmpty);
  AddDatabaseOptions(command, o.db);
}

void AddScenarioCommands(CLI::App& app, Options& o, std::vector<Command>& commands) {
  CLI::App* run = app.add_subcommand("run", "Run a scenario and write its transcript");
  run->add_option("SCENARIO", o.scenario_file, "Scenario file (JSON)")->required();
  run->add_option("--out", o.out_file, "Transcript file (default: standard output)");
  run->add_option("--db", o.run_db,
                  "Database for the run: an SQLite file or a postgresql:// URI (default: in "
                  "memory)")
      ->check(kNotEmpty);
  run->add_flag("--fault-loop", o.fault_loop,
                "Fail each host call of each step in turn and check the outcome");
  run->add_option("--sample", o.sample, "--fault-loop: at most N fault positions per step")
      ->check(CLI::Range(int64_t{1}, std::numeric_limits<int64_t>::max()));
  commands.push_back({run, [&o] {
                        if (o.fault_loop)
                          return FaultLoopCommand(o.scenario_file, o.sample, std::cout, std::cerr);
                        return RunCommand(o.scenario_file, o.out_file, std::cout, std::cerr,
                                          o.run_db);
                      }});

  CLI::App* demo = app.add_subcommand("demo", "Play a working session and print it step by step");
  demo->add_option(
          "--db", o.demo_db,
          "Database to create or reuse: a file or a postgresql:// URI (default: in memory)")
      ->check(kNotEmpty);
  demo->add_flag("--print-model", o.print_model,
                 "Print the demo model (what scenarios name \"builtin:demo\") and stop");
  commands.push_back({demo, [&o] {
                        if (!o.print_model) return DemoCommand(o.demo_db, std::cout, std::cerr);
                        std::cout << DemoModelJson() << "\n";
                        return kExitOk;
                      }});
}

void AddObjectCommands(CLI::App& app, Options& o, std::vector<Command>& commands) {
  CLI::App* init = app.add_subcommand("init", "Create a database with a model (and demo data)");
  init->add_option("--db", o.db.database, "Database: an SQLite file or a postgresql:// URI")
      ->required()
      ->check(kNotEmpty);
  init->add_option("--model", o.db.model_file, "Model file (default: the demo model and its data)")
      ->check(kNotEmpty);
  init->add_flag("--empty", o.empty, "Store no demo data");
  commands.push_back({init, [&o] { return InitCommand(o.db, o.empty, std::cout, std::cerr); }});

  CLI::App* hook = app.add_subcommand(
      "hook",
      "Write the electronic record of an operation; UPDATE saves the object, stores the --set "
      "values and records the change, DELETE records the object and then deletes it");
  hook->add_option("OPERATION", o.operation, "Operation name (CHECKIN, NEWRELEASE, UPDATE, ...)")
      ->required();
  AddObjectOptions(hook, o);
  hook->add_option("--set", o.set_values, "UPDATE: ATTR=VALUE, an attribute's new value")
      ->allow_extra_args(false)
      ->check(kNotEmpty);
  commands.push_back({hook, [&o] {
                        return HookCommand(o.db, o.operation, o.class_name, o.key, o.set_values,
                                           std::cout, std::cerr);
                      }});

  CLI::App* history = app.add_subcommand("history", "Show the history of an object");
  AddObjectOptions(history, o);
  commands.push_back(
      {history, [&o] { return HistoryCommand(o.db, o.class_name, o.key, std::cout, std::cerr); }});

  CLI::App* report = app.add_subcommand("report", "Write the history report of objects");
  report->add_option("CLASS", o.class_name, "Class name")->required()->check(kNotEmpty);
  report->add_option("KEY", o.keys, "Key texts of the objects, or #ID")
      ->required()
      ->check(kNotEmpty);
  AddDatabaseOptions(report, o.db);
  commands.push_back(
      {report, [&o] { return ReportCommand(o.db, o.class_name, o.keys, std::cout, std::cerr); }});

  CLI::App* delete_history =
      app.add_subcommand("delete-history", "Delete the history objects of an object");
  AddObjectOptions(delete_history, o);
  commands.push_back(
      {delete_history,
       [&o] { return DeleteHistoryCommand(o.db, o.class_name, o.key, std::cout, std::cerr); }});
}

void AddSettingsCommand(CLI::App& app, Options& o, std::vector<Command>& commands) {
  CLI::App* settings = app.add_subcommand(
      "settings",
      "Read and write settings: get SECTION SUBJECT | set SECTION SUBJECT VALUE... | long "
      "SECTION SUBJECT [--text TEXT] | section SECTION | doubles | outside-tree [FOLDER] | "
      "template SECTION");
  settings->add_option("ACTION", o.settings_action, "What to do")
      ->required()
      ->check(CLI::IsMember(SettingsActions()));
  settings->add_option("ARGS", o.settings_args, "Section, subject, values or folder");
  settings->add_option("--user-id", o.user_id,
                       "User id of a user setting (default: the administrator setting)");
  settings->add_option("--text", o.long_text, "long: the long text to store");
  AddDatabaseOptions(settings, o.db);
  commands.push_back({settings, [&o] {
                        try {
                          SettingsRequest request =
                              MakeSettingsRequest(o.settings_action, o.settings_args);
                          request.user_id = o.user_id;
                          request.long_text = o.long_text;
                          return SettingsCommand(o.db, request, std::cout, std::cerr);
                        } catch (const std::invalid_argument& e) {
                          std::cerr << e.what() << "\n";
                          return kExitUsage;
                        }
                      }});
}

void AddAuditCommands(CLI::App& app, Options& o, std::vector<Command>& commands) {
  CLI::App* check_model =
      app.add_subcommand("check-model", "Report what VTX_HA needs and a data model lacks");
  check_model->add_option("MODEL", o.scenario_file, "Model file (JSON, the scenario model form)")
      ->check(kNotEmpty);
  check_model->add_option("--db", o.check_db, "Check the model of this database instead")
      ->check(kNotEmpty);
  check_model->add_option("--managed", o.managed, "Class whose operations are hooked (repeatable)");
  commands.push_back({check_model, [&o] {
                        return CheckModelCommand(o.scenario_file, o.check_db, o.managed, std::cout,
                                                 std::cerr);
                      }});

  CLI::App* verify = app.add_subcommand(
      "verify",
      "Check the ledger of electronic records against the stored records and links, and against "
      "anchors kept outside the database (exit 0 consistent, 1 something does not hold, 2 bad "
      "invocation)");
  verify->add_option("--db", o.verify.database, "Database: an SQLite file or a postgresql:// URI")
      ->required()
      ->check(kNotEmpty);
  verify
      ->add_option("--against", o.verify.against,
                   "Anchor the chain must still reach: SEQ:HASH, a file of checkpoint lines, or "
                   "a report file of vtx report (HTML or CSV); repeatable")
      ->check(kNotEmpty);
  verify
      ->add_option("--since", o.verify.since,
                   "Check only what came after this anchor (the latest line of a checkpoint "
                   "file)")
      ->check(kNotEmpty);
  verify
      ->add_option("--pubkey", o.verify.pubkey,
                   "Ed25519 public key (PEM) every checkpoint line must be signed with")
      ->check(kNotEmpty);
  commands.push_back({verify, [&o] { return VerifyCommand(o.verify, std::cout, std::cerr); }});

  CLI::App* checkpoint = app.add_subcommand(
      "checkpoint", "Write the ledger's head, the time and the database's id as one line");
  checkpoint->add_option("--db", o.db.database, "Database: an SQLite file or a postgresql:// URI")
      ->required()
      ->check(kNotEmpty);
  checkpoint
      ->add_option("--out", o.checkpoint_out,
                   "File to append the line to (default: standard output)")
      ->check(kNotEmpty);
  checkpoint
      ->add_option("--sign", o.checkpoint_key,
                   "Ed25519 private key (PEM) of whoever keeps the checkpoints")
      ->check(kNotEmpty);
  commands.push_back({checkpoint, [&o] {
                        return CheckpointCommand(o.db.database, o.checkpoint_out, o.checkpoint_key,
                                                 std::cout, std::cerr);
                      }});

  CLI::App* export_trail = app.add_subcommand("export", "Write the audit trail with its hashes");
  export_trail->add_option("--db", o.db.database, "Database: an SQLite file or a postgresql:// URI")
      ->required()
      ->check(kNotEmpty);
  export_trail->add_option("--format", o.export_format, "csv or json")
      ->check(CLI::IsMember({"csv", "json"}));
  export_trail->add_option("--object", o.export_object, "CLASS KEY: one object's trail")
      ->expected(2);
  commands.push_back({export_trail, [&o] {
                        std::optional<std::pair<std::string, std::string>> object;
                        if (o.export_object.size() == 2)
                          object.emplace(o.export_object[0], o.export_object[1]);
                        return ExportCommand(o.db.database, o.export_format, object, std::cout,
                                             std::cerr);
                      }});
}

// Standard error through the password mask for the life of main.
class MaskedStandardError {
 public:
  MaskedStandardError() : masking_(std::cerr.rdbuf()), original_(std::cerr.rdbuf(&masking_)) {}
  ~MaskedStandardError() {
    std::cerr.flush();
    std::cerr.rdbuf(original_);
  }
  MaskedStandardError(const MaskedStandardError&) = delete;
  MaskedStandardError& operator=(const MaskedStandardError&) = delete;

 private:
  PasswordMaskingBuffer masking_;
  std::streambuf* original_;
};

// Arguments become texts of the host, which are Unicode: bytes that are no
// UTF-8 would be stored as something else than what was typed.
bool ArgumentsAreUtf8(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    if (!vtx::text::IsValidUtf8(argv[i])) {
      std::cerr << "vtx: argument " << i << " is not valid UTF-8\n";
      return false;
    }
  }
  return true;
}

// What vtx printed is its answer: output lost (a full disk) is a failure.
int Answered(int status) {
  std::cout.flush();
  if (!std::cout && status == kExitOk) {
    std::cerr << "vtx: cannot write to standard output\n";
    return kExitFailed;
  }
  return status;
}

}  // namespace

int main(int argc, char** argv) {
  // A reader that goes away (`vtx history ... | head`) makes output fail and
  // the status say so, instead of ending vtx on a signal mid-command.
  std::signal(SIGPIPE, SIG_IGN);
  MaskedStandardError masked;
  if (!ArgumentsAreUtf8(argc, argv)) return kExitUsage;
  CLI::App app{"vtx: drive the add-in against the emulated Korvel host"};
  app.footer(kExitStatusHelp);
  app.set_version_flag("--version", std::string(VersionText()));
  app.require_subcommand(0, 1);

  Options options;
  std::vector<Command> commands;
  AddScenarioCommands(app, options, commands);
  AddObjectCommands(app, options, commands);
  AddSettingsCommand(app, options, commands);
  AddAuditCommands(app, options, commands);

  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    // --help and --version print their text here.
    return Answered(app.exit(e) == 0 ? kExitOk : kExitUsage);
  }
  int status = kExitOk;
  auto chosen = std::find_if(commands.begin(), commands.end(),
                             [](const Command& c) { return c.app->parsed(); });
  if (chosen != commands.end()) {
    status = chosen->run();
  } else {
    std::cout << app.help();
  }
  return Answered(status);
}
