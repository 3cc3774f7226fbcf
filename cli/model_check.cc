#include "cli/model_check.h"

#include <algorithm>
#include <set>

#include <fmt/format.h>

#include "emulator/host_objects/emu_class.h"

namespace vtx::cli {
namespace {

using emu::ClassDef;
using emu::FamilyOf;
using emu::Model;

struct AttributeNeed {
  const char* name;
  std::vector<int32_t> types;  // field type codes that hold the value
  const char* what;
};

// The electronic record's attributes, written through AddValues by field type:
// a text needs a text field, the ids need integer fields wide enough for them.
const std::vector<AttributeNeed>& RecordAttributes() {
  static const std::vector<AttributeNeed> kNeeds = {
      {"CN_USER_ID", {3}, "32-bit integer"},   {"CN_USER_NAME", {1}, "text"},
      {"CN_MACHINE_NAME", {1}, "text"},        {"CN_USER_NT_ID", {1}, "text"},
      {"CN_OBJECT_ID", {3}, "32-bit integer"}, {"CN_CLASS_ID", {2, 3}, "16-bit integer"},
      {"CN_HOOK_OPERATION", {1}, "text"},      {"CN_DESCRIPTION", {1}, "text"},
  };
  return kNeeds;
}

bool IsKeyed(const ClassDef& c) {
  return c.kind == emu::kind::kKeyed1 || c.kind == emu::kind::kKeyed2;
}

bool LinksFamilies(const Model& m, const ClassDef& link, int16_t a, int16_t b) {
  if (!link.IsLink() || link.ends.size() != 2) return false;
  const int16_t e0 = FamilyOf(m, link.ends[0]), e1 = FamilyOf(m, link.ends[1]);
  return (e0 == a && e1 == b) || (e0 == b && e1 == a);
}

// The viewer's rule: the link class's name holds both superclass names, or
// the one name twice when both families share it.
bool NameMatches(const std::string& link, const std::string& name1, const std::string& name2) {
  if (name1 != name2)
    return link.find(name1) != std::string::npos && link.find(name2) != std::string::npos;
  const size_t first = link.find(name1);
  return first != std::string::npos && link.find(name1, first + 1) != std::string::npos;
}

class GapFinder {
 public:
  explicit GapFinder(const Model& m) : m_(m) {}

  void CheckRecordClass() {
    record_ = m_.ByName("Electronic Record");
    if (!record_) {
      Add("no class named \"Electronic Record\": every ExecuteCreateNewERObject fails and "
          "writes no record");
      return;
    }
    if (!IsKeyed(*record_))
      Add(
          fmt::format("class \"Electronic Record\" has kind {}: records must be keyed objects "
                      "(kind 1 or 2)",
                      record_->kind));
    CheckAttributes(*record_, RecordAttributes(), "no record is written");
  }

  void CheckHistoryClass() {
    history_ = m_.ByName("History");
    if (!history_) {
      Add("no class named \"History\": the history viewer, report and deletion find no history");
      return;
    }
    if (record_ && !m_.IsA(record_->id, history_->id))
      Add("class \"Electronic Record\" is not below \"History\": its records do not appear in "
          "the history");
  }

  void CheckManaged(const ClassDef& c) {
    const ClassDef& family = *m_.ById(c.super);
    if (!checked_.insert(family.id).second) return;
    const std::string label = fmt::format("class \"{}\"", family.name);
    if (family.identifiers.empty())
      Add(label + " has no identifier attribute: the history viewer reports an error");
    else if (family.identifiers.front() == "REVISION")
      Add(label + ": its first identifier is REVISION, so the history viewer shows nothing");
    if (record_ && std::none_of(m_.classes.begin(), m_.classes.end(), [&](const ClassDef& link) {
          return link.kind == emu::kind::kRelation &&
                 LinksFamilies(m_, link, record_->super, family.id);
        }))
      Add(
          fmt::format("{}: no relation link class (kind 7) between its family and \"{}\", the "
                      "family of \"Electronic Record\": its electronic records are stored "
                      "unlinked",
                      label, m_.ById(record_->super)->name));
    if (!history_) return;
    const std::string& history_name = m_.ById(history_->super)->name;
    if (std::none_of(m_.classes.begin(), m_.classes.end(), [&](const ClassDef& link) {
          return LinksEnd(link, history_->super) &&
                 NameMatches(link.name, family.name, history_name);
        }))
      Add(
          fmt::format("{}: no link class of \"History\" whose name contains \"{}\" and \"{}\": "
                      "the history viewer and report show the data model error",
                      label, family.name, history_name));
  }

