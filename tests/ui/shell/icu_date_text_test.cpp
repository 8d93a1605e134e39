#include "ui/shell/icu_date_text.h"

#include <gtest/gtest.h>

#include <memory>

namespace kesta::ui {
namespace {

// 2026-12-07 15:41:30 UTC.
const Date kStart = Date::fromUnixSeconds(1'796'658'090);

TEST(IcuDateText, AbbreviatedDateAndShortTimeWithoutSecondsInTheUsersLanguage) {
  const std::unique_ptr<icu::TimeZone> utc(icu::TimeZone::createTimeZone("Etc/UTC"));
  const struct {
    const char* lang;
    const char* heading;
    const char* time;
  } cases[] = {
      // ICU writes a narrow no-break space before the English day period.
      {"en_US.UTF-8", "Dec 7, 2026, 3:41\u202FPM", "3:41\u202FPM"},
      {"de_DE.UTF-8", "07.12.2026, 15:41", "15:41"},
      {"C.UTF-8", "Dec 7, 2026, 3:41\u202FPM", "3:41\u202FPM"},
  };
  for (const auto& c : cases) {
    const icu::Locale locale = timeLocale(nullptr, nullptr, c.lang);
    EXPECT_EQ(mediumDateShortTime(kStart, locale, utc.get()), c.heading) << c.lang;
    EXPECT_EQ(shortTime(kStart, locale, utc.get()), c.time) << c.lang;
  }
}

TEST(IcuDateText, LanguageComesFromTheFirstVariableThatIsSet) {
  const struct {
    const char* lcAll;
    const char* lcTime;
    const char* lang;
    const char* locale;
  } cases[] = {
      {nullptr, nullptr, nullptr, "en_US_POSIX"},
      {nullptr, nullptr, "POSIX", "en_US_POSIX"},
      {nullptr, "de_DE.UTF-8", "en_US.UTF-8", "de_DE"},
      {"en_GB.UTF-8", "de_DE.UTF-8", "fr_FR.UTF-8", "en_GB"},
      // An empty LC_ALL counts as unset, as the C library reads it.
      {"", "de_DE.UTF-8", "C.UTF-8", "de_DE"},
      {nullptr, nullptr, "de_DE.UTF-8@euro", "de_DE"},
  };
  for (const auto& c : cases) {
    EXPECT_STREQ(timeLocale(c.lcAll, c.lcTime, c.lang).getName(), c.locale) << c.locale;
  }
}

}  // namespace
}  // namespace kesta::ui
