#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "emulator/emulated_host.h"
#include "records/cls_electronic_record.h"

namespace vtx {

// Presets the session field, so that a test can call one link-end lookup on
// its own.
class ElectronicRecordFieldAccess {
 public:
  static void SetSession(clsElectronicRecord& record, const Ref<KvSession>& session) {
    record.SetSession(session);
  }
};

namespace records_test {

inline constexpr int16_t kPart = 100, kPartTree = 150, kDoc = 200, kPartDoc = 250, kTool = 300,
                         kElectronicRecord = 500;
// Stored objects of the plant, by OBJECT_ID.
inline constexpr int32_t kJane = 7, kAnna = 8, kBolt = 1, kNut = 2, kDrawing = 3, kHammer = 4,
                         kBoltDrawing = 20, kBoltNut = 21, kNoFirstEnd = 22, kNoSecondEnd = 23,
                         kNoSon = 24;

// Parts in a composition tree, documents related to parts, tools without a
// record link class, users, and the audit-trail class linked to parts and
// documents.
inline nlohmann::json PlantModel() {
  return nlohmann::json::parse(R"({"classes": [
 {"id": 100, "name": "Part", "table": "TN_PARTS", "super": 100, "kind": 1, "hierarchyLink": 150,
  "identifiers": ["PART_NUMBER", "REVISION"], "attributes": [
  {"name": "PART_NUMBER", "external": "Part Number", "type": 1}, {"name": "REVISION", "external": "Revision", "type": 1},
  {"name": "TITLE", "external": "Title", "type": 1}, {"name": "STATE", "external": "State", "type": 10, "lookup": 900},
  {"name": "OWNER", "external": "Owner", "type": 10, "lookup": 400}, {"name": "QTY", "external": "Quantity", "type": 2},
  {"name": "MASS", "external": "Mass", "type": 3}, {"name": "NOTE", "external": "Note", "type": 1, "excludedFromHistory": true}]},
 {"id": 150, "name": "Part_Tree", "table": "TN_PART_TREE", "super": 150, "kind": 6, "ends": [100, 100]},
 {"id": 200, "name": "Doc", "table": "TN_DOCS", "super": 200, "kind": 1, "identifiers": ["DOC_NUMBER"],
  "attributes": [{"name": "DOC_NUMBER", "external": "Document", "type": 1}]},
 {"id": 250, "name": "Part_Doc", "table": "TN_PART_DOC", "super": 250, "kind": 7, "ends": [100, 200],
  "attributes": [{"name": "ROLE", "external": "Role", "type": 1}]},
 {"id": 300, "name": "Tool", "table": "TN_TOOLS", "super": 300, "kind": 1, "identifiers": ["TOOL_NUMBER"],
  "attributes": [{"name": "TOOL_NUMBER", "external": "Tool", "type": 1}]},
 {"id": 400, "name": "User", "table": "TN_USERS", "super": 400, "kind": 1, "identifiers": ["LOGIN"], "attributes": [
  {"name": "LOGIN", "external": "Login", "type": 1}, {"name": "LAST_NAME", "external": "Last Name", "type": 1},
  {"name": "FIRST_NAME", "external": "First Name", "type": 1}]},
 {"id": 500, "name": "Electronic Record", "table": "TN_ER", "super": 500, "kind": 1, "attributes": [
  {"name": "CN_USER_ID", "external": "User Id", "type": 3}, {"name": "CN_USER_NAME", "external": "User Name", "type": 1},
  {"name": "CN_MACHINE_NAME", "external": "Machine", "type": 1}, {"name": "CN_USER_NT_ID", "external": "Logon", "type": 1},
  {"name": "CN_OBJECT_ID", "external": "Object Id", "type": 3}, {"name": "CN_CLASS_ID", "external": "Class Id", "type": 2},
  {"name": "CN_HOOK_OPERATION", "external": "Operation", "type": 1},
  {"name": "CN_DESCRIPTION", "external": "Description", "type": 1}]},
 {"id": 510, "name": "Part_Records", "table": "TN_PART_ER", "super": 510, "kind": 7, "ends": [500, 100]},
 {"id": 520, "name": "Doc_Records", "table": "TN_DOC_ER", "super": 520, "kind": 7, "ends": [500, 200]},
 {"id": 900, "name": "States", "table": "TN_STATES", "super": 900, "kind": 5,
  "items": [{"id": 1, "text": "New"}, {"id": 2, "text": "Released"}]}]})");
}

