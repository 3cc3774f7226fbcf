#include "app/application_workers.h"

#include "records/cls_electronic_record.h"
#include "utils/cls_utils.h"

namespace vtx {

namespace {

// A worker never carries anything from one host call to the next, so each
// call gets its own, dropped when the call returns.
class AddInWorkers final : public ApplicationWorkers {
 public:
  void ViewHistory(Ref<KvSession>& KvSession, Ref<KvRecordList>& FirstRec) override {
    MakeRef<clsUtils>()->ViewHistory(KvSession, FirstRec);
  }
  int16_t GenerateHistoryReport(Ref<KvSession>& KvSession, Ref<KvRecordList>& FirstRec) override {
    return MakeRef<clsUtils>()->GenerateHistoryReport(KvSession, FirstRec);
  }
  bool DeleteRelatedHistory(Ref<KvSession>& KvSession, Ref<KvRecordList>& FirstRec) override {
    return MakeRef<clsUtils>()->DeleteRelatedHistory(KvSession, FirstRec);
  }
  bool CreateNewERObject(Ref<KvSession> KvSession, const std::string& Operation,
                         Ref<KvRecordList>& RecordList) override {
    return MakeRef<clsElectronicRecord>()->CreateNewERObject(KvSession, Operation, RecordList);
  }
  int16_t SaveObjectAsGlobal(Ref<KvSession> KvSession, const std::string& Operation,
                             Ref<KvRecordList>& RecordList) override {
    return MakeRef<clsElectronicRecord>()->SaveObjectAsGlobal(KvSession, Operation, RecordList);
  }
};

}  // namespace

ApplicationWorkers& ApplicationWorkers::Default() {
  static AddInWorkers workers;
  return workers;
}

}  // namespace vtx
