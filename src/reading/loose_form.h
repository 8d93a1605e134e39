#pragma once

#include <string>
#include <string_view>

namespace kesta {

// The recognition-tolerant key of a text, for matching recognised lines
// against a known title: the normalised text with "0" read as "o" and "1" as
// "l", the digits that recognition confuses with those letters ("Dub 101"
// gives "dublol"). Deck reading's title check and the one-click loader's row
// search share it.
std::string looseForm(std::string_view text);

}  // namespace kesta
