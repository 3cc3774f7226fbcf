// The vtx command: demo, hooks and the scenario runner of the emulated host.
#include <CLI/CLI.hpp>
#include <iostream>
#include <string>

#include "cli/run_command.h"
#include "cli/version.h"

int main(int argc, char** argv) {
  CLI::App app{"vtx: drive the add-in against the emulated Korvel host"};
  app.set_version_flag("--version", std::string(vtx::cli::VersionText()));
  app.require_subcommand(0, 1);

  std::string scenario_file;
  std::string out_file;
  CLI::App* run = app.add_subcommand("run", "Run a scenario and write its transcript");
  run->add_option("SCENARIO", scenario_file, "Scenario file (JSON)")->required();
  run->add_option("--out", out_file, "Transcript file (default: standard output)");

  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    return app.exit(e) == 0 ? 0 : 1;
  }
  if (*run) return vtx::cli::RunCommand(scenario_file, out_file, std::cout, std::cerr);
  std::cout << app.help();
  return 0;
}
