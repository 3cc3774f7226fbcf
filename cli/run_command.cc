#include "cli/run_command.h"

#include <fstream>
#include <iostream>

#include "cli/run_error.h"
#include "cli/scenario_parser.h"
#include "cli/scenario_runner.h"
#include "runtime/runtime_error.h"

namespace vtx::cli {

int RunCommand(const std::string& scenario_file, const std::string& out_file, std::ostream& out,
               std::ostream& err) {
  try {
    Scenario scenario = LoadScenarioFile(scenario_file);
    std::string transcript = FormatTranscript(RunScenario(scenario));
    if (out_file.empty()) {
      out << transcript;
      out.flush();
      return kExitRan;
    }
    std::ofstream file(out_file, std::ios::binary | std::ios::trunc);
    file << transcript;
    file.close();
    if (!file) {
      err << out_file << ": cannot write the transcript\n";
      return kExitFailed;
    }
    return kExitRan;
  } catch (const InvalidFileError& e) {
    err << e.what() << "\n";
    return kExitInvalidFile;
  } catch (const RunError& e) {
    err << e.what() << "\n";
    return kExitFailed;
  } catch (const RuntimeError& e) {
    err << scenario_file << ": run-time error " << e.Number() << ": " << e.Description() << "\n";
    return kExitFailed;
  } catch (const std::exception& e) {
    err << scenario_file << ": " << e.what() << "\n";
    return kExitFailed;
  }
}

}  // namespace vtx::cli
