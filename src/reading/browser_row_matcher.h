#pragma once

#include <string>
#include <string_view>

// Matching of recognised text against rows of rekordbox's browser. The
// recognition-tolerant text key lives here, in deck reading, because deck
// reading's title-row check and the one-click loader's row search share it.
namespace kesta::BrowserRowMatcher {

// The normalised text with "0" read as "o" and "1" as "l", the digits that
// recognition confuses with those letters ("Dub 101" gives "dublol").
std::string loose(std::string_view text);

}  // namespace kesta::BrowserRowMatcher
