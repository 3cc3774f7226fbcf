#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "app/application_workers.h"
#include "runtime/method_table.h"

namespace vtx {

// The add-in's public class (ProgID "VTX_HA.Application"): the entry the host
// calls from its operation hooks and menu commands. Every operation runs the
// start-up on the session it is given, then hands its arguments to one fresh
// worker and turns the worker's answer into the status the host expects:
// 0 success, 1 failure, and 0 as well when the start-up failed and nothing
// was done.
//
// Errors: none are trapped. A failing KvSession.GetLanguage and any error a
// worker lets escape reach the caller as a RuntimeError.
// Ownership: keeps nothing between calls; by-reference arguments are the
// caller's and are handed on unchanged.
// Thread-safety: apartment model; an instance is used on the thread that
// created it, and the start-up writes only that thread's module values.
class Application : public Dispatch {
 public:
  Application() : Application(ApplicationWorkers::Default()) {}
  // `workers` must outlive the instance.
  explicit Application(ApplicationWorkers& workers) : workers_(workers) {}

  void ViewHistory(Ref<KvSession>& KvSession, Ref<KvRecordList>& FirstRec);
  void GenerateHistoryReport(Ref<KvSession>& KvSession, Ref<KvRecordList>& FirstRec);
  int16_t DeleteHistory(Ref<KvSession>& KvSession, Ref<KvRecordList>& FirstRec);
  int16_t ExecuteCreateNewERObject(Ref<KvSession>& KvSession, std::string& Operation,
                                   Ref<KvRecordList>& RecordList);
  int16_t ExecuteSaveObjectAsGlobal(Ref<KvSession> KvSession, std::string& Operation,
                                    Ref<KvRecordList>& RecordList);

  Variant Invoke(std::string_view name, InvokeKind kind, std::vector<Variant>& args) override;
  std::string_view GetTypeName() const override { return "Application"; }
  static const MethodTable<Application>& Methods();

 private:
  // Reads the session language and the interface font, then sets and
  // translates the interface texts. True when the call may go on. Virtual so
  // that a test can stand in for a start-up that fails.
  virtual bool InitializeAddIn(Ref<vtx::KvSession>& KvSession);

  ApplicationWorkers& workers_;
};

}  // namespace vtx
