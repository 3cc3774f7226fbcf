#pragma once

#include <memory>
#include <string>
#include <vector>

#include "emulator/call_monitor.h"
#include "host/kv_record.h"

namespace vtx::emu {

// KvStrings: an ordered list of texts. Item raises 9 out of range.
// Thread-safety: one thread.
class EmuStrings : public KvStrings {
 public:
  explicit EmuStrings(std::shared_ptr<CallMonitor> monitor) : monitor_(std::move(monitor)) {}

  const std::vector<std::string>& Items() const { return items_; }

  int32_t GetCount() override;
  std::string Item(int32_t index) override;
  void Add(const std::string& value) override;
  int32_t IndexOf(const std::string& value) override;

 private:
  std::shared_ptr<CallMonitor> monitor_;
  std::vector<std::string> items_;
};

}  // namespace vtx::emu
