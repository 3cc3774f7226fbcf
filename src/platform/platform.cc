#include "platform/platform.h"

#include <atomic>

namespace vtx {

// The real machine of the operating system built for: defined by the
// platform's source of each system (posix_platform.cc, the COM server's
// windows_platform.cc).
Platform& MachinePlatform();

namespace {

std::atomic<Platform*> g_installed{nullptr};

}  // namespace

Platform& Platform::Current() {
  Platform* installed = g_installed.load();
  return installed ? *installed : MachinePlatform();
}

Platform* Platform::SetCurrent(Platform* platform) { return g_installed.exchange(platform); }

}  // namespace vtx
