#include "cli/settings_commands.h"

#include <cstdint>
#include <ostream>
#include <stdexcept>

#include "cli/exit_status.h"

namespace vtx::cli {
namespace {

constexpr const char* kFolderClass = "Settings Folder";
// Numbered values of a new setting: the CN_ set, the one settings classes
// found by the table names "TN_ADMIN_SETTING" and "TN_USER_SETTING" use.
constexpr const char* kValuePrefix = "CN_VALUE_";

Json Call(const std::string& operation, Json args) {
  return CallStepJson("ClsAdminSettings." + operation, std::move(args));
}

// Section, subject and whose setting it is, in the argument names `name`
// gives the subject.
Json SettingArgs(const SettingsRequest& r, const char* section_name, const char* subject_name) {
  Json args = {{section_name, r.section}, {subject_name, r.subject}, {"admin", r.user_id <= 0}};
  args["UserId"] = r.user_id;
  return args;
}

// An existing setting reads its new values from the column named after its
// subject, one row per value; a new one from the value attributes' columns,
// one row per stored copy.
Json ValuesList(const SettingsRequest& r, bool exists) {
  Json rows = Json::array();
  if (exists) {
    for (const auto& v : r.values) rows.push_back(Json{{r.subject, v}});
  } else {
    Json row = Json::object();
    for (size_t i = 0; i < r.values.size(); ++i)
      row[kValuePrefix + std::to_string(i + 1)] = r.values[i];
    rows.push_back(std::move(row));
  }
  return Json{{"recordList", std::move(rows)}};
}

Json SetStep(const SettingsRequest& r, bool exists) {
  Json args = SettingArgs(r, "SectionName", "Subject");
  args["Values"] = ValuesList(r, exists);
  return Call("SetSettingValues", std::move(args));
}

// Whether the setting exists decides the form of its values, so the check and
// the write are one transaction: [probe, write as existing, write as new].
Json SetSteps(const SettingsRequest& r, PlayChoice& choice) {
  if (r.values.empty()) throw UsageError("give at least one value");
  choice.hidden_steps = 1;
  choice.one_transaction = true;
  choice.runs_step = [](size_t index, const Json& steps) {
    if (index == 0) return true;
    const Json& probe = steps.at(0);
    const bool exists = probe.contains("result") && probe["result"] == true;
    return index == (exists ? 1u : 2u);
  };
  return Json::array({Call("GetSettingValues", SettingArgs(r, "SectionName", "TagName")),
                      SetStep(r, true), SetStep(r, false)});
}

Json StepsFor(const SettingsRequest& r) {
  const std::string& a = r.action;
  if (a == "get") return Call("GetSettingValues", SettingArgs(r, "SectionName", "TagName"));
  if (a == "long" && !r.long_text)
    return Call("GetSettingLongValue", SettingArgs(r, "SectionName", "TagName"));
  if (a == "long") {
    Json args = SettingArgs(r, "SectionName", "Subject");
    args["LongTxt"] = *r.long_text;
    return Call("SetSettingLongValue", std::move(args));
  }
  if (a == "section") {
    Json args = {{"SectionName", r.section}, {"admin", r.user_id <= 0}, {"UserId", r.user_id}};
    return Call("GetSettingSection", std::move(args));
  }
  if (a == "doubles") return Call("GetBackTheDoubles", Json::object());
  if (a == "outside-tree")
    return Call("GetBackASWhichAreNotInTheTree",
                {{"FirstRec", RecordListOf(kFolderClass, {r.folder})}});
  if (a == "template") return Call("GetSelectedTemplate", {{"SectionName", r.section}});
  throw std::invalid_argument("settings: unknown action \"" + a + "\"");
}

struct Usage {
  const char* action;
  const char* arguments;
  size_t fewest;
  size_t most;  // SIZE_MAX: any number
};

constexpr Usage kUsages[] = {
    {"get", "SECTION SUBJECT", 2, 2},
    {"set", "SECTION SUBJECT VALUE...", 3, SIZE_MAX},
    {"long", "SECTION SUBJECT [--text TEXT]", 2, 2},
    {"section", "SECTION", 1, 1},
    {"doubles", "", 0, 0},
    {"outside-tree", "[FOLDER]", 0, 1},
    {"template", "SECTION", 1, 1},
};

}  // namespace

SettingsRequest MakeSettingsRequest(const std::string& action, std::vector<std::string> args) {
  for (const Usage& u : kUsages) {
    if (action != u.action) continue;
    if (args.size() < u.fewest || args.size() > u.most)
      throw std::invalid_argument(std::string("usage: vtx settings ") + u.action + " " +
                                  u.arguments + " --db FILE");
    SettingsRequest r;
    r.action = action;
    if (action == "outside-tree") {
      if (!args.empty()) r.folder = args[0];
      return r;
    }
    if (!args.empty()) r.section = args[0];
    if (args.size() > 1) r.subject = args[1];
    if (args.size() > 2) r.values.assign(args.begin() + 2, args.end());
    return r;
  }
  throw std::invalid_argument("settings: unknown action \"" + action + "\"");
}

const std::vector<std::string>& SettingsActions() {
  static const std::vector<std::string> actions = {"get",     "set",          "long",    "section",
                                                   "doubles", "outside-tree", "template"};
  return actions;
}

int SettingsCommand(const DatabaseOptions& options, const SettingsRequest& request,
                    std::ostream& out, std::ostream& err) {
  Json steps;
  PlayChoice choice;
  DatabaseOptions opened = options;
  try {
    if (request.action == "set") {
      steps = SetSteps(request, choice);
    } else {
      steps = Json::array({StepsFor(request)});
      const bool writes = request.action == "long" && request.long_text;
      opened.open_mode = writes ? emu::OpenMode::kWrite : emu::OpenMode::kRead;
    }
  } catch (const std::exception& e) {
    return ReportFailure("settings " + request.action, e, out, err);
  }
  return PlayOnDatabase(opened, "settings " + request.action, std::move(steps), nullptr, out, err,
                        choice);
}

}  // namespace vtx::cli
