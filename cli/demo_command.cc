#include "cli/demo_command.h"

#include <filesystem>
#include <iostream>

#include "cli/demo_session.h"
#include "cli/exit_status.h"
#include "cli/scenario/run_error.h"
#include "cli/scenario/scenario_parser.h"
#include "cli/scenario/scenario_runner.h"
#include "cli/session_printer.h"
#include "cli/terminal_presenter.h"
#include "cli/verify_command.h"
#include "emulator/sql/database.h"
#include "emulator/sql/database_location.h"
#include "platform/utf8_path.h"

namespace vtx::cli {
namespace {

constexpr const char* kSessionName = "demo session";
constexpr const char* kAuditClass = "Part";
constexpr const char* kAuditKey = "PN-00100 A";

}  // namespace

int DemoCommand(const std::string& database, std::ostream& out, std::ostream& err) {
  try {
    Scenario scenario = ParseScenario(Json::parse(DemoSessionJson()), kSessionName, "");
    const emu::DatabaseLocation db(database);
    bool reused =
        !db.IsMemory() && !db.IsPostgresql() && std::filesystem::exists(PathFromUtf8(db.Text()));

    TerminalPresenter presenter(std::cin, out);
    SessionPrinter printer(out, presenter);
    RunOptions options;
    options.database = db;
    options.default_clock.reset();  // a demo lives in real time
    options.keep_existing_seeds = true;
    if (db.IsMemory() || db.IsPostgresql()) {
      options.report_folder = std::filesystem::temp_directory_path() / "vtx_demo_reports";
    }
    options.on_step = [&](const ScenarioStep& step, const Json& entry, emu::EmulatedHost& host) {
      printer.PrintStep(step, entry, host);
      for (const std::string& notice : host.GetStore().Db().TakeNotices())
        out << "  " << notice << "\n";
    };
    int verified = 1;
    options.on_finish = [&](emu::EmulatedHost& host) {
      if (auto part = host.GetStore().FindByKey(kAuditClass, kAuditKey)) {
        printer.PrintAuditTrail(host, *part);
      }
      emu::Store& store = host.GetStore();
      out << "\nvtx verify: the ledger against the stored records\n";
      verified =
          PrintLedgerCheck(emu::VerifyLedger(store.Db(), store.GetModel(), store.Objects()), out);
    };

    out << "VTX_HA demo: a working session on the emulated Korvel host\n"
        << "Database: " << (db.IsMemory() ? "in memory" : db.Shown())
        << (reused          ? " (reused)"
            : db.IsMemory() ? ""
                            : " (new)")
        << "\n";
    RunScenario(scenario, options);
    out << "\n";
    if (printer.ReportFiles().empty()) {
      out << "No report was written.\n";
    } else {
      for (const auto& file : printer.ReportFiles()) out << "Report file: " << file << "\n";
    }
    return verified;
  } catch (const std::exception& e) {
    out.flush();
    err << "vtx demo: " << e.what() << "\n";
    return CommandExitStatus(e);
  }
}

}  // namespace vtx::cli
