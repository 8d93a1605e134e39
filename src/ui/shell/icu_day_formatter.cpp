#include "ui/shell/icu_day_formatter.h"

#include <unicode/dtptngen.h>
#include <unicode/locid.h>
#include <unicode/smpdtfmt.h>

#include <memory>

#include "ui/shell/icu_date_text.h"

namespace kesta::ui {
namespace {

icu::UnicodeString monthDayPattern(const icu::Locale& locale) {
  UErrorCode status = U_ZERO_ERROR;
  const std::unique_ptr<icu::DateTimePatternGenerator> generator(
      icu::DateTimePatternGenerator::createInstance(locale, status));
  if (U_SUCCESS(status)) {
    icu::UnicodeString pattern = generator->getBestPattern(icu::UnicodeString("MMMd"), status);
    if (U_SUCCESS(status) && !pattern.isEmpty()) return pattern;
  }
  return icu::UnicodeString("MMM d");
}

}  // namespace

std::string IcuDayFormatter::monthDay(Date date) const {
  const icu::Locale locale = timeLocale();
  UErrorCode status = U_ZERO_ERROR;
  icu::SimpleDateFormat format(monthDayPattern(locale), locale, status);
  if (U_FAILURE(status)) return {};
  icu::UnicodeString text;
  format.format(date.unixSeconds() * 1000.0, text);
  std::string utf8;
  text.toUTF8String(utf8);
  return utf8;
}

}  // namespace kesta::ui
