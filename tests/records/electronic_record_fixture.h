#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "emulator/emulated_host.h"
#include "records/cls_electronic_record.h"

namespace vtx {

// Presets the fields that the public operations set, so that a test can call
// one class-internal operation on its own.
class ElectronicRecordFieldAccess {
 public:
  static void SetSession(clsElectronicRecord& record, const Ref<KvSession>& session) {
    record.SetSession(session);
  }
};

namespace records_test {

inline constexpr int16_t kPart = 100;
inline constexpr int16_t kPartTree = 150;
inline constexpr int16_t kDoc = 200;
inline constexpr int16_t kPartDoc = 250;
inline constexpr int16_t kTool = 300;
inline constexpr int16_t kUser = 400;
inline constexpr int16_t kElectronicRecord = 500;
inline constexpr int16_t kPartRecords = 510;
inline constexpr int16_t kDocRecords = 520;
inline constexpr int16_t kStates = 900;

// A small plant: parts in a composition tree, documents related to parts,
// tools without any record link class, users, and the audit-trail class
// linked to parts and documents.
inline nlohmann::json PlantModel() {
  return nlohmann::json::parse(R"({
  "classes": [
    {"id": 100, "name": "Part", "table": "TN_PARTS", "super": 100, "kind": 1,
     "attributes": [
       {"name": "PART_NUMBER", "external": "Part Number", "type": 1, "length": 40},
       {"name": "REVISION", "external": "Revision", "type": 1, "length": 4},
       {"name": "TITLE", "external": "Title", "type": 1, "length": 80},
       {"name": "STATE", "external": "State", "type": 10, "lookup": 900},
       {"name": "OWNER", "external": "Owner", "type": 10, "lookup": 400},
       {"name": "QTY", "external": "Quantity", "type": 2},
       {"name": "MASS", "external": "Mass", "type": 3},
       {"name": "NOTE", "external": "Note", "type": 1, "length": 80,
        "excludedFromHistory": true}],
     "identifiers": ["PART_NUMBER", "REVISION"], "hierarchyLink": 150},
    {"id": 150, "name": "Part_Tree", "table": "TN_PART_TREE", "super": 150, "kind": 6,
     "ends": [100, 100],
     "attributes": [{"name": "POS", "external": "Position", "type": 2}]},
    {"id": 200, "name": "Doc", "table": "TN_DOCS", "super": 200, "kind": 1,
     "attributes": [{"name": "DOC_NUMBER", "external": "Document", "type": 1, "length": 40},
                    {"name": "TITLE", "external": "Title", "type": 1, "length": 80}],
     "identifiers": ["DOC_NUMBER"]},
    {"id": 250, "name": "Part_Doc", "table": "TN_PART_DOC", "super": 250, "kind": 7,
     "ends": [100, 200],
     "attributes": [{"name": "ROLE", "external": "Role", "type": 1, "length": 20}]},
    {"id": 300, "name": "Tool", "table": "TN_TOOLS", "super": 300, "kind": 1,
     "attributes": [{"name": "TOOL_NUMBER", "external": "Tool", "type": 1, "length": 20}],
     "identifiers": ["TOOL_NUMBER"]},
    {"id": 400, "name": "User", "table": "TN_USERS", "super": 400, "kind": 1,
     "attributes": [{"name": "LOGIN", "external": "Login", "type": 1, "length": 20},
                    {"name": "LAST_NAME", "external": "Last Name", "type": 1, "length": 40},
                    {"name": "FIRST_NAME", "external": "First Name", "type": 1, "length": 40}],
     "identifiers": ["LOGIN"]},
    {"id": 500, "name": "Electronic Record", "table": "TN_ER", "super": 500, "kind": 1,
     "attributes": [
       {"name": "CN_USER_ID", "external": "User Id", "type": 3},
       {"name": "CN_USER_NAME", "external": "User Name", "type": 1, "length": 80},
       {"name": "CN_MACHINE_NAME", "external": "Machine", "type": 1, "length": 255},
       {"name": "CN_USER_NT_ID", "external": "Logon Name", "type": 1, "length": 100},
       {"name": "CN_OBJECT_ID", "external": "Object Id", "type": 3},
       {"name": "CN_CLASS_ID", "external": "Class Id", "type": 2},
       {"name": "CN_HOOK_OPERATION", "external": "Operation", "type": 1, "length": 40},
       {"name": "CN_DESCRIPTION", "external": "Description", "type": 1, "length": 4000}],
     "identifiers": []},
    {"id": 510, "name": "Part_Records", "table": "TN_PART_ER", "super": 510, "kind": 7,
     "ends": [500, 100]},
    {"id": 520, "name": "Doc_Records", "table": "TN_DOC_ER", "super": 520, "kind": 7,
     "ends": [500, 200]},
    {"id": 900, "name": "States", "table": "TN_STATES", "super": 900, "kind": 5,
     "items": [{"id": 1, "text": "New"}, {"id": 2, "text": "Released"}]}
  ]})");
}

// One emulated host over the plant, logged in as Jane Doe on "WS-042".
class ElectronicRecordTest : public ::testing::Test {
 protected:
  ElectronicRecordTest() : host_(":memory:", PlantModel()), platform_(&host_.GetPlatform()) {
    user_id_ =
        Store().Insert("User", {{"LOGIN", "jdoe"}, {"LAST_NAME", "Doe"}, {"FIRST_NAME", "Jane"}});
    emu::Environment environment = host_.GetEnvironment();
    environment.user = emu::ObjectKey{"User", user_id_};
    environment.logon_name = "jdoe";
    environment.computer_name = "WS-042";
    host_.SetEnvironment(environment);
  }

