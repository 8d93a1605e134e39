#include "platform/text/regex.h"

#include <unicode/regex.h>
#include <unicode/unistr.h>

#include <stdexcept>

namespace kesta {

struct Regex::Impl {
  std::unique_ptr<icu::RegexPattern> pattern;
};

namespace {

icu::UnicodeString fromUtf8(std::string_view text) {
  return icu::UnicodeString::fromUTF8(icu::StringPiece(text.data(), static_cast<int32_t>(text.size())));
}

std::string toUtf8(const icu::UnicodeString& text) {
  std::string out;
  text.toUTF8String(out);
  return out;
}

Regex::Match currentMatch(icu::RegexMatcher& matcher) {
  Regex::Match match;
  for (int32_t group = 0; group <= matcher.groupCount(); ++group) {
    UErrorCode status = U_ZERO_ERROR;
    if (matcher.start(group, status) < 0 || U_FAILURE(status)) {
      match.groups.emplace_back();
      continue;
    }
    status = U_ZERO_ERROR;
    match.groups.emplace_back(toUtf8(matcher.group(group, status)));
  }
  return match;
}

}  // namespace

Regex::Regex(std::string_view pattern, bool caseInsensitive) : impl_(std::make_unique<Impl>()) {
  UErrorCode status = U_ZERO_ERROR;
  UParseError parseError;
  impl_->pattern.reset(icu::RegexPattern::compile(
      fromUtf8(pattern), caseInsensitive ? UREGEX_CASE_INSENSITIVE : 0, parseError, status));
  if (U_FAILURE(status)) throw std::invalid_argument("invalid regular expression: " + std::string(pattern));
}

Regex::~Regex() = default;
Regex::Regex(Regex&&) noexcept = default;
Regex& Regex::operator=(Regex&&) noexcept = default;

bool Regex::search(std::string_view text) const {
  const icu::UnicodeString input = fromUtf8(text);
  UErrorCode status = U_ZERO_ERROR;
  std::unique_ptr<icu::RegexMatcher> matcher(impl_->pattern->matcher(input, status));
  return U_SUCCESS(status) && matcher->find(status) && U_SUCCESS(status);
}

std::optional<Regex::Match> Regex::firstMatch(std::string_view text) const {
  const icu::UnicodeString input = fromUtf8(text);
  UErrorCode status = U_ZERO_ERROR;
  std::unique_ptr<icu::RegexMatcher> matcher(impl_->pattern->matcher(input, status));
  if (U_FAILURE(status) || !matcher->find(status) || U_FAILURE(status)) return std::nullopt;
  return currentMatch(*matcher);
}

std::vector<Regex::Match> Regex::allMatches(std::string_view text) const {
  const icu::UnicodeString input = fromUtf8(text);
  UErrorCode status = U_ZERO_ERROR;
  std::unique_ptr<icu::RegexMatcher> matcher(impl_->pattern->matcher(input, status));
  std::vector<Match> matches;
  if (U_FAILURE(status)) return matches;
  while (matcher->find(status) && U_SUCCESS(status)) matches.push_back(currentMatch(*matcher));
  return matches;
}

std::string Regex::replaceAll(std::string_view text, std::string_view replacement) const {
  const icu::UnicodeString input = fromUtf8(text);
  UErrorCode status = U_ZERO_ERROR;
  std::unique_ptr<icu::RegexMatcher> matcher(impl_->pattern->matcher(input, status));
  if (U_FAILURE(status)) return std::string(text);
  const icu::UnicodeString result = matcher->replaceAll(fromUtf8(replacement), status);
  return U_SUCCESS(status) ? toUtf8(result) : std::string(text);
}

}  // namespace kesta
