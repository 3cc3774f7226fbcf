#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "emulator/emulated_host.h"
#include "host/kv_host.h"
#include "platform/platform.h"

namespace vtx::testing {

// An in-memory emulated Korvel installed as the platform for the lifetime of
// the object, with shortcuts for the arguments the add-in's operations take.
class TestHost {
 public:
  explicit TestHost(const nlohmann::json& model)
      : host_(":memory:", model), platform_(&host_.GetPlatform()) {}

  emu::EmulatedHost& Host() { return host_; }
  emu::Store& Store() { return host_.GetStore(); }
  Ref<KvSession> Session() { return host_.Session(); }

  int32_t Insert(const std::string& class_name, const emu::Values& values, int32_t id) {
    return Store().Insert(class_name, values, id);
  }
  int32_t Link(const std::string& link_class, emu::ObjectRef from, emu::ObjectRef to) {
    return Store().Link(link_class, from, to);
  }
  Ref<KvObject> Load(emu::ObjectRef ref) { return Store().LoadObject(host_.ObjectStore(), ref); }

  // A selection as Korvel hands it over: one row per object.
  Ref<KvRecordList> Selection(const std::vector<emu::ObjectRef>& objects) {
    Ref<KvRecordList> rows = Store().NewRecordList();
    rows->AddColumn("CLASS_ID", 2, 2);
    rows->AddColumn("OBJECT_ID", 4, 3);
    for (int32_t row = 0; row < static_cast<int32_t>(objects.size()); ++row) {
      rows->SetValue("CLASS_ID", row, Variant(objects[row].class_id));
      rows->SetValue("OBJECT_ID", row, Variant(objects[row].object_id));
    }
    return rows;
  }

  void SetVariable(const std::string& name, const std::string& value) {
    emu::Environment environment = host_.GetEnvironment();
    environment.variables[name] = value;
    host_.SetEnvironment(environment);
  }

  emu::StepRecordings Take() { return host_.TakeRecordings(); }

 private:
  emu::EmulatedHost host_;
  ScopedPlatform platform_;
};

inline std::vector<int32_t> Ids(const std::vector<emu::ObjectRef>& refs) {
  std::vector<int32_t> ids;
  for (const auto& ref : refs) ids.push_back(ref.object_id);
  return ids;
}

}  // namespace vtx::testing
