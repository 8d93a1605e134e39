#pragma once

#include "platform/ocr/grey_picture.h"
#include "platform/ocr/read_line.h"

// The ellipsis that ends a cut line, told by the picture where the
// recogniser's reading of it cannot be trusted: it reads the three dots as
// "..", "-.", "=", as letters glued to the last word, or not at all. A pure
// function of its arguments, callable from any thread; a line the picture
// shows no ellipsis on comes back as it was. Boxes in pixels of the picture.
namespace kesta::ocr {

// The line with the words read over an ellipsis at its left or right end
// made one word "…" standing where the dots are (added where no word was read
// over them), a word reaching over the dots from inside keeping its letters
// without the dots' characters (a bracket read with them goes with them, and
// the whole word goes where another word, a second model's reading, reads
// those letters), and the line's box holding the dots. An ellipsis is three
// small dots alike, evenly spaced and standing on the row the letters inward
// of them stand on, and no fourth; only the ends of the line are looked at,
// up to three line heights past its box, for dots no more than one and a
// half beyond its last letter.
ReadLine withShownEllipsis(const GreyPicture& picture, ReadLine read);

}  // namespace kesta::ocr
