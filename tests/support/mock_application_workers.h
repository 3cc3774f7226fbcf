#pragma once

#include <gmock/gmock.h>

#include <string>

#include "app/application_workers.h"
#include "host/kv_host.h"

namespace vtx::testing {

// gmock stand-in for the facade's workers: lets a test choose each worker's
// answer and see whether a worker was reached at all. Used on the test's
// thread only.
class MockApplicationWorkers : public ApplicationWorkers {
 public:
  MOCK_METHOD(void, ViewHistory, (Ref<KvSession> & KvSession, Ref<KvRecordList>& FirstRec),
              (override));
  MOCK_METHOD(int16_t, GenerateHistoryReport,
              (Ref<KvSession> & KvSession, Ref<KvRecordList>& FirstRec), (override));
  MOCK_METHOD(bool, DeleteRelatedHistory, (Ref<KvSession> & KvSession, Ref<KvRecordList>& FirstRec),
              (override));
  MOCK_METHOD(bool, CreateNewERObject,
              (Ref<KvSession> KvSession, const std::string& Operation,
               Ref<KvRecordList>& RecordList),
              (override));
  MOCK_METHOD(int16_t, SaveObjectAsGlobal,
              (Ref<KvSession> KvSession, const std::string& Operation,
               Ref<KvRecordList>& RecordList),
              (override));
};

}  // namespace vtx::testing
