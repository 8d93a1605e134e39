#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace kesta::crypto {

using Digest = std::array<std::uint8_t, 32>;

Digest sha256(std::string_view bytes);

// Lowercase hex of the digest's first `hexDigits` digits (all 64 by default).
std::string sha256Hex(std::string_view bytes, std::size_t hexDigits = 64);

}  // namespace kesta::crypto
