#include "cli/checkpoint_signature.h"

#include <openssl/evp.h>
#include <openssl/pem.h>

#include <cstdio>
#include <memory>
#include <optional>
#include <vector>

#include <fmt/format.h>

#include "cli/exit_status.h"

namespace vtx::cli {

namespace {

using Key = std::unique_ptr<EVP_PKEY, decltype(&EVP_PKEY_free)>;
using Context = std::unique_ptr<EVP_MD_CTX, decltype(&EVP_MD_CTX_free)>;

Key ReadKey(const std::string& file, bool private_key) {
  std::unique_ptr<FILE, decltype(&std::fclose)> in(std::fopen(file.c_str(), "r"), &std::fclose);
  if (!in) throw UsageError(fmt::format("{}: cannot open the key file", file));
  Key key(private_key ? PEM_read_PrivateKey(in.get(), nullptr, nullptr, nullptr)
                      : PEM_read_PUBKEY(in.get(), nullptr, nullptr, nullptr),
          &EVP_PKEY_free);
  if (!key || EVP_PKEY_get_id(key.get()) != EVP_PKEY_ED25519)
    throw UsageError(fmt::format("{}: holds no Ed25519 {} key in PEM form", file,
                                 private_key ? "private" : "public"));
  return key;
}

std::string Base64(const std::vector<unsigned char>& bytes) {
  std::string text(4 * ((bytes.size() + 2) / 3) + 1, '\0');
  const int n = EVP_EncodeBlock(reinterpret_cast<unsigned char*>(text.data()), bytes.data(),
                                static_cast<int>(bytes.size()));
  text.resize(static_cast<size_t>(n));
  return text;
}

// Nothing when `text` is not base64 of a whole number of bytes.
std::optional<std::vector<unsigned char>> FromBase64(const std::string& text) {
  if (text.empty() || text.size() % 4 != 0) return std::nullopt;
  std::vector<unsigned char> bytes(text.size() / 4 * 3);
  const int n = EVP_DecodeBlock(bytes.data(), reinterpret_cast<const unsigned char*>(text.data()),
                                static_cast<int>(text.size()));
  if (n < 0) return std::nullopt;
  size_t size = static_cast<size_t>(n);
  for (size_t i = text.size(); i-- > 0 && text[i] == '=';) --size;  // padding decodes as zeros
  bytes.resize(size);
  return bytes;
}

}  // namespace

std::string SignText(const std::string& text, const std::string& private_key_file) {
  Key key = ReadKey(private_key_file, true);
  Context context(EVP_MD_CTX_new(), &EVP_MD_CTX_free);
  size_t size = 0;
  const auto* data = reinterpret_cast<const unsigned char*>(text.data());
  if (!context || EVP_DigestSignInit(context.get(), nullptr, nullptr, nullptr, key.get()) != 1 ||
      EVP_DigestSign(context.get(), nullptr, &size, data, text.size()) != 1)
    throw std::runtime_error("Ed25519 signing is not available");
  std::vector<unsigned char> signature(size);
  if (EVP_DigestSign(context.get(), signature.data(), &size, data, text.size()) != 1)
    throw std::runtime_error("Ed25519 signing failed");
  signature.resize(size);
  return Base64(signature);
}

bool SignatureHolds(const std::string& text, const std::string& signature,
                    const std::string& public_key_file) {
  Key key = ReadKey(public_key_file, false);
  const auto bytes = FromBase64(signature);
  if (!bytes) return false;
  Context context(EVP_MD_CTX_new(), &EVP_MD_CTX_free);
  return context &&
         EVP_DigestVerifyInit(context.get(), nullptr, nullptr, nullptr, key.get()) == 1 &&
         EVP_DigestVerify(context.get(), bytes->data(), bytes->size(),
                          reinterpret_cast<const unsigned char*>(text.data()), text.size()) == 1;
}

}  // namespace vtx::cli
