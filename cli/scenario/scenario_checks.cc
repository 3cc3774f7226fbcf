#include "cli/scenario/scenario_checks.h"

#include <set>

#include <fmt/format.h>

#include "cli/scenario/argument_binder.h"

namespace vtx::cli {
namespace {

class Checker {
 public:
  explicit Checker(const emu::Model& model) : model_(model) {}

  // Labels name objects from the seed or step that creates them on.
  void DefineLabel(const std::string& label, const std::string& path) {
    if (label.empty()) return;
    if (!labels_.insert(label).second) throw JsonPathError(path, "label already given");
  }

  void ClassName(const std::string& name, const std::string& path) const {
    if (!model_.ByName(name)) throw JsonPathError(path, fmt::format("unknown class \"{}\"", name));
  }

  void Ref(const WrittenRef& ref) const {
    if (ref.label) {
      if (!labels_.contains(*ref.label))
        throw JsonPathError(JoinKey(ref.path, "label"),
                            fmt::format("no earlier seed or step is labelled \"{}\"", *ref.label));
      return;
    }
    ClassName(ref.class_name, JoinKey(ref.path, "class"));
  }

  void Value(const WrittenValue& value) const {
    for (const auto& ref : value.objects) Ref(ref);
    if (value.kind == WrittenValue::Kind::kClass)
      ClassName(value.text, JoinKey(value.path, "class"));
    for (const auto& e : value.elements) Value(e);
    for (const auto& row : value.rows) {
      for (const auto& cell : row) {
        if (cell) Value(*cell);
      }
    }
  }

  void Values(const std::vector<std::pair<std::string, WrittenValue>>& values) const {
    for (const auto& [_, v] : values) Value(v);
  }

  void Environment(const WrittenEnvironment& env) const {
    if (env.user && *env.user) Ref(**env.user);
    if (env.configuration) Values(*env.configuration);
  }

 private:
  const emu::Model& model_;
  std::set<std::string> labels_;
};

void CheckStep(Checker& check, const ScenarioStep& step) {
  if (step.call) {
    ResolveCall(*step.call, step.path);
    for (const auto& [_, v] : step.call->args) check.Value(v);
    return;
  }
  const HostStep& host = *step.host;
  if (host.object) check.Ref(*host.object);
  if (host.from) check.Ref(*host.from);
  if (host.to) check.Ref(*host.to);
  if (!host.class_name.empty()) check.ClassName(host.class_name, JoinKey(step.path, "class"));
  check.Values(host.values);
  if (host.value) check.Value(*host.value);
  check.Environment(host.environment);
  check.DefineLabel(host.label, JoinKey(step.path, "label"));
}

}  // namespace

void CheckScenario(const Scenario& scenario, const emu::Model& model) {
  Checker check(model);
  try {
    for (const auto& seed : scenario.objects) {
      check.ClassName(seed.class_name, JoinKey(seed.path, "class"));
      check.Values(seed.values);
      check.DefineLabel(seed.label, JoinKey(seed.path, "label"));
    }
    check.Environment(scenario.environment);
    for (const auto& answer : scenario.answers.integration_editor) check.Values(answer.values);
    for (const auto& view : scenario.answers.modal_views) {
      if (view) check.Ref(*view);
    }
    for (const auto& step : scenario.steps) CheckStep(check, step);
    for (size_t i = 0; i < scenario.dump.size(); ++i) {
      check.ClassName(scenario.dump[i], JoinIndex("dump", i));
    }
  } catch (const JsonPathError& e) {
    throw InvalidFileError(scenario.file, e.Path(), e.Message());
  }
}

}  // namespace vtx::cli