// One emulated host over the plant, Jane Doe logged in as "jdoe" on "WS-042".
class ElectronicRecordTest : public ::testing::Test {
 protected:
  ElectronicRecordTest() : host_(":memory:", PlantModel()), platform_(&host_.GetPlatform()) {
    Store().Insert("User", {{"LOGIN", "jdoe"}, {"LAST_NAME", "Doe"}, {"FIRST_NAME", "Jane"}},
                   kJane);
    Store().Insert("User", {{"LOGIN", "asmith"}, {"LAST_NAME", "Smith"}}, kAnna);
    Store().Insert("Part",
                   {{"PART_NUMBER", "4711"},
                    {"REVISION", "A"},
                    {"TITLE", "Bolt"},
                    {"STATE", 1},
                    {"OWNER", kJane},
                    {"NOTE", "internal"}},
                   kBolt);
    Store().Insert("Part", {{"PART_NUMBER", "4712"}, {"REVISION", "B"}, {"TITLE", "Nut"}}, kNut);
    Store().Insert("Doc", {{"DOC_NUMBER", "D-1"}}, kDrawing);
    Store().Insert("Tool", {{"TOOL_NUMBER", "T-9"}}, kHammer);
    Store().Link("Part_Doc", {kPart, kBolt}, {kDoc, kDrawing}, {{"ROLE", "spare"}}, kBoltDrawing);
    Store().Link("Part_Tree", {kPart, kBolt}, {kPart, kNut}, {}, kBoltNut);
    Store().Insert("Part_Doc", {{"CLASS_ID2", kDoc}, {"OBJECT_ID2", kDrawing}}, kNoFirstEnd);
    Store().Insert("Part_Doc", {{"CLASS_ID1", kPart}, {"OBJECT_ID1", kBolt}}, kNoSecondEnd);
    Store().Insert("Part_Tree", {{"PAR_OBJECT_ID", kBolt}, {"SON_OBJECT_ID", 99999}}, kNoSon);
    ChangeEnvironment([](emu::Environment& e) {
      e.user = emu::ObjectKey{"User", kJane};
      e.logon_name = "jdoe";
      e.computer_name = "WS-042";
    });
  }

  emu::Store& Store() { return host_.GetStore(); }
  Ref<KvSession> Session() { return host_.Session(); }

  template <class Change>
  void ChangeEnvironment(Change change) {
    emu::Environment environment = host_.GetEnvironment();
    change(environment);
    host_.SetEnvironment(environment);
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

  // As the facade calls them: a fresh instance per call.
  bool CreateRecord(const std::string& operation, int16_t class_id, int32_t object_id) {
    Ref<KvRecordList> list = ListOf(class_id, object_id);
    return clsElectronicRecord().CreateNewERObject(Session(), operation, list);
  }
  int16_t SaveOriginal(int16_t class_id, int32_t object_id) {
    Ref<KvRecordList> list = ListOf(class_id, object_id);
    return clsElectronicRecord().SaveObjectAsGlobal(Session(), "UPDATE", list);
  }

  std::vector<emu::DumpedObject> Records() { return Store().Dump("Electronic Record"); }
  static Variant ValueOf(const emu::DumpedObject& object, const std::string& name) {
    for (const auto& [attribute, value] : object.values)
      if (attribute == name) return value;
    return Variant();
  }
  static std::string DescriptionOf(const emu::DumpedObject& object) {
    const Variant value = ValueOf(object, "CN_DESCRIPTION");
    return value.IsString() ? value.AsString() : "<not text>";
  }
  // What the record is linked to, as "class:id", in link order.
  std::vector<std::string> LinkedEnds(int32_t record_id) {
    std::vector<std::string> ends;
    for (const char* link_class : {"Part_Records", "Doc_Records"}) {
      for (const auto& link : Store().Dump(link_class)) {
        if (ValueOf(link, "OBJECT_ID1").ToInt32() != record_id) continue;
        ends.push_back(ValueOf(link, "CLASS_ID2").ToString() + ":" +
                       ValueOf(link, "OBJECT_ID2").ToString());
      }
    }
    return ends;
  }

  // Makes the n-th call of `operation` from now on fail.
  void FailCall(const std::string& operation, int64_t nth = 1) {
    host_.Monitor().AddFault(emu::Fault{operation, host_.Monitor().CallCount(operation) + nth,
                                        err::kHostFailure, "Injected failure", false});
  }

  emu::EmulatedHost host_;
  ScopedPlatform platform_;
};

}  // namespace records_test
}  // namespace vtx
