// vtx.exe: `vtx run` on Windows, with the add-in reached through COM as the
// registered VTX_HA.dll (com_addin_binding.h). The native vtx's other
// commands are not offered here.
#include "com/windows_api.h"

#include <fcntl.h>
#include <io.h>
#include <shellapi.h>
#include <CLI/CLI.hpp>

#include <algorithm>
#include <cstdio>
#include <iostream>
#include <limits>
#include <string>
#include <vector>

#include "cli/com/com_addin_binding.h"
#include "cli/exit_status.h"
#include "cli/run_command.h"
#include "cli/version.h"
#include "runtime/text.h"

namespace {

using namespace vtx::cli;

// The command line as UTF-8, whatever the system's code page.
std::vector<std::string> Arguments() {
  int count = 0;
  wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
  std::vector<std::string> args;
  for (int i = 0; i < count; ++i)
    args.push_back(vtx::text::ToUtf8(std::u16string(wide[i], wide[i] + wcslen(wide[i]))));
  LocalFree(wide);
  return args;
}

// COM for this thread, apartment-threaded as Korvel's user interface thread.
class ComApartment {
 public:
  ComApartment() : result_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
  ~ComApartment() {
    if (SUCCEEDED(result_)) CoUninitialize();
  }
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;
  bool Ok() const { return SUCCEEDED(result_); }

 private:
  HRESULT result_;
};

}  // namespace

int main() {
  // A transcript is the same bytes on every system: no "\r\n" on output.
  _setmode(_fileno(stdout), _O_BINARY);
  std::vector<std::string> args = Arguments();
  std::reverse(args.begin(), args.end());
  args.pop_back();  // the program itself, as CLI11 takes the arguments reversed

  CLI::App app{"vtx: drive the registered VTX_HA.dll against the emulated Korvel host"};
  app.set_version_flag("--version", std::string(VersionText()));
  app.require_subcommand(1, 1);
  std::string scenario_file, out_file, database;
  bool fault_loop = false;
  int64_t sample = 0;
  CLI::App* run = app.add_subcommand("run", "Run a scenario and write its transcript");
  run->add_option("SCENARIO", scenario_file, "Scenario file (JSON)")->required();
  run->add_option("--out", out_file, "Transcript file (default: standard output)");
  run->add_option("--db", database, "Database for the run: an SQLite file (default: in memory)");
  run->add_flag("--fault-loop", fault_loop,
                "Fail each host call of each step in turn and check the outcome");
  run->add_option("--sample", sample, "--fault-loop: at most N fault positions per step")
      ->check(CLI::Range(int64_t{1}, std::numeric_limits<int64_t>::max()));
  try {
    app.parse(args);
  } catch (const CLI::ParseError& e) {
    return app.exit(e) == 0 ? kExitOk : kExitUsage;
  }

  ComApartment apartment;
  if (!apartment.Ok()) {
    std::cerr << "vtx: COM cannot be initialised\n";
    return kExitFailed;
  }
  int status = kExitOk;
  {
    ComAddinBinding binding;
    status = fault_loop
                 ? FaultLoopCommand(scenario_file, sample, std::cout, std::cerr, &binding)
                 : RunCommand(scenario_file, out_file, std::cout, std::cerr, database, &binding);
  }
  std::cout.flush();
  if (!std::cout && status == kExitOk) {
    std::cerr << "vtx: cannot write to standard output\n";
    return kExitFailed;
  }
  return status;
}
