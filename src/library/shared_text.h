#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace kesta {

// An immutable text held once however often it is copied: a playlist may list
// one track thousands of times, and each entry then costs a pointer, not the
// text of the track's id again. Copies may be read on any thread.
class SharedText {
 public:
  SharedText() = default;
  SharedText(std::string text) : text_(std::make_shared<const std::string>(std::move(text))) {}
  SharedText(const char* text) : SharedText(std::string(text)) {}

  const std::string& str() const { return text_ ? *text_ : none(); }
  operator const std::string&() const { return str(); }
  operator std::string_view() const { return str(); }
  // Whether both hold the very same text, not merely equal ones.
  bool sharesWith(const SharedText& other) const { return text_ == other.text_; }

  friend bool operator==(const SharedText& a, const SharedText& b) { return a.str() == b.str(); }
  friend bool operator==(const SharedText& a, std::string_view b) { return a.str() == b; }
  friend bool operator==(const SharedText& a, const std::string& b) { return a.str() == b; }
  friend bool operator==(const SharedText& a, const char* b) { return a.str() == b; }

 private:
  static const std::string& none() {
    static const std::string empty;
    return empty;
  }

  std::shared_ptr<const std::string> text_;
};

}  // namespace kesta

template <>
struct std::hash<kesta::SharedText> {
  std::size_t operator()(const kesta::SharedText& text) const noexcept {
    return std::hash<std::string_view>{}(text.str());
  }
};
