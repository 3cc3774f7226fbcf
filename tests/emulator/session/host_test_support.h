#pragma once

#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "emulator/emulated_host.h"
#include "emulator/host_objects/store_interfaces.h"
#include "host/kv_host.h"

namespace vtx::emu::testing {

// A small model: users, parts with their history, and settings whose
// identifiers come in every field type.
inline nlohmann::json TestModel() {
  return nlohmann::json::parse(R"({
    "classes": [
      {"id": 10, "name": "User", "table": "TN_USERS", "super": 10, "kind": 1,
       "attributes": [{"name": "LAST_NAME", "type": 1, "length": 40},
                      {"name": "FIRST_NAME", "type": 1, "length": 40}],
       "identifiers": ["LAST_NAME"]},
      {"id": 100, "name": "Part", "table": "TN_PARTS", "super": 100, "kind": 1,
       "attributes": [{"name": "PART_NUMBER", "type": 1, "length": 40},
                      {"name": "TITLE", "external": "Title", "type": 1, "length": 80},
                      {"name": "QTY", "type": 3}],
       "identifiers": ["PART_NUMBER"]},
      {"id": 200, "name": "History", "table": "TN_HISTORY", "super": 200, "kind": 1,
       "attributes": [{"name": "CN_TEXT", "type": 1, "length": 200}],
       "identifiers": ["CN_TEXT"]},
      {"id": 300, "name": "Part_History", "table": "TN_PART_HISTORY", "super": 300, "kind": 7,
       "ends": [100, 200]},
      {"id": 400, "name": "Setting", "table": "TN_SETTINGS", "super": 400, "kind": 1,
       "attributes": [{"name": "CN_NAME", "type": 1, "length": 40},
                      {"name": "CN_SMALL", "type": 2},
                      {"name": "CN_NUMBER", "type": 3},
                      {"name": "CN_REAL", "type": 4}],
       "identifiers": ["CN_NAME"]}
    ]
  })");
}

// A collection of the stored objects `ids` of `class_name`, read through the
// host's object store without passing the monitor.
inline Ref<KvObjects> CollectionOf(EmulatedHost& host, const std::string& class_name,
                                   const std::vector<int32_t>& ids) {
  CallMonitor::Pause pause(host.Monitor());
  Ref<KvObjects> objects = host.ObjectStore()->CreateObjects();
  for (int32_t id : ids) {
    auto ref = host.GetStore().Find(class_name, id);
    objects->Add(LoadObject(host.GetStore(), host.ObjectStore(), *ref));
  }
  return objects;
}

// Inserts `count` parts numbered from `first_id` and returns their ids.
inline std::vector<int32_t> InsertParts(EmulatedHost& host, int count, int32_t first_id = 1) {
  std::vector<int32_t> ids;
  for (int i = 0; i < count; ++i)
    ids.push_back(host.GetStore().Insert(
        "Part", {{"PART_NUMBER", "P-" + std::to_string(first_id + i)}, {"TITLE", "Bolt"}},
        first_id + i));
  return ids;
}

}  // namespace vtx::emu::testing
