#include "cli/scenario/fault_loop.h"

#include <map>
#include <ostream>
#include <vector>

#include <fmt/format.h>

#include "cli/scenario/fault_verdict.h"
#include "cli/scenario/scenario_runner.h"
#include "cli/scenario/value_encoder.h"
#include "runtime/runtime_error.h"

namespace vtx::cli {
namespace {

// The store as the verdict compares it.
StoreState DumpAll(emu::EmulatedHost& host) {
  ValueEncoder encoder;
  StoreState out;
  for (const auto& def : host.GetStore().GetModel().classes) {
    if (def.super != def.id) continue;  // a family's dump holds its subclasses
    for (const auto& object : host.GetStore().Dump(def.name)) {
      Json values = Json::object();
      for (const auto& [name, value] : object.values) values[name] = encoder.Encode(value);
      const emu::ClassDef* own = host.GetStore().GetModel().ById(object.ref.class_id);
      const bool link =
          own && (own->kind == emu::kind::kComposition || own->kind == emu::kind::kRelation);
      out[fmt::format("{}{}:{}", link ? "link " : "", object.ref.class_id, object.ref.object_id)] =
          std::move(values);
    }
  }
  return out;
}

// Ends a faulted run after the step under test.
struct StopAfterStep {};

// Runs `scenario` and records the outcome of each step up to `last`.
std::vector<StepOutcome> Play(const Scenario& scenario, size_t last, AddinBinding* addin) {
  std::vector<StepOutcome> outcomes;
  StoreState current;
  RunOptions options;
  options.addin = addin;
  options.on_start = [&](emu::EmulatedHost& host) { current = DumpAll(host); };
  options.on_step = [&](const ScenarioStep&, const Json& entry, emu::EmulatedHost& host) {
    StepOutcome outcome{entry, std::move(current), DumpAll(host)};
    current = outcome.after;
    outcomes.push_back(std::move(outcome));
    if (outcomes.size() > last) throw StopAfterStep{};
  };
  try {
    RunScenario(scenario, options);
  } catch (const StopAfterStep&) {
  }
  return outcomes;
}

std::string StepName(const ScenarioStep& step, size_t index) {
  std::string name = step.name.empty() ? step.comment : step.name;
  return fmt::format("steps[{}] {}{}", index, step.call->class_name + "." + step.call->operation,
                     name.empty() ? "" : " (" + name + ")");
}

}  // namespace

std::vector<int64_t> FaultPositions(int64_t calls, int64_t sample) {
  std::vector<int64_t> out;
  if (sample <= 0 || calls <= sample) {
    for (int64_t n = 1; n <= calls; ++n) out.push_back(n);
    return out;
  }
  if (sample == 1) return {1};
  for (int64_t i = 0; i < sample; ++i) out.push_back(1 + i * (calls - 1) / (sample - 1));
  return out;
}

FaultLoopResult RunFaultLoop(const Scenario& scenario, const FaultLoopOptions& options,
                             std::ostream& out) {
  Scenario traced = scenario;
  traced.trace = true;
  const std::vector<StepOutcome> clean = Play(traced, scenario.steps.size(), options.addin);
  Scenario faulted = scenario;
  faulted.trace = false;

  FaultLoopResult result;
  std::map<std::string, int64_t> calls_before;  // per operation, over the steps so far
  for (size_t s = 0; s < clean.size(); ++s) {
    const ScenarioStep& step = scenario.steps[s];
    const Json trace = clean[s].entry.contains("trace") ? clean[s].entry["trace"] : Json::array();
    if (step.call && step.call->class_name != "clsElectronicRecord") {
      for (int64_t n : FaultPositions(static_cast<int64_t>(trace.size()), options.sample)) {
        const std::string op = trace[n - 1]["op"].get<std::string>();
        int64_t nth = calls_before[op];
        for (int64_t k = 0; k < n; ++k) nth += trace[k]["op"] == op ? 1 : 0;
        faulted.faults = scenario.faults;
        faulted.faults.push_back({op, nth, -2147467259, "Injected fault", false});
        ++result.pairs;
        std::string problem;
        try {
          const std::vector<StepOutcome> run = Play(faulted, s, options.addin);
          if (run.size() <= s) {
            problem = "the run ended before the step";
          } else {
            problem = FaultVerdict(step.call->class_name, run[s].entry, run[s].after, clean[s]);
          }
        } catch (const std::exception& e) {
          problem = std::string("the run broke: ") + e.what();
        }
        if (problem.empty()) continue;
        ++result.problems;
        out << scenario.file << ": " << StepName(step, s) << ": fault at call " << n << " (" << op
            << " #" << nth << "): " << problem << "\n";
      }
    }
    for (const auto& call : trace) ++calls_before[call["op"].get<std::string>()];
  }
  out << scenario.file << ": " << result.pairs << " (step, call) pairs, " << result.problems
      << " problems\n";
  return result;
}

}  // namespace vtx::cli
