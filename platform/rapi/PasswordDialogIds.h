// The resources of the stand-in's password dialog and unlock notice
// (PasswordDialogs.rc).
#pragma once

#define IDD_STANDIN_PASSWORD 201
#define IDD_STANDIN_UNLOCK   202
#define IDC_STANDIN_PROMPT   1201
#define IDC_STANDIN_PASSWORD 1202
#define IDS_STANDIN_ASK      1211
#define IDS_STANDIN_RETRY    1212
