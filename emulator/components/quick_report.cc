#include "emulator/components/quick_report.h"

#include <fmt/format.h>

#include "emulator/components/report_writer.h"
#include "emulator/gui/gui_notifier.h"
#include "emulator/session/no_case.h"
#include "host/kv_class.h"
#include "host/kv_object.h"

namespace vtx::emu {

namespace {

std::string CellText(const Variant& value) {
  if (value.IsNull() || value.IsEmpty() || value.IsObject() || value.IsArray()) return {};
  try {
    return value.ToString();
  } catch (const RuntimeError&) {
    return {};
  }
}

ReportRow RowOf(const Ref<KvObject>& object) {
  ReportRow row;
  row.class_name = object->GetClass()->GetName();
  row.object_id = object->GetObjectId();
  row.key = object->GetKeyText(" ");
  Ref<KvAttributes> attributes = object->GetAttributes();
  const int32_t count = attributes->GetCount();
  for (int32_t i = 0; i < count; ++i) {
    const std::string name = attributes->Item(Variant(i))->GetName();
    if (name == attr::kClassId || name == attr::kObjectId) continue;
    row.values.emplace_back(name, CellText(object->GetValue(name)));
  }
  return row;
}

}  // namespace

Variant QuickReport::Invoke(std::string_view name, InvokeKind kind, std::vector<Variant>& args) {
  if (kind != InvokeKind::kMethod || !SameNoCase(name, "GenerateReportByObjects"))
    Raise(err::kNotSupported);
  if (args.size() != 2) Raise(450, "Wrong number of arguments or invalid property assignment");
  return GenerateReportByObjects(args[0], args[1]);
}

Variant QuickReport::GenerateReportByObjects(const Variant& session, const Variant& objects) {
  state_->Enter("GenerateRpt.GenerateReportByObjects", {session, objects});
  Ref<KvObjects> collection = objects.ToObjectAs<KvObjects>();
  if (!collection) Raise(err::kObjectVariableNotSet);

  ReportRecord record;
  std::vector<ReportRow> rows;
  {
    CallMonitor::Pause pause(*state_->monitor);
    const int32_t count = collection->GetCount();
    if (count > INT16_MAX) Raise(err::kOverflow);
    for (int32_t i = 0; i < count; ++i) {
      Ref<KvObject> object = collection->Item(i);
      record.objects.push_back(ObjectRef{object->GetClassId(), object->GetObjectId()});
      rows.push_back(RowOf(object));
    }
  }
  const std::string base_name = fmt::format("Report_{:04}", ++state_->reports_written);
  ReportFiles files = WriteReport(state_->ReportFolder(), base_name, rows);
  for (const auto& path : {files.html, files.csv}) {
    record.host_files.push_back(path);
    record.files.push_back(state_->DisplayPath(path));
  }
  record.returned = Variant(static_cast<int16_t>(rows.size()));
  state_->recorder.Reported(record);
  return record.returned;
}

}  // namespace vtx::emu
