// Every number the program gives a resource, menu command, dialog control or
// private message. Included by the resource script too, so it holds nothing
// but #defines.
#pragma once

#define IDR_MAINMENU 1000
#define IDI_MAINICON 3000
#define IDB_KBD_NORMAL 3051
#define IDB_KBD_SHIFT 3052
#define IDB_KBD_ALT 3053

#define IDM_TRANS 1010
#define IDM_TRANS_GER_ENG 1011
#define IDM_TRANS_ENG_GER 1012
#define IDM_ADD 1020
#define IDM_ADD_GER_ENG 1021
#define IDM_ADD_ENG_GER 1022
#define IDM_STRONGS 1030
#define IDM_KEYBOARDS 1050
#define IDM_KBD_NORMAL 1051
#define IDM_KBD_SHIFT 1052
#define IDM_KBD_ALT 1053
#define IDM_ABOUT 1080
#define IDM_HELP 1090
#define IDM_FKEY_HINT 1100

// Private requests between the program's windows.
#define WM_RUN_SEARCH 2011
#define WM_SHOW_STRONGS 2022
#define WM_INSERT_TEXT 2030

// The controls of the two dialogs; the check box has the same number in both.
#define IDC_SEARCH_EDIT 2010
#define IDC_GERMAN_KBD 2022
#define IDC_ENTRY_EDIT 2110
