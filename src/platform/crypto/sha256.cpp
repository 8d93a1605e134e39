#include "platform/crypto/sha256.h"

#include <openssl/evp.h>

#include <algorithm>
#include <memory>
#include <stdexcept>

namespace kesta::crypto {

namespace {

// Fetched once: an implicit fetch on every digest costs more than hashing a
// short text (an import hashes one location per track).
const EVP_MD* sha256Algorithm() {
  static const std::unique_ptr<EVP_MD, decltype(&EVP_MD_free)> algorithm(
      EVP_MD_fetch(nullptr, "SHA256", nullptr), &EVP_MD_free);
  return algorithm ? algorithm.get() : EVP_sha256();
}

}  // namespace

Digest sha256(std::string_view bytes) {
  Digest digest{};
  unsigned int length = 0;
  if (EVP_Digest(bytes.data(), bytes.size(), digest.data(), &length, sha256Algorithm(), nullptr) != 1 ||
      length != digest.size())
    throw std::runtime_error("SHA-256 is not available");
  return digest;
}

std::string sha256Hex(std::string_view bytes, std::size_t hexDigits) {
  static constexpr char kHex[] = "0123456789abcdef";
  const Digest digest = sha256(bytes);
  std::string out;
  out.reserve(64);
  for (const std::uint8_t byte : digest) {
    out.push_back(kHex[byte >> 4]);
    out.push_back(kHex[byte & 0xF]);
  }
  out.resize(std::min(hexDigits, out.size()));
  return out;
}

}  // namespace kesta::crypto
