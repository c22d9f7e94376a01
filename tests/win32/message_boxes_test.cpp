// Win32MessageBoxes' question whether anyone can answer a box: yes in the
// visible window station a user's programs run in, no in one of its own, as
// a service's. (A process in session 0 cannot be made here; Wine runs every
// process in session 1.)
#include <gtest/gtest.h>

#include <windows.h>

#include "platform/win32/win32_message_boxes.h"

namespace tw::win32test {
namespace {

TEST(MessageBoxesTest, NoDesktopInAWindowStationNoOneSees) {
  Win32MessageBoxes boxes(reinterpret_cast<InstanceHandle>(GetModuleHandleW(nullptr)), 0);
  EXPECT_TRUE(boxes.DesktopVisible());
  HWINSTA own = GetProcessWindowStation();
  HWINSTA hidden = CreateWindowStationW(L"TwTestHidden", 0, WINSTA_ALL_ACCESS, nullptr);
  ASSERT_NE(hidden, nullptr) << GetLastError();
  ASSERT_TRUE(SetProcessWindowStation(hidden));
  EXPECT_FALSE(boxes.DesktopVisible());
  ASSERT_TRUE(SetProcessWindowStation(own));
  CloseWindowStation(hidden);
  EXPECT_TRUE(boxes.DesktopVisible());
}

}  // namespace
}  // namespace tw::win32test
