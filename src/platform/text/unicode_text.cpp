#include "platform/text/unicode_text.h"

#include <unicode/brkiter.h>
#include <unicode/normalizer2.h>
#include <unicode/uchar.h>
#include <unicode/unistr.h>
#include <unicode/ustring.h>
#include <unicode/utext.h>
#include <unicode/utf8.h>

#include <memory>

namespace kesta::unicode {
namespace {

const icu::Normalizer2& nfd() {
  UErrorCode status = U_ZERO_ERROR;
  return *icu::Normalizer2::getNFDInstance(status);
}

const icu::Normalizer2& nfc() {
  UErrorCode status = U_ZERO_ERROR;
  return *icu::Normalizer2::getNFCInstance(status);
}

const icu::Normalizer2& nfkc() {
  UErrorCode status = U_ZERO_ERROR;
  return *icu::Normalizer2::getNFKCInstance(status);
}

// Accents that diacritic-insensitive comparison ignores: the combining marks
// that decomposition splits off Latin, Greek and Cyrillic letters.
bool isStrippedMark(UChar32 c) {
  return (c >= 0x0300 && c <= 0x036F) || (c >= 0x1AB0 && c <= 0x1AFF) || (c >= 0x1DC0 && c <= 0x1DFF) ||
         (c >= 0x20D0 && c <= 0x20FF) || (c >= 0xFE20 && c <= 0xFE2F);
}

bool isWidthForm(UChar32 c) { return c >= 0xFF00 && c <= 0xFFEF; }

icu::UnicodeString foldWidth(const icu::UnicodeString& text) {
  icu::UnicodeString out;
  for (int32_t i = 0; i < text.length();) {
    const UChar32 c = text.char32At(i);
    i += U16_LENGTH(c);
    if (isWidthForm(c)) {
      UErrorCode status = U_ZERO_ERROR;
      const icu::UnicodeString mapped = nfkc().normalize(icu::UnicodeString(c), status);
      out.append(U_SUCCESS(status) ? mapped : icu::UnicodeString(c));
    } else {
      out.append(c);
    }
  }
  return out;
}

bool isAscii(std::string_view text) {
  for (const unsigned char c : text)
    if (c >= 0x80) return false;
  return true;
}

}  // namespace

std::string fold(std::string_view text, FoldOptions options) {
  if (isAscii(text)) {
    std::string out(text);
    if (options.caseInsensitive)
      for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return out;
  }
  icu::UnicodeString u =
      icu::UnicodeString::fromUTF8(icu::StringPiece(text.data(), static_cast<int32_t>(text.size())));
  UErrorCode status = U_ZERO_ERROR;
  if (options.widthInsensitive) u = foldWidth(u);
  u = nfd().normalize(u, status);
  if (options.caseInsensitive) u.foldCase(U_FOLD_CASE_DEFAULT);
  if (options.diacriticInsensitive) {
    icu::UnicodeString kept;
    for (int32_t i = 0; i < u.length();) {
      const UChar32 c = u.char32At(i);
      i += U16_LENGTH(c);
      if (!isStrippedMark(c)) kept.append(c);
    }
    u = kept;
  }
  u = nfc().normalize(u, status);
  std::string out;
  u.toUTF8String(out);
  return out;
}

bool isAlphanumeric(char32_t scalar) {
  const auto mask = U_GET_GC_MASK(static_cast<UChar32>(scalar));
  return (mask & (U_GC_L_MASK | U_GC_M_MASK | U_GC_N_MASK)) != 0;
}

bool isLetter(char32_t scalar) { return (U_GET_GC_MASK(static_cast<UChar32>(scalar)) & U_GC_L_MASK) != 0; }

bool isNumeric(char32_t scalar) { return (U_GET_GC_MASK(static_cast<UChar32>(scalar)) & U_GC_N_MASK) != 0; }

std::u32string toScalars(std::string_view text) {
  std::u32string out;
  out.reserve(text.size());
  const auto* bytes = reinterpret_cast<const uint8_t*>(text.data());
  const auto length = static_cast<int32_t>(text.size());
  for (int32_t i = 0; i < length;) {
    UChar32 c;
    U8_NEXT(bytes, i, length, c);
    out.push_back(c < 0 ? U'\uFFFD' : static_cast<char32_t>(c));
  }
  return out;
}

void appendScalar(std::string& out, char32_t scalar) {
  if (scalar < 0x80) {
    out.push_back(static_cast<char>(scalar));
    return;
  }
  uint8_t buffer[4];
  int32_t length = 0;
  UBool error = false;
  U8_APPEND(buffer, length, 4, static_cast<UChar32>(scalar), error);
  if (error) {
    appendScalar(out, U'\uFFFD');
    return;
  }
  out.append(reinterpret_cast<const char*>(buffer), static_cast<std::size_t>(length));
}

std::string fromScalars(std::u32string_view scalars) {
  std::string out;
  out.reserve(scalars.size());
  for (const char32_t c : scalars) appendScalar(out, c);
  return out;
}

std::size_t graphemeCount(std::string_view text) {
  if (isAscii(text)) {
    // CR LF is the one ASCII pair that forms a single cluster.
    std::size_t count = text.size();
    for (std::size_t i = 1; i < text.size(); ++i)
      if (text[i - 1] == '\r' && text[i] == '\n') --count;
    return count;
  }
  return graphemeBoundaries(text).size() - 1;
}

std::vector<std::size_t> graphemeBoundaries(std::string_view text) {
  std::vector<std::size_t> offsets;
  if (isAscii(text)) {
    for (std::size_t i = 0; i < text.size(); ++i)
      if (i == 0 || text[i - 1] != '\r' || text[i] != '\n') offsets.push_back(i);
    offsets.push_back(text.size());
    return offsets;
  }
  // One iterator per thread: creating one costs far more than walking a line.
  thread_local std::unique_ptr<icu::BreakIterator> it = [] {
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::BreakIterator> made(
        icu::BreakIterator::createCharacterInstance(icu::Locale::getRoot(), status));
    return U_SUCCESS(status) ? std::move(made) : nullptr;
  }();
  UErrorCode status = U_ZERO_ERROR;
  UText* utext = utext_openUTF8(nullptr, text.data(), static_cast<int64_t>(text.size()), &status);
  if (it && U_SUCCESS(status)) it->setText(utext, status);
  if (!it || U_FAILURE(status)) {
    utext_close(utext);
    const auto* bytes = reinterpret_cast<const uint8_t*>(text.data());
    const auto length = static_cast<int32_t>(text.size());
    for (int32_t i = 0; i < length;) {
      offsets.push_back(static_cast<std::size_t>(i));
      U8_FWD_1(bytes, i, length);
    }
    offsets.push_back(text.size());
    return offsets;
  }
  for (int32_t at = it->first(); at != icu::BreakIterator::DONE; at = it->next())
    offsets.push_back(static_cast<std::size_t>(at));
  // The iterator keeps a pointer to the text: leave it on an empty one.
  status = U_ZERO_ERROR;
  UText* empty = utext_openUTF8(nullptr, "", 0, &status);
  it->setText(empty, status);
  utext_close(empty);
  utext_close(utext);
  return offsets;
}

bool isWhitespace(char32_t scalar) {
  return scalar == U'\t' || u_charType(static_cast<UChar32>(scalar)) == U_SPACE_SEPARATOR;
}

bool isWhitespaceOrNewline(char32_t scalar) {
  if (isWhitespace(scalar)) return true;
  switch (scalar) {
    case U'\n':
    case U'\v':
    case U'\f':
    case U'\r':
    case U'\u0085':
    case U'\u2028':
    case U'\u2029':
      return true;
    default:
      return false;
  }
}

std::string trimmed(std::string_view text, bool (*isTrimmed)(char32_t)) {
  // Most texts start and end with a kept ASCII character: nothing to decode.
  const auto keptAscii = [&](char c) {
    return static_cast<unsigned char>(c) < 0x80 && !isTrimmed(static_cast<char32_t>(c));
  };
  if (text.empty() || (keptAscii(text.front()) && keptAscii(text.back()))) return std::string(text);
  // Ends that are ASCII and not trimmed need no decoding.
  const auto keeps = [isTrimmed](char c) { return static_cast<unsigned char>(c) < 0x80 && !isTrimmed(c); };
  if (text.empty() || (keeps(text.front()) && keeps(text.back()))) return std::string(text);
  const std::u32string scalars = toScalars(text);
  std::size_t begin = 0;
  std::size_t end = scalars.size();
  while (begin < end && isTrimmed(scalars[begin])) ++begin;
  while (end > begin && isTrimmed(scalars[end - 1])) --end;
  if (begin == 0 && end == scalars.size()) return std::string(text);
  return fromScalars(std::u32string_view(scalars).substr(begin, end - begin));
}

std::string isolated(std::string_view text) {
  std::string out = "\u2068";
  out += text;
  out += "\u2069";
  return out;
}

}  // namespace kesta::unicode
