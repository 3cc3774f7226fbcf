#include "app/application.h"
#include "host/kv_host.h"

namespace vtx {

namespace {

ParamInfo SessionParam(bool by_ref) {
  return {"KvSession", ParamType::kObject, by_ref, false, "KvSession"};
}
ParamInfo RecordListParam(const char* name) {
  return {name, ParamType::kObject, true, false, "KvRecordList"};
}
ParamInfo OperationParam() { return {"Operation", ParamType::kString, true}; }

// Arguments of the three history operations: (KvSession, FirstRec), both by
// reference and written back after the call.
template <class Operation>
Variant CallWithSessionAndList(std::vector<Variant>& args, Operation operation) {
  Ref<KvSession> session = arg::Object<KvSession>(args[0]);
  Ref<KvRecordList> list = arg::Object<KvRecordList>(args[1]);
  Variant result = operation(session, list);
  args[0] = Variant(session);
  args[1] = Variant(list);
  return result;
}

}  // namespace

const MethodTable<Application>& Application::Methods() {
  static const MethodTable<Application> table = [] {
    MethodTable<Application> t;
    t.Add({"ViewHistory", {SessionParam(true), RecordListParam("FirstRec")}, false},
          [](Application& self, std::vector<Variant>& args) {
            return CallWithSessionAndList(args, [&](auto& session, auto& list) {
              self.ViewHistory(session, list);
              return Variant();
            });
          });
    t.Add({"GenerateHistoryReport", {SessionParam(true), RecordListParam("FirstRec")}, false},
          [](Application& self, std::vector<Variant>& args) {
            return CallWithSessionAndList(args, [&](auto& session, auto& list) {
              self.GenerateHistoryReport(session, list);
              return Variant();
            });
          });
    t.Add({"DeleteHistory", {SessionParam(true), RecordListParam("FirstRec")}, true},
          [](Application& self, std::vector<Variant>& args) {
            return CallWithSessionAndList(args, [&](auto& session, auto& list) {
              return Variant(self.DeleteHistory(session, list));
            });
          });
    t.Add({"ExecuteCreateNewERObject",
           {SessionParam(true), OperationParam(), RecordListParam("RecordList")},
           true},
          [](Application& self, std::vector<Variant>& args) {
            Ref<KvSession> session = arg::Object<KvSession>(args[0]);
            std::string operation = args[1].ToString();
            Ref<KvRecordList> list = arg::Object<KvRecordList>(args[2]);
            Variant result(self.ExecuteCreateNewERObject(session, operation, list));
            args[0] = Variant(session);
            args[1] = Variant(operation);
            args[2] = Variant(list);
            return result;
          });
    t.Add({"ExecuteSaveObjectAsGlobal",
           {SessionParam(false), OperationParam(), RecordListParam("RecordList")},
           true},
          [](Application& self, std::vector<Variant>& args) {
            std::string operation = args[1].ToString();
            Ref<KvRecordList> list = arg::Object<KvRecordList>(args[2]);
            Variant result(
                self.ExecuteSaveObjectAsGlobal(arg::Object<KvSession>(args[0]), operation, list));
            args[1] = Variant(operation);
            args[2] = Variant(list);
            return result;
          });
    return t;
  }();
  return table;
}

}  // namespace vtx
