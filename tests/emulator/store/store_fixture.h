#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include <nlohmann/json.hpp>

#include "emulator/host_objects/store_interfaces.h"
#include "emulator/store/store.h"
#include "host/kv_host.h"
#include "runtime/ole_date.h"

namespace vtx::emu::testing {

// A small plant: parts (with assemblies below them) in trees, projects with
// parts on their desktops, a history family, a lookup table and a plain table.
inline nlohmann::ordered_json PlantModel() {
  return nlohmann::ordered_json::parse(R"({
  "classes": [
    {"id": 100, "name": "Part", "table": "TN_PARTS", "super": 100, "kind": 1,
     "attributes": [
       {"name": "PART_NUMBER", "external": "Part Number", "type": 1, "length": 40},
       {"name": "REVISION", "type": 1, "length": 4},
       {"name": "TITLE", "type": 1},
       {"name": "STATE", "type": 10, "lookup": 900},
       {"name": "QTY", "type": 3},
       {"name": "SHORT_QTY", "type": 2},
       {"name": "WEIGHT", "type": 4},
       {"name": "DUE", "type": 7},
       {"name": "FLAG", "type": 15},
       {"name": "NOTE", "type": 1, "excludedFromHistory": true}],
     "identifiers": ["PART_NUMBER", "REVISION"],
     "hierarchyLink": 150,
     "sequences": {"PART_NUMBER": {"next": 1000, "format": "PN-{:05}"}},
     "defaults": {"STATE": 1, "TITLE": "untitled"}},
    {"id": 101, "name": "Assembly", "table": "TN_ASSEMBLIES", "super": 100, "kind": 1,
     "attributes": [{"name": "LEVEL", "type": 2}]},
    {"id": 150, "name": "Part_Tree", "table": "TN_PART_TREE", "super": 150, "kind": 6,
     "ends": [100, 100], "attributes": [{"name": "TDMX_ORDERING", "type": 3}]},
    {"id": 200, "name": "Project", "table": "TN_PROJECTS", "super": 200, "kind": 1,
     "attributes": [{"name": "NAME", "type": 1}], "identifiers": ["NAME"]},
    {"id": 250, "name": "Project_Part", "table": "TN_PROJECT_PART", "super": 250, "kind": 7,
     "ends": [200, 100]},
    {"id": 300, "name": "Part_History", "table": "TN_PART_HISTORY", "super": 300, "kind": 7,
     "ends": [100, 400]},
    {"id": 400, "name": "History", "table": "TN_HISTORY", "super": 400, "kind": 1,
     "attributes": [{"name": "CN_TEXT", "type": 1}]},
    {"id": 401, "name": "Electronic Record", "table": "TN_ER", "super": 400, "kind": 1,
     "attributes": [{"name": "CN_USER_ID", "type": 3}]},
    {"id": 900, "name": "States", "table": "TN_STATES", "super": 900, "kind": 5,
     "items": [{"id": 1, "text": "In Work"}, {"id": 2, "text": "Released"},
               {"id": 3, "text": "in work"}]}
  ],
  "tables": {"TDM_TITLES": {
    "columns": {"CLASS_ID": "integer", "COL_NAME": "text", "MULTI_TAB": "integer",
                "TAB_ORDER": "integer"},
    "rows": [{"CLASS_ID": 100, "COL_NAME": "TITLE", "MULTI_TAB": 2, "TAB_ORDER": 1},
             {"CLASS_ID": 100, "COL_NAME": "NOTE", "MULTI_TAB": 1, "TAB_ORDER": 2},
             {"CLASS_ID": 100, "COL_NAME": "QTY", "MULTI_TAB": 1, "TAB_ORDER": 1},
             {"CLASS_ID": 200, "COL_NAME": "NAME", "MULTI_TAB": 1, "TAB_ORDER": 1}]}},
  "host": {"maxQuerySize": 40}
})");
}

// Just enough of a session for the object store to hand back.
class FakeSession : public KvSession {
 public:
  Ref<KvObjectStore> store;
  Ref<KvClasses> classes;
  Ref<KvObjectStore> GetObjectStore() override { return store; }
  Ref<KvClasses> GetClasses() override { return classes; }
  Ref<KvGlobals> GetGlobals() override { return nullptr; }
  Ref<KvUserInfo> GetUserInfo() override { return nullptr; }
  std::string GetLanguage() override { return "en"; }
  Ref<KvConfiguration> GetConfiguration() override { return nullptr; }
  Ref<Dispatch> CreateHostComponent(const std::string&) override { return nullptr; }
  Ref<KvStrings> CreateStringList() override { return nullptr; }
};

// A store on the plant model with a fixed clock and user, and its session.
class StoreTest : public ::testing::Test {
 protected:
  static double Clock() { return date::FromIso("2026-12-05T10:11:12"); }

  void SetUp() override { Open(":memory:"); }

  void Open(const std::string& path, nlohmann::ordered_json model = PlantModel()) {
    StoreHooks hooks;
    hooks.clock = [] { return Clock(); };
    hooks.current_user = [] { return 7; };
    store_ = Store::Open(path, model, hooks);
    session_ = MakeRef<FakeSession>();
    session_->classes = NewClasses(*store_);
    session_->store = NewObjectStore(store_, session_);
    os_ = session_->store;
  }

  // A stored part with the given key; returns its OBJECT_ID.
  int32_t Part(const std::string& number, const std::string& revision = "A", Values more = {}) {
    more.emplace_back("PART_NUMBER", Variant(number));
    more.emplace_back("REVISION", Variant(revision));
    return store_->Insert("Part", more);
  }
  ObjectRef PartRef(int32_t id) const { return ObjectRef{100, id}; }

  std::shared_ptr<Store> store_;
  Ref<FakeSession> session_;
  Ref<KvObjectStore> os_;
};

// The OBJECT_IDs of a collection, in order.
inline std::vector<int32_t> IdsOf(const Ref<KvObjects>& objects) {
  std::vector<int32_t> out;
  for (int32_t i = 0; i < objects->GetCount(); ++i) out.push_back(objects->Item(i)->GetObjectId());
  return out;
}

}  // namespace vtx::emu::testing
