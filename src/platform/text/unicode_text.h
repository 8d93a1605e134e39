#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace kesta::unicode {

// Which differences folding removes, as string comparison options do.
struct FoldOptions {
  bool caseInsensitive = false;
  bool diacriticInsensitive = false;
  bool widthInsensitive = false;
};

// Folds UTF-8 text the way locale-independent ("en_US_POSIX") comparison does:
// full case folding (ß → ss), combining accents removed (ø, ł, æ, đ, ı stay as
// they are, having no decomposition), and full-width and half-width forms mapped
// to their ordinary forms. NFC and NFD spellings fold to the same text, in NFC.
std::string fold(std::string_view text, FoldOptions options);

// Letters, marks and numbers (general categories L, M and N).
bool isAlphanumeric(char32_t scalar);
// Letters (general category L).
bool isLetter(char32_t scalar);
// Numbers: digits and other numerals (general category N).
bool isNumeric(char32_t scalar);

// Decodes UTF-8 to scalars; ill-formed bytes become U+FFFD.
std::u32string toScalars(std::string_view text);
std::string fromScalars(std::u32string_view scalars);
void appendScalar(std::string& out, char32_t scalar);

// User-perceived characters (extended grapheme clusters).
std::size_t graphemeCount(std::string_view text);
// Byte offsets at which each user-perceived character begins, followed by
// text.size(); {0} for the empty text.
std::vector<std::size_t> graphemeBoundaries(std::string_view text);

// Trims the given scalar class from both ends.
std::string trimmed(std::string_view text, bool (*isTrimmed)(char32_t));
// Spaces and tabs (horizontal white space), not line breaks.
bool isWhitespace(char32_t scalar);
// White space and line breaks.
bool isWhitespaceOrNewline(char32_t scalar);

// `text` set apart in its own direction, between FIRST STRONG ISOLATE and
// POP DIRECTIONAL ISOLATE, for a shown line that joins a name from the
// library with other text: the name reads in its own direction and leaves
// the numbers, signs and separators around it where they were written
// ("<Arabic name> · -0.8% tempo" keeps "-0.8%" after the name). Text that
// carries data (files, what is typed into rekordbox) never goes through it.
std::string isolated(std::string_view text);

}  // namespace kesta::unicode
