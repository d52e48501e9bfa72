#pragma once
// Dialog of the formation flock AI.
#define IDD_PURSEL_CONFIG 101
#define IDC_SCALE 1002
#define IDC_FOLLOWED_FLOCK 1003
#define IDC_FORM 1004
#define IDC_DENSITY 1005
#define IDC_FISH_COUNT 1006
#define IDC_SIZE_VARIE 1007
#define IDC_CHARACTER 1008
#define IDC_FISH_POSITION 1010
