#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string_view>
#include <vector>

// The structure of a JSON text, walked without building values: enough to
// find the spans of the track list and of each track. Anything unusual (an
// escaped key, a repeated key, a malformed separator) makes it give up, and
// the whole text is then decoded in one piece, which judges it exactly.
// Internal to the store's "library.json" coding; holds no state beyond a
// position in a text the caller keeps alive; used on one thread at a time;
// positions are byte offsets.
namespace kesta::LibraryFile::detail {

class Scanner {
 public:
  explicit Scanner(std::string_view text) : text_(text) {}

  std::size_t position() const { return pos_; }
  void skipWhitespace() {
    while (pos_ < text_.size() &&
           (text_[pos_] == ' ' || text_[pos_] == '\t' || text_[pos_] == '\n' || text_[pos_] == '\r')) {
      ++pos_;
    }
  }
  bool consume(char c) {
    skipWhitespace();
    if (pos_ >= text_.size() || text_[pos_] != c) return false;
    ++pos_;
    return true;
  }
  bool peek(char c) {
    skipWhitespace();
    return pos_ < text_.size() && text_[pos_] == c;
  }
  // A key without escapes, or nothing.
  std::optional<std::string_view> key() {
    if (!consume('"')) return std::nullopt;
    const std::size_t start = pos_;
    while (pos_ < text_.size() && text_[pos_] != '"') {
      if (text_[pos_] == '\\') return std::nullopt;
      ++pos_;
    }
    if (pos_ >= text_.size()) return std::nullopt;
    return text_.substr(start, pos_++ - start);
  }
  // Moves past one value of any kind; false when it runs off the text.
  bool skipValue() {
    skipWhitespace();
    if (pos_ >= text_.size()) return false;
    const char first = text_[pos_];
    if (first == '"') return skipString();
    if (first == '{' || first == '[') {
      int depth = 0;
      while (pos_ < text_.size()) {
        const char c = text_[pos_];
        if (c == '"') {
          if (!skipString()) return false;
          continue;
        }
        ++pos_;
        if (c == '{' || c == '[') {
          ++depth;
        } else if ((c == '}' || c == ']') && --depth == 0) {
          return true;
        }
      }
      return false;
    }
    // A number or a literal runs up to the next separator.
    const std::size_t start = pos_;
    while (pos_ < text_.size() && std::string_view(",}] \t\n\r").find(text_[pos_]) == std::string_view::npos)
      ++pos_;
    return pos_ > start;
  }

 private:
  bool skipString() {
    ++pos_;
    while (pos_ < text_.size()) {
      const char c = text_[pos_++];
      if (c == '"') return true;
      if (c == '\\') ++pos_;  // the escaped character
    }
    return false;
  }

  std::string_view text_;
  std::size_t pos_ = 0;
};

struct Span {
  std::size_t begin = 0;
  std::size_t end = 0;

  std::string_view of(std::string_view text) const { return text.substr(begin, end - begin); }
};

// Reads the value of one wanted key; false when it is not what is wanted.
struct Wanted {
  std::string_view key;
  std::function<bool()> read;
};

// Walks the members of the object at the scanner: the value of each wanted
// key with its reader, which leaves the scanner after it, every other value
// skipped. False unless every wanted key occurs exactly once.
bool walkObject(Scanner& scanner, const std::vector<Wanted>& wanted);

// Reads the list at the scanner, brackets included, into `list`, and the span
// of each element into `elements`; `objects` asks every element to be one.
bool readList(Scanner& scan, Span& list, std::vector<Span>& elements, bool objects);

}  // namespace kesta::LibraryFile::detail
