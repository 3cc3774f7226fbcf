#include "cli/session_printer.h"

#include <algorithm>

#include <fmt/format.h>

#include "cli/scenario/json_format.h"
#include "emulator/host_objects/store_interfaces.h"
#include "emulator/store/object_table.h"
#include "host/kv_host.h"
#include "runtime/ole_date.h"
#include "runtime/text.h"

namespace vtx::cli {
namespace {

constexpr const char* kRecordClass = "Electronic Record";

std::string ClassNameOf(emu::EmulatedHost& host, int16_t class_id) {
  const emu::ClassDef* def = host.GetStore().GetModel().ById(class_id);
  return def ? def->name : fmt::format("class {}", class_id);
}

// The text of a stored value for a table cell ("" for Null and Empty).
std::string CellText(const Variant& value) {
  if (value.IsNull() || value.IsEmpty()) return "";
  if (value.Type() == VarType::kDate) return date::ToIso(value.AsDate());
  try {
    return value.ToString();
  } catch (const RuntimeError&) {
    return "?";
  }
}

const Variant* Find(const emu::Values& values, std::string_view name) {
  for (const auto& [n, v] : values) {
    if (n == name) return &v;
  }
  return nullptr;
}

std::string Field(const emu::Values& values, std::string_view name) {
  const Variant* v = Find(values, name);
  return v ? CellText(*v) : "";
}

// CR LF and LF both end a line of a description.
std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::string line;
  for (char c : text) {
    if (c == '\r') continue;
    if (c == '\n') {
      lines.push_back(line);
      line.clear();
    } else {
      line += c;
    }
  }
  if (!line.empty()) lines.push_back(line);
  return lines;
}

std::string Clip(const std::string& s, int32_t width) {
  if (text::Len(s) <= width) return s;
  return text::Left(s, width - 3) + "...";
}

std::string Pad(const std::string& s, int32_t width) {
  int32_t len = text::Len(s);
  return len >= width ? s : s + std::string(static_cast<size_t>(width - len), ' ');
}

int64_t NumberOf(const Json& typed) {
  if (typed.is_object() && typed.size() == 1) {
    const Json& inner = typed.begin().value();
    if (inner.is_number()) return inner.get<int64_t>();
  }
  return typed.is_number() ? typed.get<int64_t>() : 0;
}

bool IsObjectRecordList(const Json& list) {
  if (!list.contains("columns")) return false;
  bool class_id = false, object_id = false;
  for (const auto& c : list["columns"]) {
    class_id |= c["name"] == "CLASS_ID";
    object_id |= c["name"] == "OBJECT_ID";
  }
  return class_id && object_id;
}

// The values the history table shows, read from the stored object; nullopt
// when it is no longer stored.
std::optional<emu::Values> ReadFields(emu::EmulatedHost& host, const emu::ObjectRef& ref) {
  Ref<KvObject> object;
  try {
    object = emu::LoadObject(host.GetStore(), host.ObjectStore(), ref);
  } catch (const RuntimeError&) {
    return std::nullopt;
  }
  emu::Values values;
  for (const char* name : {"KV_CREATED_AT", "CN_HOOK_OPERATION", "CN_USER_NAME", "CN_MACHINE_NAME",
                           "CN_DESCRIPTION"}) {
    try {
      values.emplace_back(name, object->GetValue(name));
    } catch (const RuntimeError&) {
      values.emplace_back(name, Variant::Empty());
    }
  }
  return values;
}

}  // namespace

std::string SessionPrinter::DescribeObject(emu::EmulatedHost& host, const emu::ObjectRef& ref) {
  std::string class_name = ClassNameOf(host, ref.class_id);
  try {
    Ref<KvObject> object = emu::LoadObject(host.GetStore(), host.ObjectStore(), ref);
    std::string key = object->GetKeyText(" ");
    if (!key.empty()) return fmt::format("{} {}", class_name, key);
  } catch (const RuntimeError&) {
    return fmt::format("{} #{} (no longer stored)", class_name, ref.object_id);
  }
  return fmt::format("{} #{}", class_name, ref.object_id);
}

