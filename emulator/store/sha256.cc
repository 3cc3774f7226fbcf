#include "emulator/store/sha256.h"

namespace vtx::emu {

std::string Sha256Hex(std::string_view data) {
  static constexpr char kDigits[] = "0123456789abcdef";
  const Sha256Digest digest = Sha256(data);
  std::string hex(2 * digest.size(), '0');
  for (size_t i = 0; i < digest.size(); ++i) {
    hex[2 * i] = kDigits[digest[i] >> 4];
    hex[2 * i + 1] = kDigits[digest[i] & 0xf];
  }
  return hex;
}

}  // namespace vtx::emu
