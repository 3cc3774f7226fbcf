#pragma once

#include <array>
#include <string>
#include <string_view>

namespace vtx::emu {

// SHA-256 by the system's cryptography: OpenSSL's libcrypto on Linux
// (sha256_posix.cc), CNG on Windows (sha256_windows.cc). Both raise the host
// failure when the algorithm is not available. Thread-safe.
using Sha256Digest = std::array<unsigned char, 32>;
Sha256Digest Sha256(std::string_view data);
// The digest as 64 lower-case hexadecimal digits.
std::string Sha256Hex(std::string_view data);

}  // namespace vtx::emu
