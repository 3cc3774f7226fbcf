#include "cli/scenario/scenario_runner.h"

#include <map>
#include <optional>

#include <fmt/format.h>

#include "cli/scenario/argument_binder.h"
#include "cli/scenario/host_environment.h"
#include "cli/scenario/host_object_source.h"
#include "cli/scenario/json_format.h"
#include "cli/scenario/recordings_json.h"
#include "cli/scenario/run_error.h"
#include "cli/scenario/value_encoder.h"
#include "emulator/emulated_host.h"
#include "emulator/store/call_transaction.h"
#include "runtime/ole_date.h"

namespace vtx::cli {
namespace {

Json ErrorJson(const RuntimeError& e) {
  return Json{{"number", e.Number()}, {"description", e.Description()}};
}

emu::Values BuildValues(const std::vector<std::pair<std::string, WrittenValue>>& written_values,
                        ObjectSource& source) {
  emu::Values values;
  for (const auto& [name, written] : written_values)
    values.emplace_back(name, BuildValue(written, nullptr, source));
  return values;
}

class Run {
 public:
  Run(const Scenario& scenario, const RunOptions& options)
      : scenario_(scenario),
        options_(options),
        host_(options.database, nlohmann::json::parse(scenario.model.dump()),
              HostOptionsOf(options)),
        source_(host_),
        encoder_([this](const std::function<void()>& body) {
          emu::CallMonitor::Pause pause(host_.Monitor());
          body();
        }),
        class_name_([this](int16_t id) { return source_.ClassName(id); }) {}

  Json Execute() {
    ScopedPlatform platform(&host_.GetPlatform());
    {
      emu::CallMonitor::Pause pause(host_.Monitor());
      SetUpClock();  // seeds carry time stamps too
      Seed();
      SetUpEnvironment();
      SetUpAnswers();
      if (options_.on_start) options_.on_start(host_);
    }
    for (const auto& fault : scenario_.faults) {
      host_.Monitor().AddFault(emu::Fault{fault.operation, fault.call, fault.number,
                                          fault.description, fault.persistent});
    }
    host_.TakeRecordings();  // the setup's own work is nobody's step
    host_.Monitor().SetTracing(scenario_.trace);

    std::optional<emu::CallTransaction> whole;
    if (options_.one_transaction) whole.emplace(host_.GetStore(), true);
    Json steps = Json::array();
    for (size_t i = 0; i < scenario_.steps.size(); ++i) {
      if (options_.runs_step && !options_.runs_step(i, steps)) continue;
      const ScenarioStep& step = scenario_.steps[i];
      host_.GetStore().TakeStored();  // from here on: what this step stores
      Json entry = step.call ? CallStepEntry(i, *step.call) : HostStepEntry(i, *step.host);
      if (host_.AnswerWasMissing()) {
        throw RunError(
            fmt::format("{}: the scenario gives no (usable) answer for what the step "
                        "asked the user",
                        step.path));
      }
      if (options_.on_step) {
        emu::CallMonitor::Pause pause(host_.Monitor());
        options_.on_step(step, entry, host_);
      }
      steps.push_back(std::move(entry));
    }
    if (whole) whole->Commit();
    host_.Monitor().SetTracing(false);
    Json dump = Dump();
    if (options_.on_finish) {
      emu::CallMonitor::Pause pause(host_.Monitor());
      options_.on_finish(host_);
    }
    return Json{{"steps", std::move(steps)}, {"dump", std::move(dump)}};
  }

 private:
  static emu::HostOptions HostOptionsOf(const RunOptions& options) {
    emu::HostOptions host_options;
    host_options.report_folder = options.report_folder;
    host_options.open_mode = options.open_mode;
    return host_options;
  }

