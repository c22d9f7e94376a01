// The code page's lead bytes and upper-casing as CharUpperA and IsDBCSLeadByte
// give them.
#include "tests/contract/contract_test.h"

namespace tw::contract {
namespace {

class CodePageContract : public ContractTest {
 protected:
  const CodePage* Use(unsigned codePage) {
    std::string whyNot;
    const CodePage* page = world->CodePageFor(codePage, &whyNot);
    if (!page) ADD_FAILURE() << whyNot;
    return page;
  }
};

std::vector<int> LeadBytes(const CodePage& page) {
  std::vector<int> lead;
  for (int byte = 0; byte < 256; ++byte) {
    if (page.IsLeadByte(static_cast<unsigned char>(byte))) lead.push_back(byte);
  }
  return lead;
}

std::string Upper(const CodePage& page, std::string text) {
  page.Uppercase(text);
  return text;
}

TEST_F(CodePageContract, WesternHasNoLeadBytes) {
  const CodePage* page = Use(1252);
  if (!page) GTEST_SKIP();
  EXPECT_TRUE(LeadBytes(*page).empty());
}

TEST_F(CodePageContract, WesternUpperCasesAsciiAndLatinLetters) {
  const CodePage* page = Use(1252);
  if (!page) GTEST_SKIP();
  EXPECT_EQ(Upper(*page, "en_us-1 zz"), "EN_US-1 ZZ");
  EXPECT_EQ(Upper(*page, "\xE9\xE0\xF6\xFE"), "\xC9\xC0\xD6\xDE");  // e-acute, a-grave, o-umlaut, thorn
  EXPECT_EQ(Upper(*page, "\x9A\x9C\x9E\xFF"), "\x8A\x8C\x8E\x9F");  // s-caron, oe, z-caron, y-umlaut
  EXPECT_EQ(Upper(*page, "\xDF\xF7\xB5\xAA"), "\xDF\xF7\xB5\xAA");  // sharp s, division, micro, ordinal
}

class ChineseCodePage : public CodePageContract {
 protected:
  void SetUp() override {
    std::string whyNot;
    page = world->CodePageFor(936, &whyNot);
    if (!page) GTEST_SKIP() << whyNot;
  }
  const CodePage* page = nullptr;
};

TEST_F(ChineseCodePage, LeadBytesAre81ToFE) {
  const auto lead = LeadBytes(*page);
  ASSERT_EQ(lead.size(), 0xFEu - 0x81u + 1u);
  EXPECT_EQ(lead.front(), 0x81);
  EXPECT_EQ(lead.back(), 0xFE);
}

TEST_F(ChineseCodePage, UpperCasingLeavesDoubleByteCharactersAlone) {
  EXPECT_EQ(Upper(*page, "zh_cn"), "ZH_CN");
  // Trail bytes in the range of the ASCII letters stay as they are.
  EXPECT_EQ(Upper(*page, "\xB0\x61z\x81\x7A"), "\xB0\x61Z\x81\x7A");
  EXPECT_EQ(Upper(*page, "\xD6\xD0\xCE\xC4x"), "\xD6\xD0\xCE\xC4X");  // two Hanzi
}

TEST_F(ChineseCodePage, UpperCasingTurnsFullWidthGreekAndCyrillicLettersToCapitals) {
  // Full-width a, z and grave accent; alpha and omega; Cyrillic a, io and ya.
  EXPECT_EQ(Upper(*page, "\xA3\xE1\xA3\xFA\xA3\xE0"), "\xA3\xC1\xA3\xDA\xA3\xE0");
  EXPECT_EQ(Upper(*page, "\xA6\xC1\xA6\xD8"), "\xA6\xA1\xA6\xB8");
  EXPECT_EQ(Upper(*page, "\xA7\xD1\xA7\xD7\xA7\xF1"), "\xA7\xA1\xA7\xA7\xA7\xC1");
  // Pinyin letters whose capitals the code page lacks stay.
  EXPECT_EQ(Upper(*page, "\xA8\xA1x\xA8\xBAy"), "\xA8\xA1X\xA8\xBAY");
}

TEST_F(CodePageContract, WesternTextConvertsToUtf8) {
  const CodePage* page = Use(1252);
  if (!page) GTEST_SKIP();
  EXPECT_EQ(page->ToUtf8("caf\xE9 \x80 \x9F"), "caf\xC3\xA9 \xE2\x82\xAC \xC5\xB8");  // café € Ÿ
}

// The 8-bit registry calls convert a path before they split it: a trail byte
// 0x5C is no separator, and a trail byte that looks like a small letter is
// not folded.
TEST_F(ChineseCodePage, RegistryNamesKeepTheirDoubleByteCharactersWhole) {
  const std::string tool = "\xB9\xA4\xBE\xDF\x81\x5C";       // 工具乗
  const std::string trails = "\x81\x5C\x81\x7C\x82\x5C\x82\x7C";  // 乗亅俓倈
  Create(tool + "\\" + trails);
  Create("\x81\x61");  // 乤
  Create("\x81\x41");  // 丄
  EXPECT_EQ(SubkeyNames(scratch), (std::vector<std::string>{"\x81\x41", "\x81\x61", tool}));
  EXPECT_EQ(SubkeyNames(Open(tool, kKeyRead)), std::vector<std::string>{trails});
  RegKey inner = 0;
  ASSERT_EQ(registry.OpenKey(Open(tool, kKeyRead), trails.c_str(), kKeyRead, &inner), kErrorSuccess);
  registry.CloseKey(inner);
}

TEST_F(ChineseCodePage, TextConvertsToUtf8) { EXPECT_EQ(page->ToUtf8("\xD6\xD0\xCE\xC4 ok"), "中文 ok"); }

}  // namespace
}  // namespace tw::contract
