#include "platform/locale_settings.h"

#include <gtest/gtest.h>

#include <clocale>
#include <ctime>

#include "platform/strftime_formats.h"

namespace quorlin {
namespace {

// Puts the C locale back however the test ends, so later tests see what the runner set.
class LocaleGuard {
 public:
  ~LocaleGuard() { std::setlocale(LC_ALL, "C"); }
};

TEST(SystemLocaleSettingsTest, CLocale) {
  LocaleGuard guard;
  ASSERT_NE(nullptr, std::setlocale(LC_ALL, "C"));
  const LocaleSettings settings = SystemLocaleSettings();
  EXPECT_EQ("MM/dd/yy", settings.shortDateFormat);
  EXPECT_EQ('/', settings.dateSeparator);
  EXPECT_EQ(':', settings.timeSeparator);
  EXPECT_EQ('.', settings.decimalSeparator);
  EXPECT_EQ("AM", settings.amString);
  EXPECT_EQ("PM", settings.pmString);
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  EXPECT_NEAR(local.tm_year + 1900, settings.currentYear, 1);
}

TEST(SystemLocaleSettingsTest, GermanLocale) {
  LocaleGuard guard;
  if (std::setlocale(LC_ALL, "de_DE.UTF-8") == nullptr && std::setlocale(LC_ALL, "de_DE") == nullptr) {
    GTEST_SKIP() << "de_DE is not installed";
  }
  const LocaleSettings settings = SystemLocaleSettings();
  EXPECT_EQ("dd.MM.yyyy", settings.shortDateFormat);
  EXPECT_EQ('.', settings.dateSeparator);
  EXPECT_EQ(':', settings.timeSeparator);
  EXPECT_EQ(',', settings.decimalSeparator);
  EXPECT_EQ("AM", settings.amString);
  EXPECT_EQ("PM", settings.pmString);
}

TEST(StrftimeFormatsTest, DateFormats) {
  const struct {
    const char* format;
    const char* shortDate;
    char separator;
  } cases[] = {
      {"%m/%d/%y", "MM/dd/yy", '/'},
      {"%D", "MM/dd/yy", '/'},
      {"%d.%m.%Y", "dd.MM.yyyy", '.'},
      {"%Y-%m-%d", "yyyy-MM-dd", '-'},
      {"%F", "yyyy-MM-dd", '-'},
      {"%-d/%-m/%Ey", "dd/MM/yy", '/'},
      {"%e %b %C%y", "dd MMM yyyy", ' '},
      {"%a %d/%m/%Y", "dd/MM/yyyy", '/'},
      {"%d.%m.%Y r.", "dd.MM.yyyy", '.'},
      {"%Y\xe5\xb9\xb4%m\xe6\x9c\x88%d\xe6\x97\xa5", "yyyy\xe5\xb9\xb4MM\xe6\x9c\x88" "dd", '/'},
      {"%Y%m%d", "yyyyMMdd", '/'},
      {"%x", "", '/'},
      {"%A", "", '/'},
  };
  for (const auto& c : cases) {
    const std::string shortDate = ShortDateFormatFromStrftime(c.format);
    EXPECT_EQ(c.shortDate, shortDate) << c.format;
    EXPECT_EQ(c.separator, DateSeparatorOf(shortDate)) << c.format;
  }
}

TEST(StrftimeFormatsTest, TimeSeparators) {
  const struct {
    const char* format;
    char separator;
  } cases[] = {
      {"%H:%M:%S", ':'}, {"%T", ':'}, {"%r", ':'}, {"%H.%M.%S", '.'},
      {"%Hh%M", ':'},    {"", ':'},   {"%%%H", ':'}, {"%p %I.%M", '.'},
  };
  for (const auto& c : cases) EXPECT_EQ(c.separator, TimeSeparatorFromStrftime(c.format)) << c.format;
}

}  // namespace
}  // namespace quorlin
