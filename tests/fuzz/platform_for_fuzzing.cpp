#include "tests/fuzz/platform_for_fuzzing.h"

#include "app/message_ids.h"
#include "tests/support/test_platform.h"

namespace tw::fuzz {

const std::filesystem::path& DrivesFolder() {
  static const test::TempFolder folder;  // removed when the process ends
  return folder.Path();
}

FuzzPlatform::FuzzPlatform() : files(DrivesFolder()), messages({}, IDS_APP_TITLE) {}

}  // namespace tw::fuzz
