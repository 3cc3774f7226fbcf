#pragma once

#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "emulator/emulated_host.h"
#include "platform/platform.h"

namespace vtx::testing {

// An in-memory emulated Korvel over one of the scenarios' shared models
// (tests/scenarios/models/NAME.json), installed as the platform while it lives.
class ModelHost {
 public:
  explicit ModelHost(const std::string& model)
      : host_(":memory:", Read(model)), platform_(&host_.GetPlatform()) {}

  emu::EmulatedHost& Host() { return host_; }
  emu::Store& Store() { return host_.GetStore(); }
  Ref<KvSession> Session() { return host_.Session(); }
  emu::StepRecordings Take() { return host_.TakeRecordings(); }

  // The object ids the first view of `seen` holds.
  static std::vector<int32_t> ViewIds(const emu::StepRecordings& seen) {
    std::vector<int32_t> ids;
    if (seen.host.views.empty()) return ids;
    for (const emu::ObjectRef& ref : seen.host.views[0].view->ObjectIds())
      ids.push_back(ref.object_id);
    return ids;
  }

 private:
  static nlohmann::json Read(const std::string& model) {
    std::ifstream file(std::string(VTX_TEST_MODELS_DIR) + "/" + model + ".json");
    return nlohmann::json::parse(file);
  }

  emu::EmulatedHost host_;
  ScopedPlatform platform_;
};

}  // namespace vtx::testing
