// Identifiers shared by the resource script and the code. Plain #defines so
// that both the resource compiler and C++ can read them.
#pragma once

#include "framework/ResourceTypes.h"

// Controls the code never addresses
#ifndef IDC_STATIC
#define IDC_STATIC          (-1)
#endif

// Dialog layouts
#define IDD_ABOUTBOX        100
#define IDD_CLICKER         102

// Strings
#define IDS_ABOUTBOX        101
#define IDS_RESTART_ELEVATED 102

// Icon, bitmap, menu
#define IDR_MAINFRAME       128
#define IDB_PICTURE         129
#define IDR_TRAYMENU        131

// System-menu commands (the low four bits of system commands are reserved)
#define IDM_ABOUTBOX        0x0010
#define IDM_RESTART_ELEVATED 0x0020

// Tray menu commands
#define ID_TRAY_SHOW        32771
#define ID_TRAY_EXIT        32772

// Panel controls
#define IDC_HIDE            1000
#define IDC_TITLE           1001
#define IDC_RADIUS          1002
#define IDC_SCALE           1003
#define IDC_TURNS           1004
#define IDC_SPEED_TEXT      1005
#define IDC_PICTURE         1006
#define IDC_SPEED           1008
#define IDC_START_KEY       1009
#define IDC_END_KEY         1010
#define IDC_TOGGLE_KEY      1011
#define IDC_RADIUS_SPIN     1012
#define IDC_TURNS_SPIN      1013
#define IDC_AUTO_ON         1014
#define IDC_TOGGLE_ON       1015
#define IDC_ABOUT_ICON      1016