  emu::Store& Store() { return host_.GetStore(); }
  Ref<KvSession> Session() { return host_.Session(); }

  void ChangeEnvironment(void (*change)(emu::Environment&)) {
    emu::Environment environment = host_.GetEnvironment();
    change(environment);
    host_.SetEnvironment(environment);
  }

  int32_t InsertPart(const std::string& number, const std::string& title,
                     const emu::Values& more = {}) {
    emu::Values values = {{"PART_NUMBER", number}, {"REVISION", "A"}, {"TITLE", title}};
    values.insert(values.end(), more.begin(), more.end());
    return Store().Insert("Part", values);
  }

  // The record list the host hands over: one row naming the managed object.
  Ref<KvRecordList> ListOf(int16_t class_id, int32_t object_id) {
    emu::CallMonitor::Pause pause(host_.Monitor());
    Ref<KvRecordList> list = Store().NewRecordList();
    list->AddColumn("CLASS_ID", 0, 2);
    list->AddColumn("OBJECT_ID", 0, 3);
    list->SetValue("CLASS_ID", 0, Variant(class_id));
    list->SetValue("OBJECT_ID", 0, Variant(object_id));
    return list;
  }

  Ref<KvObject> Load(int16_t class_id, int32_t object_id) {
    emu::CallMonitor::Pause pause(host_.Monitor());
    return Store().LoadObject(host_.ObjectStore(), emu::ObjectRef{class_id, object_id});
  }

  // Runs the audit trail the way the facade does: a fresh instance per call.
  bool CreateRecord(const std::string& operation, int16_t class_id, int32_t object_id) {
    clsElectronicRecord record;
    Ref<KvRecordList> list = ListOf(class_id, object_id);
    return record.CreateNewERObject(Session(), operation, list);
  }
  int16_t SaveOriginal(int16_t class_id, int32_t object_id) {
    clsElectronicRecord record;
    Ref<KvRecordList> list = ListOf(class_id, object_id);
    return record.SaveObjectAsGlobal(Session(), "UPDATE", list);
  }

  std::vector<emu::DumpedObject> Records() { return Store().Dump("Electronic Record"); }

  // A stored value of a dumped object; Empty when the attribute is unknown.
  static Variant ValueOf(const emu::DumpedObject& object, const std::string& name) {
    for (const auto& [attribute, value] : object.values)
      if (attribute == name) return value;
    return Variant();
  }
  static std::string DescriptionOf(const emu::DumpedObject& object) {
    const Variant value = ValueOf(object, "CN_DESCRIPTION");
    return value.IsString() ? value.AsString() : std::string("<not text>");
  }
  // The objects the record is linked to, as "Class:id", in link order.
  std::vector<std::string> LinkedEnds(int32_t record_id) {
    std::vector<std::string> ends;
    for (const char* link_class : {"Part_Records", "Doc_Records"}) {
      for (const auto& link : Store().Dump(link_class)) {
        if (ValueOf(link, "OBJECT_ID1").ToInt32() != record_id) continue;
        ends.push_back(std::to_string(ValueOf(link, "CLASS_ID2").ToInt32()) + ":" +
                       std::to_string(ValueOf(link, "OBJECT_ID2").ToInt32()));
      }
    }
    return ends;
  }

  // Makes the n-th call of `operation` from now on fail.
  void FailCall(const std::string& operation, int64_t nth = 1, bool persistent = false) {
    emu::Fault fault;
    fault.operation = operation;
    fault.call = host_.Monitor().CallCount(operation) + nth;
    fault.number = err::kHostFailure;
    fault.description = "Injected failure";
    fault.persistent = persistent;
    host_.Monitor().AddFault(fault);
  }

  emu::EmulatedHost host_;
  ScopedPlatform platform_;
  int32_t user_id_ = 0;
};

}  // namespace records_test
}  // namespace vtx
