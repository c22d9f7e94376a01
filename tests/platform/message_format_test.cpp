#include "platform/message_format.h"

#include <gtest/gtest.h>

#include <string>

namespace tw {
namespace {

struct FormatCase {
  const char* format;
  const char* text;
  const char* expected;
};

class MessageFormatTest : public ::testing::TestWithParam<FormatCase> {};

TEST_P(MessageFormatTest, FillsNumberAndTextAndNothingElse) {
  const FormatCase& c = GetParam();
  EXPECT_EQ(FillMessageFormat(std::string(c.format), std::string("-7"), std::string(c.text)), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Formats, MessageFormatTest,
    ::testing::Values(FormatCase{"start failed (rc=%d):%s", "C:\\u.exe -y log", "start failed (rc=-7):C:\\u.exe -y log"},
                      // the command line is shown as it is, never read as a format
                      FormatCase{"(rc=%d):%s", "a%d%s%n b", "(rc=-7):a%d%s%n b"},
                      FormatCase{"%s then %d", "x", "x then -7"},
                      FormatCase{"100% sure, %x kept, ends with %", "", "100% sure, %x kept, ends with %"},
                      FormatCase{"no conversions", "x", "no conversions"}));

TEST(MessageFormatWideTest, FillsWideTextsTheSameWay) {
  EXPECT_EQ(FillMessageFormat(std::wstring(L"\u4E0D\u80FD(rc=%d):%s"), std::wstring(L"2"), std::wstring(L"%s")),
            L"\u4E0D\u80FD(rc=2):%s");
}

}  // namespace
}  // namespace tw
