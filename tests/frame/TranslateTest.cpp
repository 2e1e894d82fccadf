#include <gtest/gtest.h>

#include <clocale>

#include "FrameTestUtils.h"
#include "SafeFormat.h"
#include "Translate.h"
#include "VersionInfo.h"

namespace {

// The locale of CI and fresh machines: only C and POSIX, nothing in LANG.
class TranslateTest : public ::testing::Test {
protected:
  void SetUp() override {
    FEnv.Set("LC_ALL", "C");
    for (const char* v : {"LANG", "LC_MESSAGES", "LC_CTYPE", "LANGUAGE"}) FEnv.Set(v, std::nullopt);
    std::setlocale(LC_ALL, "");
    InitTranslation(CORVANE_BINARY_DIR "/locale");
  }
  void TearDown() override { ActivateLanguage("en"); }

  TEnvGuard FEnv;
};

}  // namespace

TEST_F(TranslateTest, GermanEnglishGermanInOneProcess) {
  ASSERT_STREQ(std::setlocale(LC_MESSAGES, nullptr), "C");
  ActivateLanguage("de");
  EXPECT_EQ(_("Format error: "), "Formatfehler: ");
  EXPECT_EQ(SafeFormat(_("%u files"), "text"), "Formatfehler: %u files");
  ActivateLanguage("en");
  EXPECT_EQ(_("Format error: "), "Format error: ");
  ActivateLanguage("de");
  EXPECT_EQ(_("Format error: "), "Formatfehler: ");
  EXPECT_EQ(VersionText("2.5.0.0"), "Version 2.5.0");

  // The toolkit's application object resets the locale from the environment.
  std::setlocale(LC_ALL, "");
  ReactivateLanguage();
  EXPECT_EQ(_("Format error: "), "Formatfehler: ");
}

TEST_F(TranslateTest, MissingCatalogsAndEntriesStayEnglish) {
  ActivateLanguage("fr");
  EXPECT_EQ(_("Format error: "), "Format error: ");
  ActivateLanguage("de");
  EXPECT_EQ(_("A text nobody translated"), "A text nobody translated");
  EXPECT_EQ(DialogsText("Format error: "), "Format error: ");  // other domains are looked up on their own
  EXPECT_EQ(_(""), "");                                          // not the catalog header
}

TEST_F(TranslateTest, UmlautsComeBackAsUtf8UnderTheCLocale) {
  BindTranslationDomain("frametest", CORVANE_BINARY_DIR "/tests/frame-locale");
  ActivateLanguage("de");
  EXPECT_EQ(DomainText("frametest", "Umlauts"), "Umlaute: \xC3\xA4\xC3\xB6\xC3\xBC\xC3\x9F");
}

TEST_F(TranslateTest, EmptyCodeRestoresThePlatformDefault) {
  FEnv.Set("LANGUAGE", "de");
  ActivateLanguage("");  // remembers the process's own LANGUAGE on first use
  const char* before = std::getenv("LANGUAGE");
  const std::string original = before ? before : "(unset)";
  ActivateLanguage("en");
  EXPECT_STREQ(std::getenv("LANGUAGE"), "en");
  ActivateLanguage("");
  const char* after = std::getenv("LANGUAGE");
  EXPECT_EQ(after ? after : "(unset)", original);
}
