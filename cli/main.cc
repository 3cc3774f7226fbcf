// The vtx command: demo, hooks and the scenario runner of the emulated host.
#include <CLI/CLI.hpp>
#include <string>

#include "cli/version.h"

int main(int argc, char** argv) {
  CLI::App app{"vtx: drive the add-in against the emulated host"};
  app.set_version_flag("--version", std::string(vtx::cli::VersionText()));
  app.require_subcommand(0, 1);
  CLI11_PARSE(app, argc, argv);
  return 0;
}
