#pragma once

#include <cstdint>
#include <string>

#include "host/kv_forward.h"

namespace vtx {

// The hand-over from the facade to its workers. Each call creates one fresh
// worker, passes it the facade's arguments unchanged, returns its answer and
// releases the worker before returning; an error the worker lets escape
// passes through untouched.
// Thread-safety: implementations keep no state; Default() may serve every
// thread.
class ApplicationWorkers {
 public:
  virtual ~ApplicationWorkers() = default;

  // clsUtils.
  virtual void ViewHistory(Ref<KvSession>& KvSession, Ref<KvRecordList>& FirstRec) = 0;
  virtual int16_t GenerateHistoryReport(Ref<KvSession>& KvSession, Ref<KvRecordList>& FirstRec) = 0;
  virtual bool DeleteRelatedHistory(Ref<KvSession>& KvSession, Ref<KvRecordList>& FirstRec) = 0;
  // clsElectronicRecord.
  virtual bool CreateNewERObject(Ref<KvSession> KvSession, const std::string& Operation,
                                 Ref<KvRecordList>& RecordList) = 0;
  virtual int16_t SaveObjectAsGlobal(Ref<KvSession> KvSession, const std::string& Operation,
                                     Ref<KvRecordList>& RecordList) = 0;

  // The add-in's own workers. The returned object lives for the process.
  static ApplicationWorkers& Default();
};

}  // namespace vtx
