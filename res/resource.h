// Resource ids shared by the resource script and the code.
#pragma once

// Controls nobody asks for by id.
#define IDC_STATIC -1

#define IDR_MAINFRAME     128
#define IDD_ABOUTBOX      100
#define IDC_ABOUT_VERSION 1010
#define IDC_ABOUT_NOTICE  1011
#define IDD_WAIT          105
#define IDC_WAIT_TEXT     1097

// Commands
#define ID_SELECT_ALL  1102
#define ID_SELECT_NONE 1103
#define ID_INSTALL     1104
#define ID_REFRESH     32771

// Bars of the main window, by control id (also their templates' ids)
#define IDW_COMMAND_BAR 10001
#define IDD_COMMAND_BAR 10001
#define IDW_TOTALS_BAR  10002

#define IDS_PLEASE_WAIT          403
#define IDS_OUT_OF_MEMORY        404
#define IDS_DEVICE_NOT_ANSWERING 405
#define IDS_DEVICE_INIT_FAILED   406
#define IDS_DEVICE_LINK_FAILED   407
#define IDS_MAIN_CAPTION         58041
#define IDS_APP_TITLE            57344

// Installation and its progress dialog
#define IDD_PROGRESS              108
#define IDC_PROGRESS_BAR          1003
#define IDC_PERCENT               1004
#define IDS_INSTALL_GO_ON         400
#define IDS_INSTALL_NO_ROOM       401
#define IDS_INSTALL_CHOOSE_FOLDER 402
#define IDS_INSTALL_CANNOT_READ   408
#define IDS_INSTALL_CANNOT_WRITE  409
#define IDS_INSTALL_WRITE_FAILED  410
#define IDS_INSTALL_LEFT_PARTIAL  411

// Main window
#define IDS_TIP_SELECT_ALL  58003
#define IDS_TIP_SELECT_NONE 58004
#define IDS_TIP_INSTALL     58021
#define IDS_DEST_CAPTION    58008

// Destination pane, tree and model
#define IDD_DEST_PANE           10000
#define IDC_PATH_LABEL          1009
#define IDC_DEST_TREE           10003
#define IDS_DEVICE_NAME         58010
#define IDS_SHELL_NO_ALLOCATOR  420
#define IDS_SHELL_NO_IMAGE_LIST 421
#define IDS_SHELL_NO_DESKTOP    422
#define IDS_SHELL_NO_COMPUTER   423
#define IDS_SHELL_NO_MEMORY     424
#define IDB_HANDHELD            134
#define IDB_FOLDER_CLOSED       135
#define IDB_FOLDER_OPEN         136

// Content list and totals bar
#define IDC_COLUMN_RESIZE    145
#define IDD_TOTALS_BAR       10002
#define IDC_TOTAL_ITEMS      1007
#define IDC_TOTAL_SIZE       1008
#define IDC_TOTAL_TIME       1009
#define IDS_TOTAL_ITEMS      58000
#define IDS_TOTAL_SIZE       58001
#define IDS_COLUMN_TITLE     58011
#define IDS_COLUMN_SIZE      58012
#define IDS_COLUMN_FILE_NAME 58014
