// Resource ids shared by the resource script and the code.
#pragma once
#include "steps/string_ids.h"

#define IDD_PROGRESS 102
#define IDI_SETUP 128
#define IDC_STATUS_TEXT 1000
#define IDC_PROGRESS_BAR 1001

#define IDS_INTERNAL_ERROR 2
#define IDS_ERROR_CODE 3

#define SETUP_VERSION_COMMAS 1, 0, 0, 0
#define SETUP_VERSION_TEXT "1.0.0.0"
