#define WIN32_LEAN_AND_MEAN
#include <windows.h>
// windows.h first: bcrypt.h needs its types.
#include <bcrypt.h>

#include <algorithm>

#include "emulator/store/sha256.h"
#include "runtime/runtime_error.h"

namespace vtx::emu {

namespace {

[[noreturn]] void Unavailable() { Raise(err::kHostFailure, "SHA-256 is not available", "Korvel"); }

// The algorithm provider, opened once for the process: opening it costs
// more than hashing a record. Null when CNG has no SHA-256.
BCRYPT_ALG_HANDLE Provider() {
  static const BCRYPT_ALG_HANDLE provider = [] {
    BCRYPT_ALG_HANDLE handle = nullptr;
    if (!BCRYPT_SUCCESS(BCryptOpenAlgorithmProvider(&handle, BCRYPT_SHA256_ALGORITHM, nullptr, 0)))
      return BCRYPT_ALG_HANDLE{nullptr};
    return handle;
  }();
  return provider;
}

}  // namespace

Sha256Digest Sha256(std::string_view data) {
  const BCRYPT_ALG_HANDLE provider = Provider();
  if (!provider) Unavailable();
  // CNG keeps the hash object itself (no object buffer given); one hash per
  // call keeps concurrent callers apart.
  BCRYPT_HASH_HANDLE hash = nullptr;
  if (!BCRYPT_SUCCESS(BCryptCreateHash(provider, &hash, nullptr, 0, nullptr, 0, 0))) Unavailable();
  Sha256Digest digest{};
  bool ok = true;
  // BCryptHashData takes at most 4 GiB at once.
  for (size_t done = 0; ok && done < data.size();) {
    const ULONG chunk = static_cast<ULONG>(std::min<size_t>(data.size() - done, 1u << 30));
    ok = BCRYPT_SUCCESS(BCryptHashData(
        hash, reinterpret_cast<PUCHAR>(const_cast<char*>(data.data() + done)), chunk, 0));
    done += chunk;
  }
  ok = ok && BCRYPT_SUCCESS(BCryptFinishHash(hash, digest.data(), digest.size(), 0));
  BCryptDestroyHash(hash);
  if (!ok) Unavailable();
  return digest;
}

}  // namespace vtx::emu