  // Families that some link class joins to the history family: the model says
  // they keep a history, so they are checked without being named.
  std::vector<const ClassDef*> LinkedToHistory() const {
    std::vector<const ClassDef*> out;
    if (!history_) return out;
    for (const ClassDef& c : m_.classes) {
      if (!IsKeyed(c) || c.super != c.id || c.id == history_->super) continue;
      for (const ClassDef& link : m_.classes)
        if (LinksFamilies(m_, link, c.id, history_->super)) {
          out.push_back(&c);
          break;
        }
    }
    return out;
  }

  void CheckSettings() {
    struct SettingsClass {
      const char* table;
      const char* name;
    };
    for (const SettingsClass& s : {SettingsClass{"TN_ADMIN_SETTING", "Admin Setting"},
                                   {"TN_USER_SETTING", "User Setting"}}) {
      const ClassDef* c = m_.ByTable(s.table);
      if (!c) {
        Add(
            fmt::format("no settings class with the table {}: the settings store cannot keep "
                        "these settings",
                        s.table));
        continue;
      }
      if (c->name != s.name)
        Add(
            fmt::format("the class of table {} is named \"{}\", not \"{}\": its long texts "
                        "cannot be read or written",
                        s.table, c->name, s.name));
      const std::string p = c->table.rfind("TDM", 0) == 0 ? "TDM_" : "CN_";
      std::vector<AttributeNeed> needs;
      std::vector<std::string> names;
      for (const char* role :
           {"SECTION", "SUBJECT", "USER_ID", "VALUE_1", "VALUE_LONG", "INSTRUCTIONS"})
        names.push_back(p + role);
      for (const std::string& n : names) needs.push_back({n.c_str(), {}, ""});
      CheckAttributes(*c, needs, "the settings store fails on it");
      if (c->identifiers.empty() || c->identifiers.front() == "REVISION")
        Add(
            fmt::format("class \"{}\" has no primary identifier other than REVISION: the "
                        "settings store cannot address its settings",
                        c->name));
    }
    for (const char* table : {"TN_SETTINGS_FOLDER", "TN_ADMIN"})
      if (!m_.ByTable(table))
        Add(fmt::format("no class with the table {}: administrator settings have no folder tree",
                        table));
  }

  std::vector<std::string> Take() { return std::move(gaps_); }

 private:
  void Add(std::string gap) { gaps_.push_back(std::move(gap)); }

  bool LinksEnd(const ClassDef& link, int16_t family) const {
    return link.IsLink() && std::any_of(link.ends.begin(), link.ends.end(),
                                        [&](int16_t end) { return FamilyOf(m_, end) == family; });
  }

  // An empty type list accepts any field type.
  void CheckAttributes(const ClassDef& c, const std::vector<AttributeNeed>& needs,
                       const char* consequence) {
    for (const AttributeNeed& need : needs) {
      const int index = c.FindAttribute(need.name);
      if (index < 0) {
        Add(fmt::format("class \"{}\" has no attribute {}{}: {}", c.name, need.name,
                        need.types.empty() ? "" : fmt::format(" ({})", need.what), consequence));
        continue;
      }
      const int32_t type = c.attributes[index].type;
      if (!need.types.empty() &&
          std::find(need.types.begin(), need.types.end(), type) == need.types.end())
        Add(
            fmt::format("attribute {} of class \"{}\" has field type {}, not {} ({}): the "
                        "value is converted to the field's type, which can fail the call or "
                        "drop the value",
                        need.name, c.name, type, fmt::join(need.types, " or "), need.what));
    }
  }

  const Model& m_;
  const ClassDef* record_ = nullptr;
  const ClassDef* history_ = nullptr;
  std::set<int16_t> checked_;
  std::vector<std::string> gaps_;
};

}  // namespace

std::vector<std::string> FindModelGaps(const emu::Model& model,
                                       const std::vector<std::string>& managed) {
  GapFinder finder(model);
  finder.CheckRecordClass();
  finder.CheckHistoryClass();
  for (const std::string& name : managed) finder.CheckManaged(*model.ByName(name));
  for (const ClassDef* c : finder.LinkedToHistory()) finder.CheckManaged(*c);
  finder.CheckSettings();
  return finder.Take();
}

}  // namespace vtx::cli
