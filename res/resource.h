// Resource ids shared by the resource script and the code.
#pragma once

#define IDR_MAINFRAME           128
#define IDD_WAIT                105
#define IDC_WAIT_TEXT           1097

#define IDS_PLEASE_WAIT         403
#define IDS_OUT_OF_MEMORY       404
#define IDS_MAIN_CAPTION        58041
#define IDS_APP_TITLE           57344
