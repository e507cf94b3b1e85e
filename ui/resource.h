// Resource and control identifiers of Tarnview.
#pragma once

#define IDM_ABOUTBOX  0x0010
#define IDD_ABOUTBOX  100
#define IDS_ABOUTBOX  101
#define IDD_MAIN      102
#define IDR_MAINFRAME 128

// Texts of the capture line under "Camera".
#define IDS_CAPTURED           200
#define IDS_AWAITING_FRAMES    201
#define IDS_AWAITING_DISK      202
#define IDS_NAME_TOO_LONG      203
#define IDS_INVALID_NAME       204
#define IDS_NO_FREE_NUMBER     205
#define IDS_DIRECTORY_TOO_LONG 206

#define IDC_FILENAME       1000
#define IDC_CAMERA_NAME    1001
#define IDC_ACTION         1002
#define IDC_PREVIEW        1003
#define IDC_LAST_SNAPSHOT  1004
#define IDC_LAST_FILE      1005
#define IDC_MODE_SNAPSHOT  1006
#define IDC_MODE_AVI       1007
#define IDC_INCREMENT      1008
#define IDC_RESET_COUNTER  1009
#define IDC_FRAME_RATE     1010
#define IDC_STATUS         1011
#define IDC_VIEW_STILL     1012
#define IDC_SETUP_CAMERA   1013
#define IDC_DIRECTORY      1014
#define IDC_DURATION       1015
#define IDC_CAPTURE_STATUS 1016
#define IDC_FORMAT         1017

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif
