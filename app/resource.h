#pragma once

// Resource numbers of the pictures carried inside the executable. Shared by the resource script and the
// picture loader, so it holds plain macros only.
//
// Every JPEG, PNG and BMP picture is there at three screen scales: its number for 100 %, that number plus
// 1000 for 150 % and plus 2000 for 200 %. Icons (ICO) hold their sizes in one resource.
#define PICTURE_AT_150(id) ((id) + 1000)
#define PICTURE_AT_200(id) ((id) + 2000)

#define IDI_APP 1
#define IDI_TRAY 2
#define IDI_BTN_DESTROY 10
#define IDI_BTN_PAUSE 11
#define IDI_BTN_RESUME 12
#define IDI_BTN_STOP 13
#define IDI_BTN_REMOVE_SELECTED 14
#define IDI_BTN_REMOVE_ALL 15
#define IDI_BTN_JOURNAL 16

// JPEG and PNG data (RCDATA), decoded with libjpeg and libpng.
#define IDR_HEADER 100
#define IDR_CORNER 101
#define IDR_COVER 102
#define IDR_TOOLS_BACKGROUND 103
#define IDR_TOOLS_ITEMS 104
#define IDR_TOOLS_TABS 105
#define IDR_LOGO 110
#define IDR_GROUP_MAIN 120
#define IDR_GROUP_SHRED 121
#define IDR_GROUP_EXPLORER 122
#define IDR_GROUP_SUPPORT 123
#define IDR_LINK_HOME 130
#define IDR_LINK_CLEANER 131
#define IDR_LINK_TOOLS 132
#define IDR_LINK_QUIT 133
#define IDR_LINK_ADD_FILES 134
#define IDR_LINK_ADD_FOLDER 135
#define IDR_LINK_PRESETS 136
#define IDR_LINK_HELP 137
#define IDR_LINK_ABOUT 138

// The About window.
#define IDR_ABOUT_ART 140
#define IDR_ABOUT_WEB 141
#define IDR_ABOUT_MAIL 142
// Fast Cleaner pictures (PNG): tab icons, item states, M.R.U. rows, busy animation (a strip of frames).
#define IDR_CLEANER_TAB_GENERAL 150
#define IDR_CLEANER_TAB_SETTINGS 151
#define IDR_CLEANER_TAB_DNS 152
#define IDR_CLEANER_TAB_MRU 153
#define IDR_CLEANER_WAITING 154
#define IDR_CLEANER_DONE 155
#define IDR_CLEANER_MRU_KEY 156
#define IDR_CLEANER_MRU_VALUE 157
#define IDR_CLEANER_BUSY 158

// Menu pictures (BMP).
#define IDB_MENU_RECYCLE 200
#define IDB_MENU_INTERNET 201
#define IDB_MENU_HISTORY 202
#define IDB_MENU_DOCUMENTS 203
#define IDB_MENU_FOLDER 204
#define IDB_MENU_CLEANER 205
#define IDB_MENU_HELP 206
#define IDB_MENU_QUIT 207
