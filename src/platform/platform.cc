#include "platform/platform.h"

#include <atomic>

#include "platform/posix_platform.h"

namespace vtx {

namespace {

std::atomic<Platform*> g_installed{nullptr};

Platform& DefaultPlatform() {
  static PosixPlatform machine;
  return machine;
}

}  // namespace

Platform& Platform::Current() {
  Platform* installed = g_installed.load();
  return installed ? *installed : DefaultPlatform();
}

Platform* Platform::SetCurrent(Platform* platform) { return g_installed.exchange(platform); }

}  // namespace vtx