std::string SessionPrinter::DescribeValue(emu::EmulatedHost& host, const WrittenValue& value) {
  (void)host;
  switch (value.kind) {
    case WrittenValue::Kind::kString:
      return FormatJsonOneLine(Json(value.text));
    case WrittenValue::Kind::kBool:
      return value.flag ? "True" : "False";
    case WrittenValue::Kind::kNumber:
    case WrittenValue::Kind::kI2:
    case WrittenValue::Kind::kI4:
    case WrittenValue::Kind::kR8:
      return Variant(value.number).ToString();
    case WrittenValue::Kind::kNull:
      return "Null";
    default:
      return "...";
  }
}

void SessionPrinter::PrintStep(const ScenarioStep& step, const Json& entry,
                               emu::EmulatedHost& host) {
  if (step_titles_) {
    std::string title = fmt::format("Step {}", entry.value("step", 0));
    if (!step.comment.empty()) title += ": " + step.comment;
    out_ << "\n" << title << "\n";
  }
  if (step.call) {
    PrintCall(*step.call, entry, host);
  } else {
    PrintHost(*step.host, entry, host);
  }
}

void SessionPrinter::PrintCall(const CallStep& call, const Json& entry, emu::EmulatedHost& host) {
  std::vector<std::string> args;
  const Json& out = entry["out"];
  for (const auto& [name, value] : call.args) {
    std::string text;
    auto it = out.find(name);
    if (it != out.end() && it->is_object() && it->contains("recordList") &&
        IsObjectRecordList((*it)["recordList"])) {
      std::vector<std::string> objects;
      for (const auto& row : (*it)["recordList"]["rows"]) {
        objects.push_back(
            DescribeObject(host, emu::ObjectRef{static_cast<int16_t>(NumberOf(row["CLASS_ID"])),
                                                static_cast<int32_t>(NumberOf(row["OBJECT_ID"]))}));
      }
      text = fmt::format("[{}]", fmt::join(objects, ", "));
    } else {
      text = DescribeValue(host, value);
    }
    args.push_back(fmt::format("{}: {}", name, text));
  }
  out_ << fmt::format("  > {}({})\n", entry.value("call", ""), fmt::join(args, ", "));
  if (!entry["error"].is_null()) {
    out_ << fmt::format("  ! run-time error {}: {}\n", entry["error"].value("number", 0),
                        entry["error"].value("description", ""));
  } else if (entry.contains("result")) {
    const Json& result = entry["result"];
    std::string text = FormatJsonOneLine(result);
    if (result.is_object() && result.contains("i2")) {
      int64_t n = result["i2"].get<int64_t>();
      text = std::to_string(n);
      if (entry.value("call", "").rfind("Application.", 0) == 0)
        text += n == 0 ? " (success)" : " (failure)";
    }
    out_ << "  = " << text << "\n";
    PrintHandedOut(call, entry);
    if (entry.value("call", "") == "Application.ExecuteCreateNewERObject" &&
        result == Json{{"i2", 0}}) {
      PrintRecordsMade(host);
    }
  }
  PrintSeen(entry, host);
}

void SessionPrinter::PrintHandedOut(const CallStep& call, const Json& entry) {
  const Json& out = entry["out"];
  if (!out.is_object()) return;
  for (const auto& [name, value] : out.items()) {
    bool given = std::any_of(call.args.begin(), call.args.end(),
                             [&](const auto& arg) { return arg.first == name; });
    if (given || value.is_null() || (value.is_object() && value.contains("missing"))) continue;
    if (!value.is_object() || !value.contains("recordList") ||
        !value["recordList"].contains("columns")) {
      out_ << "  < " << name << " = " << FormatJsonOneLine(value) << "\n";
      continue;
    }
    // A record list handed out: its rows as a table of texts.
    const Json& list = value["recordList"];
    out_ << "  < " << name << ":\n    ";
    for (const auto& column : list["columns"]) out_ << Pad(column.value("name", ""), 24);
    out_ << "\n";
    for (const auto& row : list["rows"]) {
      out_ << "    ";
      for (const auto& column : list["columns"]) {
        auto cell = row.find(column.value("name", ""));
        std::string text = cell == row.end() || cell->is_null() ? ""
                           : cell->is_string()                  ? cell->get<std::string>()
                                                                : FormatJsonOneLine(*cell);
        out_ << Pad(Clip(text, 23), 24);
      }
      out_ << "\n";
    }
  }
}

