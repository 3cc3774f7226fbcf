#include "history/quick_report_call.h"

#include "host/kv_components.h"
#include "platform/platform.h"

namespace vtx {

// The component is reached through its declared interface, so the two
// references cross as by-reference objects (VT_BYREF | VT_DISPATCH), which a
// component declaring them so accepts; a plain late-bound call would pass
// them as by-reference Variants, which such a component refuses (13).
int16_t history::CallQuickReport(Ref<KvSession>& session, Ref<KvObjects>& objects) {
  Ref<GenerateRpt> report =
      CastTo<GenerateRpt>(Platform::Current().CreateObject(progid::kQuickReport));
  Ref<KvSession> session_copy = session;
  Ref<KvObjects> objects_copy = objects;
  const int16_t result = report->GenerateReportByObjects(session_copy, objects_copy);
  session = session_copy;
  objects = objects_copy;
  report.reset();
  objects->Clear();
  return result;
}

}  // namespace vtx