  // All seeds or none, in one transaction: a concurrent run seeding the same
  // file finds them all stored or stores them all.
  void Seed() {
    emu::Store& store = host_.GetStore();
    if (scenario_.objects.empty()) return;
    emu::Database::Transaction transaction(store.Db());
    for (const auto& seed : scenario_.objects) {
      if (options_.keep_existing_seeds && seed.id && store.Find(seed.class_name, *seed.id)) {
        LabelNew(seed.label, seed.class_name, *seed.id);
        continue;
      }
      try {
        int32_t id = store.Insert(seed.class_name, BuildValues(seed.values, source_), seed.id);
        LabelNew(seed.label, seed.class_name, id);
      } catch (const RuntimeError& e) {
        throw InvalidFileError(scenario_.file, seed.path, e.Description());
      }
    }
    transaction.Commit();
  }

  void LabelNew(const std::string& label, const std::string& class_name, int32_t id) {
    if (label.empty()) return;
    const emu::ClassDef* def = host_.GetStore().GetModel().ByName(class_name);
    source_.Label(label, emu::ObjectRef{def ? def->id : int16_t{0}, id});
  }

  void SetUpClock() {
    emu::Environment env = host_.GetEnvironment();
    if (options_.default_clock) env.clock = date::FromIso(*options_.default_clock);
    if (options_.base_environment.clock) env.clock = options_.base_environment.clock;
    if (scenario_.environment.clock) env.clock = scenario_.environment.clock;
    host_.SetEnvironment(std::move(env));
  }

  void SetUpEnvironment() {
    emu::Environment env = host_.GetEnvironment();
    ApplyEnvironment(options_.base_environment, source_, env);
    ApplyEnvironment(scenario_.environment, source_, env);
    host_.SetEnvironment(std::move(env));
  }

  void SetUpAnswers() {
    emu::HostAnswers answers;
    for (const auto& a : scenario_.answers.template_dialog) {
      DialogAction action;
      switch (a.kind) {
        case DialogAnswer::Kind::kLine:
          action.kind = DialogAction::Kind::kSelectAndOk;
          action.line = a.line;
          break;
        case DialogAnswer::Kind::kOk:
          action.kind = DialogAction::Kind::kOk;
          break;
        case DialogAnswer::Kind::kCancel:
          action.kind = DialogAction::Kind::kCancel;
          break;
      }
      answers.template_dialog.push_back(action);
    }
    for (const auto& a : scenario_.answers.integration_editor) {
      answers.integration_editor.push_back(
          emu::EditorAnswer{a.result, BuildValues(a.values, source_)});
    }
    for (const auto& a : scenario_.answers.modal_views) {
      if (a) {
        answers.modal_views.emplace_back(source_.ResolveKey(*a));
      } else {
        answers.modal_views.emplace_back(std::nullopt);
      }
    }
    host_.AddAnswers(answers);
  }

  AddinBinding& Binding() {
    static AddinBinding in_process;
    return options_.addin ? *options_.addin : in_process;
  }

  Ref<Dispatch> Instance(const AddinClass& add_in_class) {
    auto it = instances_.find(add_in_class.name);
    if (it != instances_.end()) return it->second;
    Ref<Dispatch> instance = Binding().Create(add_in_class);
    instances_.emplace(add_in_class.name, instance);
    return instance;
  }

