#include "app/application.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "registration/com_identity.h"
#include "support/mock_application_workers.h"
#include "support/mock_kv_record.h"
#include "support/mock_kv_session.h"

namespace vtx::testing {
namespace {

using ::testing::_;
using ::testing::NiceMock;
using ::testing::Return;
using ::testing::StrictMock;

// Stands in for a start-up that succeeds or fails, so that these tests look
// at the hand-over to the workers alone.
class ApplicationWithStartUp : public Application {
 public:
  ApplicationWithStartUp(ApplicationWorkers& workers, bool ready)
      : Application(workers), ready_(ready) {}
  int start_ups = 0;

 private:
  bool InitializeAddIn(Ref<KvSession>&) override {
    ++start_ups;
    return ready_;
  }
  bool ready_;
};

struct StatusCase {
  std::string name;
  std::function<void(MockApplicationWorkers&)> answer;
  std::function<int16_t(Application&)> call;
  int16_t expected;
};

class StatusMappingTest : public ::testing::TestWithParam<StatusCase> {};

Ref<KvSession> Session() { return MakeRef<NiceMock<MockKvSession>>(); }
Ref<KvRecordList> List() { return MakeRef<NiceMock<MockKvRecordList>>(); }

int16_t CallDelete(Application& app) {
  auto session = Session();
  auto list = List();
  return app.DeleteHistory(session, list);
}
int16_t CallCreate(Application& app) {
  auto session = Session();
  auto list = List();
  std::string operation = "CHECKIN";
  return app.ExecuteCreateNewERObject(session, operation, list);
}
int16_t CallSave(Application& app) {
  auto list = List();
  std::string operation = "UPDATE";
  return app.ExecuteSaveObjectAsGlobal(Session(), operation, list);
}

TEST_P(StatusMappingTest, MapsTheWorkersAnswer) {
  StrictMock<MockApplicationWorkers> workers;
  GetParam().answer(workers);
  ApplicationWithStartUp app(workers, true);
  EXPECT_EQ(GetParam().call(app), GetParam().expected);
  EXPECT_EQ(app.start_ups, 1);
}

INSTANTIATE_TEST_SUITE_P(
    Workers, StatusMappingTest,
    ::testing::Values(
        StatusCase{"DeleteSucceeded",
                   [](auto& w) { EXPECT_CALL(w, DeleteRelatedHistory).WillOnce(Return(true)); },
                   CallDelete, 0},
        StatusCase{"DeleteFailed",
                   [](auto& w) { EXPECT_CALL(w, DeleteRelatedHistory).WillOnce(Return(false)); },
                   CallDelete, 1},
        StatusCase{"CreateSucceeded",
                   [](auto& w) { EXPECT_CALL(w, CreateNewERObject).WillOnce(Return(true)); },
                   CallCreate, 0},
        StatusCase{"CreateFailed",
                   [](auto& w) { EXPECT_CALL(w, CreateNewERObject).WillOnce(Return(false)); },
                   CallCreate, 1},
        StatusCase{"SaveKeptTrue",
                   [](auto& w) { EXPECT_CALL(w, SaveObjectAsGlobal).WillOnce(Return(-1)); },
                   CallSave, 0},
        StatusCase{"SaveKeptAnyNonZero",
                   [](auto& w) { EXPECT_CALL(w, SaveObjectAsGlobal).WillOnce(Return(7)); },
                   CallSave, 0},
        StatusCase{"SaveNotKept",
                   [](auto& w) { EXPECT_CALL(w, SaveObjectAsGlobal).WillOnce(Return(0)); },
                   CallSave, 1}),
    [](const auto& info) { return info.param.name; });

TEST(StartUpFailure, NoWorkerIsCreatedAndFunctionsReturnZero) {
  StrictMock<MockApplicationWorkers> workers;
  ApplicationWithStartUp app(workers, false);
  auto session = Session();
  auto list = List();
  std::string operation = "CHECKIN";

  app.ViewHistory(session, list);
  app.GenerateHistoryReport(session, list);
  EXPECT_EQ(app.DeleteHistory(session, list), 0);
  EXPECT_EQ(app.ExecuteCreateNewERObject(session, operation, list), 0);
  EXPECT_EQ(app.ExecuteSaveObjectAsGlobal(session, operation, list), 0);
  EXPECT_EQ(app.start_ups, 5);
}

TEST(HandOver, WorkersGetTheFacadesArgumentsUnchanged) {
  StrictMock<MockApplicationWorkers> workers;
  ApplicationWithStartUp app(workers, true);
  auto session = Session();
  auto list = List();
  std::string operation = "DELETE";

  EXPECT_CALL(workers, ViewHistory(::testing::Ref(session), ::testing::Ref(list)));
  EXPECT_CALL(workers, GenerateHistoryReport(::testing::Ref(session), ::testing::Ref(list)))
      .WillOnce(Return(3));
  EXPECT_CALL(workers, CreateNewERObject(session, "DELETE", ::testing::Ref(list)))
      .WillOnce(Return(true));
  EXPECT_CALL(workers, SaveObjectAsGlobal(session, "DELETE", ::testing::Ref(list)))
      .WillOnce(Return(-1));

  app.ViewHistory(session, list);
  app.GenerateHistoryReport(session, list);
  app.ExecuteCreateNewERObject(session, operation, list);
  app.ExecuteSaveObjectAsGlobal(session, operation, list);
  EXPECT_EQ(operation, "DELETE");
}

TEST(HandOver, AWorkersErrorReachesTheCaller) {
  StrictMock<MockApplicationWorkers> workers;
  ApplicationWithStartUp app(workers, true);
  EXPECT_CALL(workers, CreateNewERObject).WillOnce([](auto, auto&, auto&) -> bool {
    Raise(err::kHostFailure, "Store failed");
  });
  try {
    CallCreate(app);
    FAIL() << "the worker's error was swallowed";
  } catch (const RuntimeError& error) {
    EXPECT_EQ(error.Number(), err::kHostFailure);
    EXPECT_EQ(error.Description(), "Store failed");
  }
}

// The late-bound table is what the type library and the scenario runner see.
TEST(LateBinding, DeclaresTheInterfaceInItsFixedOrderAndNames) {
  const auto& table = Application::Methods();
  EXPECT_EQ(table.Methods().size(), registration::kApplicationOperations.size());
  struct Expected {
    std::vector<std::string> params;
    std::vector<bool> by_ref;
    bool has_result;
  };
  const Expected expected[] = {
      {{"KvSession", "FirstRec"}, {true, true}, false},
      {{"KvSession", "FirstRec"}, {true, true}, false},
      {{"KvSession", "FirstRec"}, {true, true}, true},
      {{"KvSession", "Operation", "RecordList"}, {true, true, true}, true},
      {{"KvSession", "Operation", "RecordList"}, {false, true, true}, true},
  };
  for (size_t i = 0; i < registration::kApplicationOperations.size(); ++i) {
    const std::string name(registration::kApplicationOperations[i]);
    const MethodInfo* method = table.Find(name);
    ASSERT_NE(method, nullptr) << name;
    EXPECT_EQ(method->name, name);
    EXPECT_EQ(method->has_result, expected[i].has_result) << name;
    ASSERT_EQ(method->params.size(), expected[i].params.size()) << name;
    for (size_t p = 0; p < method->params.size(); ++p) {
      EXPECT_EQ(method->params[p].name, expected[i].params[p]) << name;
      EXPECT_EQ(method->params[p].by_ref, expected[i].by_ref[p]) << name << " " << p;
    }
  }
}

TEST(LateBinding, ResultIsASixteenBitStatus) {
  NiceMock<MockApplicationWorkers> workers;
  ON_CALL(workers, DeleteRelatedHistory).WillByDefault(Return(false));
  ApplicationWithStartUp app(workers, true);
  std::vector<Variant> args{Variant(Session()), Variant(List())};

  Variant result = app.Invoke("DeleteHistory", InvokeKind::kMethod, args);
  EXPECT_EQ(result, Variant(int16_t{1}));

  std::vector<Variant> none{Variant(Session()), Variant(List())};
  EXPECT_TRUE(app.Invoke("ViewHistory", InvokeKind::kMethod, none).IsEmpty());
}

}  // namespace
}  // namespace vtx::testing
