#pragma once
// Dialog of the camera look-at AI.
#define IDD_FORELENS_CONFIG 101
#define IDC_FORELENS 1004