void SessionPrinter::PrintHost(const HostStep& step, const Json& entry, emu::EmulatedHost& host) {
  auto ref_text = [&](const std::optional<WrittenRef>& ref) -> std::string {
    if (!ref) return "";
    if (ref->label) return "the object labelled \"" + *ref->label + "\"";
    if (ref->key) return ref->class_name + " " + *ref->key;
    const emu::ClassDef* def = host.GetStore().GetModel().ByName(ref->class_name);
    return def ? DescribeObject(host, emu::ObjectRef{def->id, ref->id.value_or(0)})
               : ref->class_name;
  };
  std::vector<std::string> values;
  for (const auto& [name, value] : step.values) {
    values.push_back(fmt::format("{} = {}", name, DescribeValue(host, value)));
  }
  std::string with = values.empty() ? "" : fmt::format(" ({})", fmt::join(values, ", "));
  const std::string& a = step.action;
  if (a == "update") {
    out_ << "  Korvel stores the changes of " << ref_text(step.object) << with << "\n";
  } else if (a == "insert") {
    out_ << "  Korvel creates a " << step.class_name << with << "\n";
  } else if (a == "delete") {
    out_ << "  Korvel deletes " << ref_text(step.object) << "\n";
  } else if (a == "link") {
    out_ << "  Korvel links " << ref_text(step.from) << " to " << ref_text(step.to) << " ("
         << step.class_name << ")\n";
  } else if (a == "setGlobal") {
    out_ << "  Korvel sets the session value " << step.name << "\n";
  } else if (a == "environment") {
    const WrittenEnvironment& env = step.environment;
    std::string who;
    if (env.user && *env.user) who = " " + ref_text(**env.user) + " logs on";
    if (env.computer_name) who += " at " + *env.computer_name;
    out_ << "  The session changes:" << (who.empty() ? " new environment" : who) << "\n";
  }
  if (!entry["error"].is_null()) {
    out_ << fmt::format("  ! run-time error {}: {}\n", entry["error"].value("number", 0),
                        entry["error"].value("description", ""));
  }
}

void SessionPrinter::PrintSeen(const Json& entry, emu::EmulatedHost& host) {
  for (const auto& m : entry["messages"]) {
    std::optional<std::string> title;
    if (m["title"].is_string()) title = m["title"].get<std::string>();
    out_.flush();
    presenter_.ShowMessage(m.value("text", ""), m.value("style", 0), title);
  }
  for (const auto& d : entry["dialogs"]) {
    out_ << fmt::format("  Dialog \"{}\": {}\n", d.value("caption", ""),
                        FormatJsonOneLine(d["lines"]));
  }
  const Json& views = entry["views"];
  for (const auto& v : views) {
    if (!v.value("shown", false)) continue;
    std::vector<emu::ObjectRef> objects;
    bool all_history = true;
    for (const auto& o : v["objects"]) {
      const emu::ClassDef* def = host.GetStore().GetModel().ByName(o.value("class", ""));
      if (def) objects.push_back(emu::ObjectRef{def->id, o.value("id", 0)});
      all_history = all_history && def && def->name == kRecordClass;
    }
    out_ << fmt::format("  View \"{}\" ({} objects; {} view(s) created, this one on screen)\n",
                        v.value("caption", ""), objects.size(), views.size());
    if (all_history) {
      PrintHistoryTable(host, objects);
    } else {
      for (const auto& ref : objects) out_ << "    " << DescribeObject(host, ref) << "\n";
    }
  }
  for (const auto& n : entry["notifications"]) {
    out_ << fmt::format(
        "  Korvel's user interface is told that {} object(s) {}\n", n["objects"].size(),
        n.value("kind", 0) == 2 ? "were deleted"
                                : fmt::format("changed (kind {})", n.value("kind", 0)));
  }
  for (const auto& r : entry["reports"]) {
    out_ << fmt::format("  Quick report of {} history object(s), returned {}\n",
                        r["objects"].size(), FormatJsonOneLine(r["returned"]));
    for (const auto& f : r["files"]) {
      out_ << "    " << f.get<std::string>() << "\n";
      report_files_.push_back(f.get<std::string>());
    }
  }
  for (const auto& f : entry["files"]["created"])
    out_ << "  Folder created: " << f.get<std::string>() << "\n";
  for (const auto& f : entry["files"]["deleted"])
    out_ << "  File deleted: " << f.get<std::string>() << "\n";
}

