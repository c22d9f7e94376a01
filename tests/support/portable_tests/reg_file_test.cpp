// .reg text in and out: the fixtures of every test tier depend on it.
#include <gtest/gtest.h>

#include "tests/support/portable/portable_registry.h"
#include "tests/support/portable/reg_file.h"
#include "tests/support/registry_probe.h"

namespace tw::test {
namespace {

constexpr const char* kEveryForm = R"(REGEDIT4

; a comment line
[HKEY_LOCAL_MACHINE\SOFTWARE\Test]
@="default text"
"Quoted \"name\""="C:\\Program Files\\x"
"Counter"=dword:0000002a
"Bytes"=hex:01,ff,00
"Long"=hex:00,01,02,03,04,05,06,07,08,09,0a,0b,0c,0d,0e,0f,10,11,12,13,14,15,16,\
  17,18,19,1a,1b,1c,1d,1e,1f
"Multi"=hex(7):61,00,62,00,00
"Empty"=hex:

[HKEY_CURRENT_USER\AppEvents\Schemes\Apps\Talkwise\Start Dictation US]
)";

TEST(RegFileTest, ReadsEveryDataForm) {
  PortableRegistry registry;
  ASSERT_FALSE(ImportRegText(registry, kEveryForm).has_value());
  const std::string key = "SOFTWARE\\Test";
  EXPECT_EQ(TextValue(registry, kHkeyLocalMachine, key, ""), "default text");
  EXPECT_EQ(TextValue(registry, kHkeyLocalMachine, key, "Quoted \"name\""), "C:\\Program Files\\x");
  EXPECT_EQ(DwordValue(registry, kHkeyLocalMachine, key, "Counter"), 42u);
  EXPECT_EQ(ValueBytes(registry, kHkeyLocalMachine, key, "Bytes"), (std::vector<std::uint8_t>{1, 0xff, 0}));
  auto longValue = ValueBytes(registry, kHkeyLocalMachine, key, "Long");
  ASSERT_TRUE(longValue.has_value());
  ASSERT_EQ(longValue->size(), 32u);
  EXPECT_EQ((*longValue)[31], 0x1f);
  EXPECT_EQ(ValueBytes(registry, kHkeyLocalMachine, key, "Multi"), (std::vector<std::uint8_t>{'a', 0, 'b', 0, 0}));
  EXPECT_EQ(ValueBytes(registry, kHkeyLocalMachine, key, "Empty"), std::vector<std::uint8_t>{});
  EXPECT_TRUE(KeyExists(registry, kHkeyCurrentUser, "AppEvents\\Schemes\\Apps\\Talkwise\\Start Dictation US"));
}

TEST(RegFileTest, ExportedTextImportsBackToTheSameRegistry) {
  PortableRegistry original;
  ASSERT_FALSE(ImportRegText(original, kEveryForm).has_value());
  const std::vector<std::string> roots = {"HKEY_LOCAL_MACHINE\\SOFTWARE", "HKEY_CURRENT_USER\\AppEvents"};
  const std::string exported = ExportRegText(original, roots);
  PortableRegistry copy;
  ASSERT_FALSE(ImportRegText(copy, exported).has_value()) << exported;
  EXPECT_EQ(ExportRegText(copy, roots), exported);
  EXPECT_NE(exported.find("\"Counter\"=dword:0000002a"), std::string::npos);
  EXPECT_NE(exported.find("@=\"default text\""), std::string::npos);
}

TEST(RegFileTest, MinusFormsDeleteKeyTreesAndValues) {
  PortableRegistry registry;
  ASSERT_FALSE(ImportRegText(registry, kEveryForm).has_value());
  ASSERT_FALSE(ImportRegText(registry, R"(REGEDIT4
[-HKEY_CURRENT_USER\AppEvents]
[HKEY_LOCAL_MACHINE\SOFTWARE\Test]
"Counter"=-
)").has_value());
  EXPECT_FALSE(KeyExists(registry, kHkeyCurrentUser, "AppEvents"));
  EXPECT_FALSE(DwordValue(registry, kHkeyLocalMachine, "SOFTWARE\\Test", "Counter").has_value());
  EXPECT_TRUE(ValueBytes(registry, kHkeyLocalMachine, "SOFTWARE\\Test", "Bytes").has_value());
}

// Found by fuzzing: the tree deletion opened "SOFTWARE" again and again.
TEST(RegFileTest, NamesWithANulCharacterAreRefusedAndChangeNothing) {
  for (const char* sign : {"", "-"}) {
    PortableRegistry registry;
    WriteDword(registry, kHkeyLocalMachine, "SOFTWARE\\A", "Keep", 1);
    const std::string text = std::string("REGEDIT4\n[") + sign + "HKEY_LOCAL_MACHINE\\SOFTWARE" + '\0' + "\\B]\n";
    const auto error = ImportRegText(registry, text);
    ASSERT_TRUE(error.has_value()) << sign;
    EXPECT_EQ(*error, "line 2: a key path cannot hold a NUL character");
    EXPECT_EQ(DwordValue(registry, kHkeyLocalMachine, "SOFTWARE\\A", "Keep"), 1u) << sign;
    EXPECT_FALSE(KeyExists(registry, kHkeyLocalMachine, "SOFTWARE\\B")) << sign;
    // A value name cut at its NUL would name "Keep".
    const std::string valueLine = std::string("\"Keep") + '\0' + "x\"=" + (*sign ? "-" : "dword:00000002");
    const auto valueError = ImportRegText(registry, "REGEDIT4\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\A]\n" + valueLine + "\n");
    ASSERT_TRUE(valueError.has_value()) << sign;
    EXPECT_EQ(*valueError, "line 3: a value name cannot hold a NUL character");
    EXPECT_EQ(DwordValue(registry, kHkeyLocalMachine, "SOFTWARE\\A", "Keep"), 1u) << sign;
  }
}

struct MalformedCase {
  const char* text;
  const char* error;
};

class MalformedRegTest : public ::testing::TestWithParam<MalformedCase> {};

TEST_P(MalformedRegTest, IsRefusedWithTheLineNamed) {
  PortableRegistry registry;
  const auto error = ImportRegText(registry, GetParam().text);
  ASSERT_TRUE(error.has_value());
  EXPECT_EQ(error->substr(0, std::string(GetParam().error).size()), GetParam().error) << *error;
}

INSTANTIATE_TEST_SUITE_P(
    EachFault, MalformedRegTest,
    ::testing::Values(MalformedCase{"", "the text holds no REGEDIT4 header"},
                      MalformedCase{"[HKEY_LOCAL_MACHINE\\X]\n", "line 1: expected the header"},
                      MalformedCase{"REGEDIT4\n\"a\"=\"b\"\n", "line 2: a value outside"},
                      MalformedCase{"REGEDIT4\n[HKEY_NOWHERE\\X]\n", "line 2: unknown root"},
                      MalformedCase{"REGEDIT4\n[HKEY_LOCAL_MACHINE\\X\n", "line 2: a key line"},
                      MalformedCase{"REGEDIT4\n[HKEY_LOCAL_MACHINE]\n", "line 2: a root key"},
                      MalformedCase{"REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\X]\n\"a\"=dword:123456789\n", "line 4: dword"},
                      MalformedCase{"REGEDIT4\n[HKEY_LOCAL_MACHINE\\X]\n\"a\"=hex:1,zz\n", "line 3: malformed hex"},
                      MalformedCase{"REGEDIT4\n[HKEY_LOCAL_MACHINE\\X]\n\"a\"=hex:01,\\\n  0g\n", "line 3: malformed"},
                      MalformedCase{"REGEDIT4\n[HKEY_LOCAL_MACHINE\\X]\n\"a\"=hex(zz):00\n", "line 3: hex(N)"},
                      MalformedCase{"REGEDIT4\n[HKEY_LOCAL_MACHINE\\X]\n\"a\"=\"open\n", "line 3: unterminated"},
                      MalformedCase{"REGEDIT4\n[HKEY_LOCAL_MACHINE\\X]\n\"a\" \"b\"\n", "line 3: expected ="},
                      MalformedCase{"REGEDIT4\n[HKEY_LOCAL_MACHINE\\X]\nname=1\n", "line 3: a value name"},
                      MalformedCase{"REGEDIT4\n[HKEY_LOCAL_MACHINE\\X]\n\"a\"=word:1\n", "line 3: unknown data"},
                      MalformedCase{"REGEDIT4\n[HKEY_LOCAL_MACHINE\\\\X]\n", "line 2: cannot create"}));

}  // namespace
}  // namespace tw::test
