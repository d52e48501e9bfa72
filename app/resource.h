#pragma once
// Resource identifiers of the screen saver.
#define IDI_MAIN_ICON 101
#define IDR_ACCELERATORS 113

#define ID_CAPTURE 40001
#define ID_TOGGLE_FULLSCREEN 40003
#define ID_TOGGLE_FRAME_MOVING 40004
#define ID_SINGLE_STEP 40005
#define ID_EXIT 40006
#define ID_SPEED_UP 40018
#define ID_SPEED_DOWN 40019