void SessionPrinter::PrintHistoryTable(emu::EmulatedHost& host,
                                       const std::vector<emu::ObjectRef>& objects) {
  out_ << "    " << Pad("Id", 6) << Pad("When", 21) << Pad("Operation", 12) << Pad("User", 20)
       << Pad("Machine", 10) << "Description\n";
  for (const auto& ref : objects) {
    std::optional<emu::Values> values = ReadFields(host, ref);
    if (!values) {
      out_ << "    " << Pad(std::to_string(ref.object_id), 6) << "(no longer stored)\n";
      continue;
    }
    std::vector<std::string> lines = Lines(Field(*values, "CN_DESCRIPTION"));
    out_ << "    " << Pad(std::to_string(ref.object_id), 6)
         << Pad(Field(*values, "KV_CREATED_AT"), 21)
         << Pad(Clip(Field(*values, "CN_HOOK_OPERATION"), 11), 12)
         << Pad(Clip(Field(*values, "CN_USER_NAME"), 19), 20)
         << Pad(Clip(Field(*values, "CN_MACHINE_NAME"), 9), 10)
         << Clip(lines.empty() ? "" : lines.front(), 60) << "\n";
  }
}

void SessionPrinter::PrintRecordsMade(emu::EmulatedHost& host) {
  emu::Store& store = host.GetStore();
  const emu::ClassDef* record_class = store.GetModel().ByName(kRecordClass);
  if (!record_class) return;
  for (const emu::ObjectRef& ref : store.TakeStored()) {
    if (!store.GetModel().IsA(ref.class_id, record_class->id)) continue;
    out_ << fmt::format("  Electronic record #{}:\n", ref.object_id);
    const emu::ClassDef& def = *store.GetModel().ById(ref.class_id);
    const int description = def.FindAttribute("CN_DESCRIPTION");
    const auto values = store.Objects().Read(def, ref.object_id);
    if (!values || description < 0) continue;
    for (const auto& line : Lines(CellText((*values)[description]))) {
      if (!line.empty()) out_ << "    " << line << "\n";
    }
  }
}

void SessionPrinter::PrintAuditTrail(emu::EmulatedHost& host, const emu::ObjectRef& object) {
  out_ << "\nAudit trail of " << DescribeObject(host, object) << "\n";
  int count = 0;
  for (const auto& record : host.GetStore().Dump(kRecordClass)) {
    const Variant* object_id = Find(record.values, "CN_OBJECT_ID");
    const Variant* class_id = Find(record.values, "CN_CLASS_ID");
    if (!object_id || !class_id || CellText(*object_id) != std::to_string(object.object_id) ||
        CellText(*class_id) != std::to_string(object.class_id))
      continue;
    ++count;
    std::string logon = Field(record.values, "CN_USER_NT_ID");
    out_ << fmt::format(
        "  #{} {} {} by {}{} on {}\n", record.ref.object_id, Field(record.values, "KV_CREATED_AT"),
        Field(record.values, "CN_HOOK_OPERATION"), Field(record.values, "CN_USER_NAME"),
        logon.empty() ? "" : " (" + logon + ")", Field(record.values, "CN_MACHINE_NAME"));
    for (const auto& line : Lines(Field(record.values, "CN_DESCRIPTION"))) {
      if (!line.empty()) out_ << "      " << line << "\n";
    }
  }
  if (count == 0) out_ << "  (no electronic records)\n";
}

}  // namespace vtx::cli
