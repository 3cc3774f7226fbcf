#include "cli/scenario/scenario_parser.h"

#include <filesystem>
#include <fstream>
#include <limits>
#include <sstream>

#include <fmt/format.h>

#include "cli/scenario/demo_model.h"
#include "cli/scenario/json_reader.h"
#include "cli/scenario/json_text.h"
#include "cli/scenario/scenario_checks.h"
#include "emulator/store/model.h"
#include "emulator/store/model_error.h"
#include "platform/utf8_path.h"
#include "runtime/ole_date.h"
#include "runtime/runtime_error.h"

namespace vtx::cli {
namespace {

constexpr int64_t kMaxI4 = std::numeric_limits<int32_t>::max();
constexpr int64_t kMinI4 = std::numeric_limits<int32_t>::min();

std::string ResolvePath(const std::string& base_dir, const std::string& name) {
  if (base_dir.empty() || PathFromUtf8(name).is_absolute()) return name;
  return Utf8FromPath((PathFromUtf8(base_dir) / PathFromUtf8(name)).lexically_normal());
}

Json ReadJsonFile(const std::string& file) {
  std::ifstream in(PathFromUtf8(file), std::ios::binary);
  if (!in) throw InvalidFileError(file, "", "cannot open the file");
  std::stringstream text;
  text << in.rdbuf();
  try {
    return ParseJsonText(text.str());
  } catch (const JsonPathError& e) {
    throw InvalidFileError(file, e.Path(), e.Message());
  }
}

std::vector<std::pair<std::string, std::string>> ParseStringMap(const Json& json,
                                                                const std::string& path) {
  ExpectObject(json, path);
  std::vector<std::pair<std::string, std::string>> out;
  for (const auto& [key, value] : json.items()) {
    out.emplace_back(key, ExpectString(value, JoinKey(path, key)));
  }
  return out;
}

std::vector<std::pair<std::string, WrittenValue>> ParseValueMap(const Json& json,
                                                                const std::string& path) {
  ExpectObject(json, path);
  std::vector<std::pair<std::string, WrittenValue>> out;
  for (const auto& [key, value] : json.items()) {
    out.emplace_back(key, ParseValue(value, JoinKey(path, key)));
  }
  return out;
}

std::vector<CatalogEntry> ParseCatalog(const Json& json, const std::string& path) {
  ExpectArray(json, path);
  std::vector<CatalogEntry> out;
  for (size_t i = 0; i < json.size(); ++i) {
    ObjectReader entry(json[i], JoinIndex(path, i));
    CatalogEntry e;
    e.language = entry.RequireString("language");
    e.name_space = entry.RequireString("namespace");
    e.key = entry.RequireString("key");
    e.appendix = entry.OptionalString("appendix").value_or("");
    e.text = entry.RequireString("text");
    entry.Finish();
    out.push_back(std::move(e));
  }
  return out;
}

std::vector<std::pair<std::string, std::string>> ParseDrives(const Json& json,
                                                             const std::string& path,
                                                             const std::string& base_dir) {
  auto drives = ParseStringMap(json, path);
  for (auto& [letter, folder] : drives) {
    bool drive = letter.size() == 2 && letter[1] == ':' &&
                 ((letter[0] >= 'A' && letter[0] <= 'Z') || (letter[0] >= 'a' && letter[0] <= 'z'));
    if (!drive) throw JsonPathError(JoinKey(path, letter), "expected a drive letter like \"C:\"");
    folder = ResolvePath(base_dir, folder);
  }
  return drives;
}

double ParseClock(const Json& json, const std::string& path) {
  std::string iso = ExpectString(json, path);
  try {
    return date::FromIso(iso);
  } catch (const RuntimeError&) {
    throw JsonPathError(path, "expected a local date and time like \"2026-12-05T10:11:12\"");
  }
}

// Reads the environment keys present in `reader`'s object.
WrittenEnvironment ReadEnvironment(ObjectReader& reader, const std::string& base_dir) {
  WrittenEnvironment env;
  if (const Json* user = reader.Find("user")) {
    if (user->is_null()) {
      env.user.emplace(std::nullopt);
    } else {
      env.user.emplace(ParseObjectRef(*user, reader.PathOf("user")));
    }
  }
  env.logon_name = reader.OptionalString("logonName");
  env.computer_name = reader.OptionalString("computerName");
  if (const Json* v = reader.Find("variables")) {
    env.variables = ParseStringMap(*v, reader.PathOf("variables"));
  }
  env.language = reader.OptionalString("language");
  if (const Json* v = reader.Find("configuration")) {
    env.configuration = ParseValueMap(*v, reader.PathOf("configuration"));
  }
  if (const Json* v = reader.Find("catalog")) {
    if (v->is_null()) {
      env.catalog.emplace(std::nullopt);
    } else {
      env.catalog.emplace(ParseCatalog(*v, reader.PathOf("catalog")));
    }
  }
  if (const Json* v = reader.Find("clock")) env.clock = ParseClock(*v, reader.PathOf("clock"));
  if (const Json* v = reader.Find("drives")) {
    env.drives = ParseDrives(*v, reader.PathOf("drives"), base_dir);
  }
  return env;
}

// Later keys win: used for a host step that gives some keys directly and some
// in a nested "environment" object.
void Overlay(WrittenEnvironment& base, WrittenEnvironment top) {
  if (top.user) base.user = std::move(top.user);
  if (top.logon_name) base.logon_name = std::move(top.logon_name);
  if (top.computer_name) base.computer_name = std::move(top.computer_name);
  if (top.variables) base.variables = std::move(top.variables);
  if (top.language) base.language = std::move(top.language);
  if (top.configuration) base.configuration = std::move(top.configuration);
  if (top.catalog) base.catalog = std::move(top.catalog);
  if (top.clock) base.clock = top.clock;
  if (top.drives) base.drives = std::move(top.drives);
}

std::vector<WrittenFault> ParseFaults(const Json& json, const std::string& path) {
  ExpectArray(json, path);
  std::vector<WrittenFault> out;
  for (size_t i = 0; i < json.size(); ++i) {
    ObjectReader reader(json[i], JoinIndex(path, i));
    WrittenFault f;
    f.operation = reader.RequireString("operation");
    if (f.operation.empty()) throw JsonPathError(reader.PathOf("operation"), "expected a name");
    f.call = reader.OptionalInteger("call", 1, std::numeric_limits<int64_t>::max()).value_or(1);
    f.number = static_cast<int32_t>(reader.RequireInteger("number", kMinI4, kMaxI4));
    f.description = reader.OptionalString("description").value_or("");
    f.persistent = reader.OptionalBool("persistent").value_or(false);
    reader.Finish();
    out.push_back(std::move(f));
  }
  return out;
}

WrittenAnswers ParseAnswers(const Json& json, const std::string& path) {
  ObjectReader reader(json, path);
  WrittenAnswers answers;
  if (const Json* list = reader.Find("templateDialog")) {
    std::string list_path = reader.PathOf("templateDialog");
    ExpectArray(*list, list_path);
    for (size_t i = 0; i < list->size(); ++i) {
      const Json& a = (*list)[i];
      std::string a_path = JoinIndex(list_path, i);
      DialogAnswer answer;
      if (a.is_string() && a.get<std::string>() == "ok") {
        answer.kind = DialogAnswer::Kind::kOk;
      } else if (a.is_string() && a.get<std::string>() == "cancel") {
        answer.kind = DialogAnswer::Kind::kCancel;
      } else if (a.is_number()) {
        answer.kind = DialogAnswer::Kind::kLine;
        answer.line = static_cast<int32_t>(ExpectInteger(a, a_path, 0, kMaxI4));
      } else {
        throw JsonPathError(a_path, "expected a line number, \"ok\" or \"cancel\"");
      }
      answers.template_dialog.push_back(answer);
    }
  }
  if (const Json* list = reader.Find("integrationEditor")) {
    std::string list_path = reader.PathOf("integrationEditor");
    ExpectArray(*list, list_path);
    for (size_t i = 0; i < list->size(); ++i) {
      const Json& a = (*list)[i];
      std::string a_path = JoinIndex(list_path, i);
      EditorAnswer answer;
      if (a.is_boolean()) {
        answer.result = a.get<bool>();
      } else if (a.is_object()) {
        ObjectReader edit(a, a_path);
        answer.result = ExpectBool(edit.Require("result"), edit.PathOf("result"));
        if (const Json* values = edit.Find("values")) {
          answer.values = ParseValueMap(*values, edit.PathOf("values"));
        }
        edit.Finish();
      } else {
        throw JsonPathError(a_path, "expected true, false or {\"result\": ..., \"values\": ...}");
      }
      answers.integration_editor.push_back(std::move(answer));
    }
  }
  if (const Json* list = reader.Find("modalViews")) {
    std::string list_path = reader.PathOf("modalViews");
    ExpectArray(*list, list_path);
    for (size_t i = 0; i < list->size(); ++i) {
      const Json& a = (*list)[i];
      if (a.is_null()) {
        answers.modal_views.emplace_back(std::nullopt);
      } else {
        answers.modal_views.emplace_back(ParseObjectRef(a, JoinIndex(list_path, i)));
      }
    }
  }
  reader.Finish();
  return answers;
}

std::vector<SeedObject> ParseObjects(const Json& json, const std::string& path) {
  ExpectArray(json, path);
  std::vector<SeedObject> out;
  for (size_t i = 0; i < json.size(); ++i) {
    ObjectReader reader(json[i], JoinIndex(path, i));
    SeedObject seed;
    seed.path = reader.Path();
    seed.class_name = reader.RequireString("class");
    if (auto id = reader.OptionalInteger("id", 1, kMaxI4)) seed.id = static_cast<int32_t>(*id);
    seed.label = reader.OptionalString("label").value_or("");
    if (const Json* values = reader.Find("values")) {
      seed.values = ParseValueMap(*values, reader.PathOf("values"));
    }
    reader.Finish();
    out.push_back(std::move(seed));
  }
  return out;
}

CallStep ParseCall(ObjectReader& reader) {
  CallStep call;
  std::string target = reader.RequireString("call");
  size_t dot = target.find('.');
  if (dot == std::string::npos || dot == 0 || dot + 1 == target.size())
    throw JsonPathError(reader.PathOf("call"), "expected \"Class.Operation\"");
  call.class_name = target.substr(0, dot);
  call.operation = target.substr(dot + 1);
  if (const Json* args = reader.Find("args"))
    call.args = ParseValueMap(*args, reader.PathOf("args"));
  return call;
}

HostStep ParseHost(ObjectReader& reader, const std::string& base_dir) {
  HostStep host;
  host.action = reader.RequireString("host");
  const std::string& a = host.action;
  auto ref = [&](const char* key) {
    return ParseObjectRef(reader.Require(key), reader.PathOf(key));
  };
  auto values = [&](bool required) {
    const Json* v = required ? &reader.Require("values") : reader.Find("values");
    if (v) host.values = ParseValueMap(*v, reader.PathOf("values"));
  };
  auto id = [&] {
    if (auto v = reader.OptionalInteger("id", 1, kMaxI4)) host.id = static_cast<int32_t>(*v);
    host.label = reader.OptionalString("label").value_or("");
  };
  if (a == "update") {
    host.object = ref("object");
    values(true);
  } else if (a == "insert") {
    host.class_name = reader.RequireString("class");
    values(false);
    id();
  } else if (a == "delete") {
    host.object = ref("object");
  } else if (a == "link") {
    host.class_name = reader.RequireString("class");
    host.from = ref("from");
    host.to = ref("to");
    values(false);
    id();
  } else if (a == "setGlobal") {
    host.name = reader.RequireString("name");
    host.value = ParseValue(reader.Require("value"), reader.PathOf("value"));
  } else if (a == "environment") {
    host.environment = ReadEnvironment(reader, base_dir);
    if (const Json* nested = reader.Find("environment")) {
      Overlay(host.environment, ParseEnvironment(*nested, reader.PathOf("environment"), base_dir));
    }
  } else {
    throw JsonPathError(reader.PathOf("host"),
                        "unknown host action (update, insert, delete, link, setGlobal, "
                        "environment)");
  }
  return host;
}

std::vector<ScenarioStep> ParseSteps(const Json& json, const std::string& path,
                                     const std::string& base_dir) {
  ExpectArray(json, path);
  std::vector<ScenarioStep> out;
  for (size_t i = 0; i < json.size(); ++i) {
    ObjectReader reader(json[i], JoinIndex(path, i));
    ScenarioStep step;
    step.path = reader.Path();
    bool is_call = reader.Has("call");
    if (is_call == reader.Has("host"))
      throw JsonPathError(step.path, "a step has exactly one of \"call\" and \"host\"");
    if (is_call) {
      step.call = ParseCall(reader);
    } else {
      step.host = ParseHost(reader, base_dir);
    }
    // A setGlobal step's "name" is the global's; other steps may name what they check.
    if (!step.host || step.host->action != "setGlobal")
      step.name = reader.OptionalString("name").value_or("");
    step.comment = reader.OptionalString("comment").value_or("");
    reader.Finish();
    out.push_back(std::move(step));
  }
  return out;
}

// Checks the model with the store's own parser, so that a bad model is an
// invalid file (status 2) before anything runs.
emu::Model CheckModel(const Scenario& scenario) {
  try {
    return emu::ParseModel(nlohmann::json::parse(scenario.model.dump()));
  } catch (const emu::ModelError& e) {
    if (!scenario.model_file.empty())
      throw InvalidFileError(scenario.model_file, e.Path(), e.Message());
    std::string path = scenario.model_path;
    if (!e.Path().empty()) path += (e.Path().front() == '[' ? "" : ".") + e.Path();
    throw InvalidFileError(scenario.file, path, e.Message());
  }
}

void ReadModel(const Json& model, const std::string& path, Scenario& scenario) {
  if (model.is_object()) {
    scenario.model = model;
    scenario.model_path = path;
    return;
  }
  if (!model.is_string()) throw JsonPathError(path, "expected a model object or a file name");
  std::string name = model.get<std::string>();
  if (name == kBuiltinDemoModel) {
    scenario.model = Json::parse(DemoModelJson());
    scenario.model_path = "";
    scenario.model_file = kBuiltinDemoModel;
    return;
  }
  scenario.model_file = ResolvePath(scenario.base_dir, name);
  scenario.model = ReadJsonFile(scenario.model_file);
  if (!scenario.model.is_object())
    throw InvalidFileError(scenario.model_file, "", "expected an object");
}

}  // namespace

WrittenEnvironment ParseEnvironment(const Json& json, const std::string& path,
                                    const std::string& base_dir) {
  ObjectReader reader(json, path);
  WrittenEnvironment env = ReadEnvironment(reader, base_dir);
  reader.Finish();
  return env;
}

Scenario ParseScenario(const Json& json, const std::string& file, const std::string& base_dir) {
  Scenario scenario;
  scenario.file = file;
  scenario.base_dir = base_dir;
  try {
    ObjectReader reader(json, "");
    ReadModel(reader.Require("model"), "model", scenario);
    if (const Json* v = reader.Find("objects")) scenario.objects = ParseObjects(*v, "objects");
    if (const Json* v = reader.Find("environment")) {
      scenario.environment = ParseEnvironment(*v, "environment", base_dir);
    }
    if (const Json* v = reader.Find("faults")) scenario.faults = ParseFaults(*v, "faults");
    if (const Json* v = reader.Find("answers")) scenario.answers = ParseAnswers(*v, "answers");
    scenario.trace = reader.OptionalBool("trace").value_or(false);
    if (const Json* v = reader.Find("steps")) scenario.steps = ParseSteps(*v, "steps", base_dir);
    if (const Json* v = reader.Find("dump")) {
      ExpectArray(*v, "dump");
      for (size_t i = 0; i < v->size(); ++i) {
        scenario.dump.push_back(ExpectString((*v)[i], JoinIndex("dump", i)));
      }
    }
    reader.OptionalString("comment");
    reader.Finish();
  } catch (const JsonPathError& e) {
    throw InvalidFileError(file, e.Path(), e.Message());
  }
  CheckScenario(scenario, CheckModel(scenario));
  return scenario;
}

Scenario LoadScenarioFile(const std::string& file) {
  Json json = ReadJsonFile(file);
  return ParseScenario(json, file, Utf8FromPath(PathFromUtf8(file).parent_path()));
}

}  // namespace vtx::cli
