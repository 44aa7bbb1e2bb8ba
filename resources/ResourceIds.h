#pragma once
// Identifiers of the resources compiled into QLT.exe.
#define IDI_QLT 1
// 64 x 16 monochrome: the restore, maximise, minimise and close glyphs of the skinned system menu.
#define IDB_MENUGLYPHS 100
