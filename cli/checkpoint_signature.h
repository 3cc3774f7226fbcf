// Ed25519 signatures of checkpoint lines, through OpenSSL. The signing key
// belongs to whoever keeps the checkpoints, not to the database's writers:
// a writer who recomputes the chain cannot make a line that verifies.
#pragma once

#include <string>

namespace vtx::cli {

// The base64 signature of `text` with the private key in the PEM file.
// Raises UsageError when the file holds no Ed25519 private key.
std::string SignText(const std::string& text, const std::string& private_key_file);

// True when `signature` (base64) is the signature of `text` by the key whose
// public half is in the PEM file. Raises UsageError when the file holds no
// Ed25519 public key.
bool SignatureHolds(const std::string& text, const std::string& signature,
                    const std::string& public_key_file);

}  // namespace vtx::cli