  Json CallStepEntry(size_t index, const CallStep& call) {
    const ScenarioStep& step = scenario_.steps[index];
    CallTarget target = ResolveCall(call, step.path);
    std::vector<Variant> args;
    {
      emu::CallMonitor::Pause pause(host_.Monitor());
      try {
        args = BindArguments(call, *target.method, host_.Session(), source_);
      } catch (const RunError& e) {
        throw RunError(fmt::format("{}: {}", scenario_.file, e.what()), e.UnknownReference());
      }
    }
    Json entry = Json::object();
    entry["step"] = index;
    entry["call"] = call.class_name + "." + target.method->name;
    Json error = nullptr;
    Variant result;
    emu::CallTransaction transaction(host_.GetStore());
    try {
      Ref<Dispatch> instance = Instance(*target.add_in_class);
      result = Binding().Invoke(*target.add_in_class, *instance, *target.method, args);
      if (target.method->has_result) entry["result"] = encoder_.Encode(result);
    } catch (const RuntimeError& e) {
      error = ErrorJson(e);
    }
    transaction.Commit();
    Json out = Json::object();
    for (size_t i = 0; i < target.method->params.size(); ++i) {
      const ParamInfo& param = target.method->params[i];
      if (param.by_ref && !IsSessionParameter(param)) out[param.name] = encoder_.Encode(args[i]);
    }
    entry["out"] = std::move(out);
    entry["error"] = std::move(error);
    args.clear();
    result = Variant();
    AddRecordings(host_.TakeRecordings(), class_name_, encoder_, scenario_.trace, entry);
    return entry;
  }

  Json HostStepEntry(size_t index, const HostStep& host) {
    Json error = nullptr;
    {
      emu::CallMonitor::Pause pause(host_.Monitor());
      try {
        DoHostAction(host);
      } catch (const RuntimeError& e) {
        error = ErrorJson(e);
      }
    }
    host_.TakeRecordings();
    return Json{{"step", index}, {"host", host.action}, {"error", std::move(error)}};
  }

  emu::ObjectRef Stored(const WrittenRef& ref) {
    std::optional<emu::ObjectRef> found = source_.Resolve(ref);
    if (!found) Raise(err::kHostFailure, fmt::format("no stored object {}", DescribeRef(ref)));
    return *found;
  }

  void DoHostAction(const HostStep& host) {
    emu::Store& store = host_.GetStore();
    const std::string& a = host.action;
    if (a == "update") {
      store.Update(Stored(*host.object), BuildValues(host.values, source_));
    } else if (a == "insert") {
      LabelNew(host.label, host.class_name,
               store.Insert(host.class_name, BuildValues(host.values, source_), host.id));
    } else if (a == "delete") {
      store.Delete(Stored(*host.object));
    } else if (a == "link") {
      LabelNew(host.label, host.class_name,
               store.Link(host.class_name, Stored(*host.from), Stored(*host.to),
                          BuildValues(host.values, source_), host.id));
    } else if (a == "setGlobal") {
      host_.SetGlobal(host.name, BuildValue(*host.value, nullptr, source_));
    } else if (a == "environment") {
      emu::Environment env = host_.GetEnvironment();
      ApplyEnvironment(host.environment, source_, env);
      host_.SetEnvironment(std::move(env));
    }
  }

  Json Dump() {
    emu::CallMonitor::Pause pause(host_.Monitor());
    Json dump = Json::object();
    for (const auto& class_name : scenario_.dump) {
      Json objects = Json::array();
      for (const auto& object : host_.GetStore().Dump(class_name)) {
        Json values = Json::object();
        for (const auto& [name, value] : object.values) values[name] = encoder_.Encode(value);
        objects.push_back(std::move(values));
      }
      dump[class_name] = std::move(objects);
    }
    return dump;
  }

  const Scenario& scenario_;
  const RunOptions& options_;
  emu::EmulatedHost host_;
  HostObjectSource source_;
  ValueEncoder encoder_;
  ClassNamer class_name_;
  std::map<std::string, Ref<Dispatch>> instances_;
};

}  // namespace

Json RunScenario(const Scenario& scenario, const RunOptions& options) {
  try {
    Run run(scenario, options);
    return run.Execute();
  } catch (const RunError& e) {
    std::string message = e.what();
    if (message.rfind(scenario.file + ":", 0) == 0) throw;
    throw RunError(fmt::format("{}: {}", scenario.file, message), e.UnknownReference());
  }
}

std::string FormatTranscript(const Json& transcript) { return FormatJson(transcript) + "\n"; }

}  // namespace vtx::cli
