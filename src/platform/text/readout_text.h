#pragma once

#include <string_view>

// The shapes of the readouts a deck area shows beside its title, so that
// neither the text recognition (a line of readouts is never cut) nor the
// matcher (a readout is never a title) takes one for words. Pure functions
// over the whole of a UTF-8 text, callable from any thread.
namespace kesta::readout {

// A tempo, tempo change, placeholder or minor-key/Camelot readout ("128.00",
// "+2.5%", "--.-", "8A", "F#m").
bool isMetadata(std::string_view text);

// A deck time readout ("3:45", "-1:02.5").
bool isClock(std::string_view text);

}  // namespace kesta::readout
