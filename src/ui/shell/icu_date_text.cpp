#include "ui/shell/icu_date_text.h"

#include <unicode/datefmt.h>

#include <cstdlib>
#include <memory>
#include <string_view>

namespace kesta::ui {

namespace {

const char* firstSet(std::initializer_list<const char*> values) {
  for (const char* value : values) {
    if (value && *value) return value;
  }
  return "";
}

std::string format(icu::DateFormat::EStyle dateStyle, Date date, const icu::Locale& locale,
                   const icu::TimeZone* zone) {
  const std::unique_ptr<icu::DateFormat> format(
      icu::DateFormat::createDateTimeInstance(dateStyle, icu::DateFormat::kShort, locale));
  if (!format) return {};
  if (zone) format->setTimeZone(*zone);
  icu::UnicodeString text;
  format->format(date.unixSeconds() * 1000.0, text);
  std::string utf8;
  text.toUTF8String(utf8);
  return utf8;
}

}  // namespace

icu::Locale timeLocale(const char* lcAll, const char* lcTime, const char* lang) {
  std::string_view name = firstSet({lcAll, lcTime, lang});
  // "de_DE.UTF-8@euro": the code set and the modifier say nothing about how dates read.
  name = name.substr(0, name.find_first_of(".@"));
  if (name.empty() || name == "C" || name == "POSIX") return icu::Locale("en_US_POSIX");
  return icu::Locale(std::string(name).c_str());
}

icu::Locale timeLocale() {
  return timeLocale(std::getenv("LC_ALL"), std::getenv("LC_TIME"), std::getenv("LANG"));
}

std::string mediumDateShortTime(Date date, const icu::Locale& locale, const icu::TimeZone* zone) {
  return format(icu::DateFormat::kMedium, date, locale, zone);
}

std::string shortTime(Date date, const icu::Locale& locale, const icu::TimeZone* zone) {
  return format(icu::DateFormat::kNone, date, locale, zone);
}

}  // namespace kesta::ui
