#include "app/application.h"

namespace vtx {

namespace {

// The host reads 0 as success and 1 as failure.
int16_t StatusOf(bool succeeded) { return succeeded ? 0 : 1; }

}  // namespace

void Application::ViewHistory(Ref<KvSession>& KvSession, Ref<KvRecordList>& FirstRec) {
  if (!InitializeAddIn(KvSession)) return;
  workers_.ViewHistory(KvSession, FirstRec);
}

void Application::GenerateHistoryReport(Ref<KvSession>& KvSession, Ref<KvRecordList>& FirstRec) {
  if (!InitializeAddIn(KvSession)) return;
  // The host expects nothing back from a report; the count is of no use here.
  workers_.GenerateHistoryReport(KvSession, FirstRec);
}

int16_t Application::DeleteHistory(Ref<KvSession>& KvSession, Ref<KvRecordList>& FirstRec) {
  if (!InitializeAddIn(KvSession)) return 0;
  return StatusOf(workers_.DeleteRelatedHistory(KvSession, FirstRec));
}

int16_t Application::ExecuteCreateNewERObject(Ref<KvSession>& KvSession, std::string& Operation,
                                              Ref<KvRecordList>& RecordList) {
  if (!InitializeAddIn(KvSession)) return 0;
  return StatusOf(workers_.CreateNewERObject(KvSession, Operation, RecordList));
}

int16_t Application::ExecuteSaveObjectAsGlobal(Ref<KvSession> KvSession, std::string& Operation,
                                               Ref<KvRecordList>& RecordList) {
  if (!InitializeAddIn(KvSession)) return 0;
  // This worker answers with an integer: any non-zero value means it kept the
  // object.
  return StatusOf(workers_.SaveObjectAsGlobal(KvSession, Operation, RecordList) != 0);
}

Variant Application::Invoke(std::string_view name, InvokeKind kind, std::vector<Variant>& args) {
  if (kind != InvokeKind::kMethod) return Dispatch::Invoke(name, kind, args);
  return Methods().Invoke(*this, name, args);
}

}  // namespace vtx
