// Resource ids of the program file (shared by the resource script and the code).
#pragma once

#define IDI_VANTREL 1  // window icon
#define IDI_TRAY 2     // notification-area icon
#define IDI_LOGO 3     // logo of the main window
#define IDI_ABOUT 4    // picture of the about window
