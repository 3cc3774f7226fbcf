#include <openssl/evp.h>

#include "emulator/store/sha256.h"
#include "runtime/runtime_error.h"

namespace vtx::emu {

Sha256Digest Sha256(std::string_view data) {
  // Fetched once: finding the implementation again costs more than hashing
  // a record.
  static EVP_MD* const sha256 = EVP_MD_fetch(nullptr, "SHA256", nullptr);
  Sha256Digest digest{};
  unsigned int size = 0;
  if (!sha256 || EVP_Digest(data.data(), data.size(), digest.data(), &size, sha256, nullptr) != 1 ||
      size != digest.size())
    Raise(err::kHostFailure, "SHA-256 is not available", "Korvel");
  return digest;
}

}  // namespace vtx::emu
