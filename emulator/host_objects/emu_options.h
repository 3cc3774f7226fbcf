#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "emulator/call_monitor.h"
#include "host/kv_object_store.h"

namespace vtx::emu {

// KvOptions: the emulated host gives the settings no meaning; it keeps them
// in the order they were made ("SetMode", 2), and Copy carries them over, so
// tests and traces can see what the add-in asked for.
// Thread-safety: one thread. Ownership: Copy returns a new object.
class EmuOptions : public KvOptions {
 public:
  using Setting = std::pair<std::string, int32_t>;

  explicit EmuOptions(std::shared_ptr<CallMonitor> monitor, std::vector<Setting> settings = {})
      : monitor_(std::move(monitor)), settings_(std::move(settings)) {}

  const std::vector<Setting>& Settings() const { return settings_; }

  Ref<KvOptions> Copy() override;
  void SetMode(int32_t mode) override;
  void SetModeB(int32_t mode) override;
  void SetModeC(int32_t mode) override;
  void SetFlagA(bool flag) override;
  void SetFlagB(bool flag) override;
  void SetFlagC(bool flag) override;

 private:
  void Record(const char* name, int32_t value);
  std::shared_ptr<CallMonitor> monitor_;
  std::vector<Setting> settings_;
};

}  // namespace vtx::emu
