// Locale names to language ids, and the precedence of the locale variables.
#include "platform/locale/locale.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

TEST(LocaleTest, MapsLocaleNamesToLanguageIds) {
  struct Case {
    const char* name;
    uint16_t id;
  } cases[] = {
      {"cs_CZ.UTF-8", 0x0405}, {"cs", 0x0405},          {"pt_PT.UTF-8", 0x0816},
      {"pt_PT@euro", 0x0816},  {"pt_BR.UTF-8", 0x0416}, {"en_US.UTF-8", 0x0409},
      {"en_GB", 0x0809},       {"de_DE.UTF-8", 0x0407}, {"de_AT", 0x0C07},
      {"es_ES.UTF-8", 0x0C0A}, {"es_MX", 0x080A},       {"fr_FR.UTF-8", 0x040C},
      {"fr_CA", 0x0C0C},       {"it_IT", 0x0410},       {"DE_de", 0x0407},
      {"de-CH", 0x0807},       {"C", 0x0409},           {"C.UTF-8", 0x0409},
      {"POSIX", 0x0409},       {"", 0x0409},            {"xx_YY", 0x0409},
      {"fr_XX", 0x040C},       {"ja_JP.eucJP", 0x0411},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(platform::languageIdForLocale(c.name), c.id) << c.name;
  }
}

TEST(LocaleTest, PrimaryLanguagesOfTheLauncherTable) {
  EXPECT_EQ(platform::primaryLanguage(platform::languageIdForLocale("cs_CZ")), 5);
  EXPECT_EQ(platform::primaryLanguage(platform::languageIdForLocale("de_CH")), 7);
  EXPECT_EQ(platform::primaryLanguage(platform::languageIdForLocale("es_AR")), 10);
  EXPECT_EQ(platform::primaryLanguage(platform::languageIdForLocale("fr_BE")), 12);
  EXPECT_EQ(platform::primaryLanguage(platform::languageIdForLocale("pt_PT")), 22);
  EXPECT_EQ(platform::primaryLanguage(platform::languageIdForLocale("ru_RU")), 0x19);
}

TEST(LocaleTest, LcAllOverLcMessagesOverLang) {
  setenv("LANG", "fr_FR.UTF-8", 1);
  setenv("LC_MESSAGES", "de_DE.UTF-8", 1);
  setenv("LC_ALL", "cs_CZ.UTF-8", 1);
  EXPECT_EQ(platform::userInterfaceLanguage(), 0x0405);
  setenv("LC_ALL", "", 1);  // empty counts as unset
  EXPECT_EQ(platform::userInterfaceLanguage(), 0x0407);
  unsetenv("LC_MESSAGES");
  EXPECT_EQ(platform::userInterfaceLanguage(), 0x040C);
  unsetenv("LC_ALL");
  unsetenv("LANG");
  EXPECT_EQ(platform::userInterfaceLanguage(), 0x0409);
}

}  // namespace
