#include "emulator/components/quick_report.h"

#include <fmt/format.h>
#include <algorithm>
#include <unordered_set>

#include "emulator/components/report_writer.h"
#include "emulator/gui/gui_notifier.h"
#include "emulator/host_objects/store_interfaces.h"
#include "emulator/session/no_case.h"
#include "emulator/store/ledger.h"
#include "emulator/store/ledger_anchor.h"
#include "host/kv_class.h"
#include "host/kv_object.h"

namespace vtx::emu {

namespace {

std::string CellText(const Variant& value, int32_t type) {
  if (value.IsNull() || value.IsEmpty() || value.IsObject() || value.IsArray()) return {};
  try {
    return type == ftype::kDate ? ReadableDate(value.ToDate()) : value.ToString();
  } catch (const RuntimeError&) {
    return {};
  }
}

// The attribute's label: its external name; the host's own time stamps are
// labelled by the host.
std::string LabelOf(const Ref<KvAttribute>& attribute) {
  const std::string name = attribute->GetName();
  if (name == attr::kCreatedAt) return "Time";
  if (name == attr::kCreatedBy) return "Created By";
  const std::string external = attribute->GetExternalName();
  return external.empty() ? name : external;
}

// "Part PN-01000 A", or what is known of an object no longer stored.
std::string ObjectTitle(HostState& state, const Ref<KvObjectStore>& objects, ObjectRef ref) {
  if (state.store->Find(state.store->ClassOrRaise(ref.class_id).name, ref.object_id)) {
    Ref<KvObject> object = LoadObject(*state.store, objects, ref);
    return object->GetClass()->GetName() + " " + object->GetKeyText(" ");
  }
  return fmt::format("{} {} (no longer stored)", state.store->ClassOrRaise(ref.class_id).name,
                     ref.object_id);
}

ReportRow RowOf(HostState& state, const Ref<KvObject>& object) {
  ReportRow row;
  row.class_name = object->GetClass()->GetName();
  row.object_id = object->GetObjectId();
  row.key = object->GetKeyText(" ");
  Ref<KvAttributes> attributes = object->GetAttributes();
  const int32_t count = attributes->GetCount();
  for (int32_t i = 0; i < count; ++i) {
    Ref<KvAttribute> attribute = attributes->Item(Variant(i));
    const std::string name = attribute->GetName();
    if (name == attr::kClassId || name == attr::kObjectId) continue;
    row.values.push_back(ReportValue{
        name, LabelOf(attribute), CellText(object->GetValue(name), attribute->GetAttributeType())});
  }
  // A record is listed under the object it is about.
  const ClassDef& def = state.store->ClassOrRaise(object->GetClassId());
  if (def.FindAttribute("CN_OBJECT_ID") >= 0 && def.FindAttribute("CN_CLASS_ID") >= 0) {
    const Variant about = object->GetValue("CN_OBJECT_ID");
    const Variant about_class = object->GetValue("CN_CLASS_ID");
    try {
      const ObjectRef ref{about_class.ToInt16(), about.ToInt32()};
      if (state.store->GetModel().ById(ref.class_id))
        row.section = ObjectTitle(state, object->GetObjectStore(), ref);
    } catch (const RuntimeError&) {  // Null or out of range: the record's own title
    }
  }
  if (row.section.empty()) row.section = row.class_name + " " + row.key;
  return row;
}

// "Doe, Jane (jdoe) on WS-042": the logged-in user as the session knows him.
std::string Reporter(HostState& state, const Ref<KvObjectStore>& objects) {
  const Environment& env = state.environment;
  std::string name;
  const int16_t class_id = env.user ? state.ClassIdOf(env.user->class_name) : 0;
  if (class_id && objects && state.store->Find(env.user->class_name, env.user->object_id)) {
    Ref<KvObject> user = LoadObject(*state.store, objects, {class_id, env.user->object_id});
    const ClassDef& def = state.store->ClassOrRaise(class_id);
    const auto text = [&](const char* attribute) {
      return def.FindAttribute(attribute) >= 0 ? CellText(user->GetValue(attribute), ftype::kText)
                                               : std::string();
    };
    name = text("LAST_NAME");
    if (const std::string first = text("FIRST_NAME"); !first.empty()) name += ", " + first;
  }
  if (name.empty() || env.logon_name.empty())
    return (name.empty() ? env.logon_name : name) + " on " + env.computer_name;
  return fmt::format("{} ({}) on {}", name, env.logon_name, env.computer_name);
}

// The ledger's head, and whether each reported electronic record still
// matches its ledger entry, read in the snapshot the rows were read in.
void AddLedgerStanding(Store& store, double now, ReportHeading& heading,
                       std::vector<ReportRow>& rows) {
  const Model& model = store.GetModel();
  if (!model.ledger) return;
  Database& db = store.Db();
  heading.ledger_head = HeadText(ReadHead(db), now);
  auto record_class = [&](const ReportRow& row) -> const ClassDef* {
    const ClassDef* def = model.ByName(row.class_name);
    return def && IsLedgered(model, *def) ? def : nullptr;
  };
  std::unordered_set<int32_t> ids;
  for (const ReportRow& row : rows)
    if (record_class(row)) ids.insert(row.object_id);
  const auto latest = LatestEntries(db, ids);
  for (ReportRow& row : rows) {
    const ClassDef* def = record_class(row);
    if (!def) continue;
    const auto digest = RecordDigest(db, *def, row.object_id);
    const auto entry = latest.find(row.object_id);
    row.ledger_matches = false;
    if (!digest)
      row.ledger = "not stored";
    else if (entry == latest.end() || entry->second.action != kInsertAction)
      row.ledger = "no ledger entry";
    else if (entry->second.digest != *digest)
      row.ledger = fmt::format("entry #{}: DOES NOT MATCH", entry->second.seq);
    else {
      row.ledger = fmt::format("entry #{}: matches", entry->second.seq);
      row.ledger_matches = true;
    }
  }
}

}  // namespace

Variant QuickReport::Invoke(std::string_view name, InvokeKind kind, std::vector<Variant>& args) {
  if (kind != InvokeKind::kMethod || !SameNoCase(name, "GenerateReportByObjects"))
    Raise(err::kNotSupported);
  if (args.size() != 2) Raise(450, "Wrong number of arguments or invalid property assignment");
  state_->Enter(op::GenerateRpt::GenerateReportByObjects, args[0], args[1]);
  return Variant(Report(args[1].ToObjectAs<KvObjects>()));
}

int16_t QuickReport::GenerateReportByObjects(Ref<KvSession>& session, Ref<KvObjects>& objects) {
  state_->Enter(op::GenerateRpt::GenerateReportByObjects, ByReference(session),
                ByReference(objects));
  return Report(objects);
}

int16_t QuickReport::Report(const Ref<KvObjects>& collection) {
  if (!collection) Raise(err::kObjectVariableNotSet);

  ReportRecord record;
  std::vector<ReportRow> rows;
  ReportHeading heading;
  {
    CallMonitor::Pause pause(*state_->monitor);
    const int32_t count = collection->GetCount();
    if (count > INT16_MAX) Raise(err::kOverflow);
    Ref<KvObjectStore> object_store;
    for (int32_t i = 0; i < count; ++i) {
      Ref<KvObject> object = collection->Item(i);
      object_store = object->GetObjectStore();
      record.objects.push_back(ObjectRef{object->GetClassId(), object->GetObjectId()});
      rows.push_back(RowOf(*state_, object));
    }
    std::vector<std::string> sections;
    for (const ReportRow& row : rows)
      if (std::find(sections.begin(), sections.end(), row.section) == sections.end()) {
        heading.subject += (sections.empty() ? "" : "; ") + row.section;
        sections.push_back(row.section);
      }
    if (heading.subject.empty()) heading.subject = "no objects";
    heading.generated_at = ReadableDate(state_->Now());
    heading.generated_by = Reporter(*state_, object_store);
    heading.program = "the quick report of the emulated Korvel host (KvQuickReport.GenerateRpt)";
    AddLedgerStanding(*state_->store, state_->Now(), heading, rows);
  }
  ReportFiles files =
      WriteReport(state_->ReportFolder(), "Report", state_->reports_written + 1, heading, rows);
  state_->reports_written = files.number;
  for (const auto& path : {files.html, files.csv}) {
    record.host_files.push_back(path);
    record.files.push_back(state_->DisplayPath(path));
  }
  const auto reported = static_cast<int16_t>(rows.size());
  record.returned = Variant(reported);
  state_->recorder.Reported(record);
  return reported;
}

}  // namespace vtx::emu
