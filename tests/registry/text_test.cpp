// Case rules that never split a double-byte character, and the pieces of the
// language code.
#include "registry/text.h"

#include <gtest/gtest.h>

#include "tests/support/portable/settable_code_page.h"

namespace tw::test {
namespace {

const SettableCodePage kWestern(1252);
const SettableCodePage kChinese(936);

TEST(TextTest, LeadBytesOfTheChineseCodePageOnly) {
  for (unsigned byte = 0; byte < 256; ++byte) {
    EXPECT_FALSE(IsLeadByte(kWestern, static_cast<unsigned char>(byte))) << byte;
    EXPECT_EQ(IsLeadByte(kChinese, static_cast<unsigned char>(byte)), byte >= 0x81 && byte <= 0xFE) << byte;
  }
}

struct LowercaseCase {
  const CodePage* codePage;
  std::string text;
  std::string expected;
};

class LowercaseTest : public ::testing::TestWithParam<LowercaseCase> {};

TEST_P(LowercaseTest, LowersOnlyLettersOutsideDoubleByteCharacters) {
  std::string text = GetParam().text;
  EXPECT_EQ(&LowercaseText(*GetParam().codePage, text), &text);
  EXPECT_EQ(text, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, LowercaseTest,
    ::testing::Values(LowercaseCase{&kWestern, "EN_US Help.HLP", "en_us help.hlp"},
                      LowercaseCase{&kWestern, "@[`{\xC0\xDE", "@[`{\xC0\xDE"},
                      // the same bytes: a trail byte in A..Z belongs to its character
                      LowercaseCase{&kWestern, "AB\xB0\x41Z", "ab\xB0\x61z"},
                      LowercaseCase{&kChinese, "AB\xB0\x41Z", "ab\xB0\x41z"},
                      LowercaseCase{&kChinese, "\xD6\xD0\xCE\xC4US.HLP", "\xD6\xD0\xCE\xC4us.hlp"},
                      // a lone lead byte at the end stops the walk
                      LowercaseCase{&kChinese, "AB\xB0", "ab\xB0"},
                      // the text ends at its terminator, also right after a lead byte
                      LowercaseCase{&kChinese, std::string("A\xB0\0BC", 5), std::string("a\xB0\0BC", 5)},
                      LowercaseCase{&kWestern, std::string("A\0B", 3), std::string("a\0B", 3)}));

struct CompareCase {
  const CodePage* codePage;
  const char* first;
  const char* second;
  int sign;  // of the result
};

class CompareTest : public ::testing::TestWithParam<CompareCase> {};

TEST_P(CompareTest, EqualOnlyUpToTheCaseOfLetters) {
  const int result = CompareTextNoCase(*GetParam().codePage, GetParam().first, GetParam().second);
  EXPECT_EQ((result > 0) - (result < 0), GetParam().sign) << GetParam().first << " / " << GetParam().second;
}

INSTANTIATE_TEST_SUITE_P(
    Pairs, CompareTest,
    ::testing::Values(CompareCase{&kWestern, "Talkwise Dictation", "TALKWISE dictation", 0},
                      CompareCase{&kWestern, "", "", 0}, CompareCase{&kWestern, "a", "b", -1},
                      CompareCase{&kWestern, "B", "a", 1}, CompareCase{&kWestern, "ab", "abc", -1},
                      CompareCase{&kWestern, "abc", "AB", 1},
                      // only A..Z and a..z are folded
                      CompareCase{&kWestern, "@", "`", -1}, CompareCase{&kWestern, "[", "{", -1},
                      CompareCase{&kWestern, "\xC0", "\xE0", -1},
                      // bytes compare as signed values
                      CompareCase{&kWestern, "\x80", "a", -1},
                      // a trail byte is compared exactly, never folded
                      CompareCase{&kWestern, "\xB0\x41", "\xB0\x61", 0},
                      CompareCase{&kChinese, "\xB0\x41", "\xB0\x61", -1},
                      CompareCase{&kChinese, "\xB0\x41x", "\xB0\x41X", 0},
                      CompareCase{&kChinese, "\xB0\x41", "\xB1\x41", -1},
                      // a lone lead byte at the end, and ends that differ after a lead byte
                      CompareCase{&kChinese, "A\xB0", "a\xB0", 0}, CompareCase{&kChinese, "\xB0", "\xB0X", -1},
                      // only the first text's byte decides that a pair is one character
                      CompareCase{&kChinese, "a\xB0\x41", "A\xB0\x61", -1},
                      CompareCase{&kChinese, "xA", "x\xB0", 1}));

struct LanguageCase {
  std::string code;
  std::string suffix;
  std::string soundEventSuffix;
  std::string shortCode;
};

class LanguagePiecesTest : public ::testing::TestWithParam<LanguageCase> {};

TEST_P(LanguagePiecesTest, CutsTheCodeIntoItsPieces) {
  EXPECT_EQ(LanguageSuffix(kChinese, GetParam().code), GetParam().suffix);
  EXPECT_EQ(SoundEventSuffix(kChinese, GetParam().code), GetParam().soundEventSuffix);
  EXPECT_EQ(ShortLanguageCode(kChinese, GetParam().code), GetParam().shortCode);
}

INSTANTIATE_TEST_SUITE_P(Codes, LanguagePiecesTest,
                         ::testing::Values(LanguageCase{"", "", "", ""}, LanguageCase{"E", "E", "", "E"},
                                           LanguageCase{"ENU", "NU", "", "ENU"},
                                           LanguageCase{"EN_U", "_U", "U", "EN_U"},
                                           LanguageCase{"AB_CD", "CD", "CD", "AB_CD"},
                                           LanguageCase{"EN_USA", "SA", "US", "EN_USA"},
                                           LanguageCase{"ABCDEFGHIJ", "IJ", "DE", "ABCDEFGH"},
                                           LanguageCase{"zh_cn_simplified", "ed", "cn", "ZH_CN_SI"},
                                           // a trail byte in a..z is not upper-cased
                                           LanguageCase{"\xB0\x61x", "\xB0\x61x", "", "\xB0\x61X"},
                                           // no piece begins or ends inside a character whose trail byte is "\"
                                           LanguageCase{"AB_\x81\\", "\x81\\", "\x81\\", "AB_\x81\\"},
                                           LanguageCase{"A\x81\\_\x82\\\x83\\D", "\x83\\D", "_\x82\\",
                                                        "A\x81\\_\x82\\\x83\\"},
                                           LanguageCase{"ABCDEFG\x81\\", "\x81\\", "DE", "ABCDEFG"},
                                           LanguageCase{"ABCDEFGH\x81\\", "\x81\\", "DE", "ABCDEFGH"}));

}  // namespace
}  // namespace tw::test
