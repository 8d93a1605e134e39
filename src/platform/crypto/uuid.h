#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kesta::crypto {

// A random (version 4) identifier in its 36-character upper-case text form.
std::string randomUuid();

// A stored identifier read back: 36 characters, hyphens after the 8th, 12th,
// 16th and 20th hex digit, either letter case. Answers the upper-case form, or
// nothing when the text is not one.
std::optional<std::string> parseUuid(std::string_view text);

}  // namespace kesta::crypto
