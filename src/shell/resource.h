#pragma once
// Resource ids of Tovanix.exe (shared by tovanix.rc and the code that loads them).

// The program's icon: one 32 x 32 image, 32 bits per pixel. Window, task bar and tray icon.
#define IDI_TOVANIX 101
