// A scenario of `vtx run` as read from its file: model, seed objects,
// environment, faults, answers and steps, each checked and kept with the JSON
// path it came from.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "cli/scenario/json_path.h"
#include "cli/scenario/written_value.h"

namespace vtx::cli {

struct CatalogEntry {
  std::string language;
  std::string name_space;
  std::string key;
  std::string appendix;
  std::string text;
};

// The environment of the run. Every member is optional: absent members keep
// their current (or default) value, so a host "environment" step changes only
// what it names.
struct WrittenEnvironment {
  // Outer optional: given; inner nullopt: null, the current user is Nothing.
  std::optional<std::optional<WrittenRef>> user;
  std::optional<std::string> logon_name;
  std::optional<std::string> computer_name;
  std::optional<std::vector<std::pair<std::string, std::string>>> variables;
  std::optional<std::string> language;
  std::optional<std::vector<std::pair<std::string, WrittenValue>>> configuration;
  // Outer optional: given; inner nullopt: null, the catalog is not installed.
  std::optional<std::optional<std::vector<CatalogEntry>>> catalog;
  std::optional<double> clock;  // OLE date
  std::optional<std::vector<std::pair<std::string, std::string>>> drives;
};

struct WrittenFault {
  std::string operation;
  int64_t call = 1;
  int32_t number = 0;
  std::string description;
  bool persistent = false;
};

// One click in the template dialog.
struct DialogAnswer {
  enum class Kind { kLine, kOk, kCancel };
  Kind kind = Kind::kCancel;
  int32_t line = -1;
};

// One EditObject of the integration editor: its result, after writing
// `values` into the edited object.
struct EditorAnswer {
  bool result = false;
  std::vector<std::pair<std::string, WrittenValue>> values;
};

struct WrittenAnswers {
  std::vector<DialogAnswer> template_dialog;
  std::vector<EditorAnswer> integration_editor;
  std::vector<std::optional<WrittenRef>> modal_views;  // nullopt: no selection
};

struct SeedObject {
  std::string class_name;
  std::optional<int32_t> id;
  std::string label;  // "" for none
  std::vector<std::pair<std::string, WrittenValue>> values;
  std::string path;
};

// A call of an add-in operation: "Class.Operation" with named arguments.
struct CallStep {
  std::string class_name;
  std::string operation;
  std::vector<std::pair<std::string, WrittenValue>> args;  // as written
};

// What Korvel does between add-in calls.
struct HostStep {
  std::string action;  // "update", "insert", "delete", "link", "setGlobal", "environment"
  std::optional<WrittenRef> object;  // update, delete
  std::string class_name;            // insert, link
  std::optional<int32_t> id;         // insert, link
  std::string label;                 // insert, link: names the new object ("" for none)
  std::optional<WrittenRef> from;    // link
  std::optional<WrittenRef> to;      // link
  std::vector<std::pair<std::string, WrittenValue>> values;
  std::string name;                   // setGlobal
  std::optional<WrittenValue> value;  // setGlobal
  WrittenEnvironment environment;     // environment
};

struct ScenarioStep {
  std::optional<CallStep> call;
  std::optional<HostStep> host;
  std::string name;     // what the step checks, named when its transcript differs
  std::string comment;  // free text a reader (and `vtx demo`) shows
  std::string path;
};

struct Scenario {
  std::string file;        // as named on the command line
  std::string base_dir;    // directory of the scenario file ("" for the current one)
  Json model;              // the model in its JSON form
  std::string model_file;  // file the model came from ("" when inline or built in)
  std::string model_path;  // JSON path prefix of model errors ("model" when inline)
  std::vector<SeedObject> objects;
  WrittenEnvironment environment;
  std::vector<WrittenFault> faults;
  WrittenAnswers answers;
  bool trace = false;
  std::vector<ScenarioStep> steps;
  std::vector<std::string> dump;
};

}  // namespace vtx::cli
