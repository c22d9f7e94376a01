#include "app/message_table.h"

#include "app/message_ids.h"
#include "app/message_texts.h"

namespace tw {

std::map<std::uint32_t, std::string> MessageTable() {
  return {{IDS_CONFIRM_REMOVAL, TEXT_CONFIRM_REMOVAL},
          {IDS_MISSING_LOG_FILE, TEXT_MISSING_LOG_FILE},
          {IDS_MISSING_UNINSTALLER, TEXT_MISSING_UNINSTALLER},
          {IDS_LAUNCH_FAILED, TEXT_LAUNCH_FAILED},
          {IDS_MISSING_PRODUCT, TEXT_MISSING_PRODUCT},
          {IDS_MISSING_LANGUAGE, TEXT_MISSING_LANGUAGE},
          {IDS_USAGE, TEXT_USAGE},
          {IDS_UNKNOWN_SWITCH, TEXT_UNKNOWN_SWITCH},
          {IDS_LOG_FAILED, TEXT_LOG_FAILED},
          {IDS_NOT_REGISTERED, TEXT_NOT_REGISTERED},
          {IDS_REMOVAL_RUNNING, TEXT_REMOVAL_RUNNING},
          {IDS_APP_TITLE, TEXT_APP_TITLE}};
}

}  // namespace tw
