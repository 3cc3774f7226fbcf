#include <openssl/evp.h>

#include <memory>

#include "emulator/store/sha256.h"
#include "runtime/runtime_error.h"

namespace vtx::emu {

namespace {

struct ContextFree {
  void operator()(EVP_MD_CTX* context) const { EVP_MD_CTX_free(context); }
};

}  // namespace

Sha256Digest Sha256(std::string_view data) {
  // Fetched once: finding the implementation again costs more than hashing
  // a record. The context is kept per thread for the same reason: a fresh
  // one is allocated and set up for every digest otherwise.
  static EVP_MD* const sha256 = EVP_MD_fetch(nullptr, "SHA256", nullptr);
  thread_local const std::unique_ptr<EVP_MD_CTX, ContextFree> context(EVP_MD_CTX_new());
  Sha256Digest digest{};
  unsigned int size = 0;
  if (!sha256 || !context || EVP_DigestInit_ex2(context.get(), sha256, nullptr) != 1 ||
      EVP_DigestUpdate(context.get(), data.data(), data.size()) != 1 ||
      EVP_DigestFinal_ex(context.get(), digest.data(), &size) != 1 || size != digest.size())
    Raise(err::kHostFailure, "SHA-256 is not available", "Korvel");
  return digest;
}

}  // namespace vtx::emu
