// The user interface language on POSIX systems, from the locale variables.
#include <gtest/gtest.h>

#include "IsLanguageFrench.hpp"
#include "platform.hpp"
#include "scoped_env.hpp"

namespace brevanto {
namespace {

std::uint16_t language_for(const char* lc_all, const char* lc_messages, const char* lang) {
  auto value = [](const char* v) { return v ? std::optional<std::string>(v) : std::nullopt; };
  fixtures::ScopedEnv all("LC_ALL", value(lc_all));
  fixtures::ScopedEnv messages("LC_MESSAGES", value(lc_messages));
  fixtures::ScopedEnv language("LANG", value(lang));
  return platform::ui_language();
}

TEST(UiLanguage, FrenchLocalesGiveTheirLanguageIdentifiers) {
  EXPECT_EQ(language_for("fr_FR.UTF-8", nullptr, nullptr), 0x040C);
  EXPECT_EQ(language_for("fr", nullptr, nullptr), 0x040C);
  EXPECT_EQ(language_for("fr_BE@euro", nullptr, nullptr), 0x080C);
  EXPECT_EQ(language_for("fr_CA.ISO-8859-1", nullptr, nullptr), 0x0C0C);
  EXPECT_EQ(language_for("fr_CH", nullptr, nullptr), 0x100C);
  EXPECT_EQ(language_for("fr_LU.utf8", nullptr, nullptr), 0x140C);
  EXPECT_EQ(language_for("fr_SN", nullptr, nullptr), 0x040C);
}

TEST(UiLanguage, FirstSetVariableDecides) {
  EXPECT_EQ(language_for(nullptr, "fr_FR", "en_US"), 0x040C);
  EXPECT_EQ(language_for("", "", "fr_CA"), 0x0C0C);  // empty counts as unset
  EXPECT_EQ(language_for("C", "fr_FR", "fr_FR"), 0x0409);
  EXPECT_EQ(language_for(nullptr, nullptr, nullptr), 0x0409);
  EXPECT_EQ(language_for("french", nullptr, nullptr), 0x0409);
  EXPECT_EQ(language_for("frr_DE", nullptr, nullptr), 0x0409);
}

TEST(UiLanguage, IsLanguageFrenchLooksAtThePrimaryLanguageOnly) {
  {
    fixtures::ScopedEnv french("LC_ALL", "fr_CA.UTF-8");
    EXPECT_EQ(IsLanguageFrench(), 1);
  }
  fixtures::ScopedEnv english("LC_ALL", "en_GB.UTF-8");
  EXPECT_EQ(IsLanguageFrench(), 0);
}

}  // namespace
}  // namespace brevanto
