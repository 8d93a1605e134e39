#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kesta {

// An ICU regular expression over UTF-8 text (ICU syntax: look-behind,
// \p{...} classes, (?i) flags).
class Regex {
 public:
  struct Match {
    // Group 0 is the whole match; an unmatched group is absent.
    std::vector<std::optional<std::string>> groups;
  };

  // Throws std::invalid_argument for a pattern ICU refuses.
  explicit Regex(std::string_view pattern, bool caseInsensitive = false);
  ~Regex();
  Regex(Regex&&) noexcept;
  Regex& operator=(Regex&&) noexcept;

  bool search(std::string_view text) const;
  std::optional<Match> firstMatch(std::string_view text) const;
  std::vector<Match> allMatches(std::string_view text) const;
  std::string replaceAll(std::string_view text, std::string_view replacement) const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace kesta
