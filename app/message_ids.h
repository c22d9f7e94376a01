// String-table ids of the executable's messages.
#pragma once

#define IDS_CONFIRM_REMOVAL 1
#define IDS_MISSING_LOG_FILE 2
#define IDS_MISSING_UNINSTALLER 3
#define IDS_LAUNCH_FAILED 5
#define IDS_MISSING_PRODUCT 6
#define IDS_MISSING_LANGUAGE 7
#define IDS_USAGE 8
#define IDS_UNKNOWN_SWITCH 9
#define IDS_LOG_FAILED 10
#define IDS_NOT_REGISTERED 11
#define IDS_REMOVAL_RUNNING 12
#define IDS_APP_TITLE 57344
