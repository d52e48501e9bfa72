#pragma once
#define IDD_ERROR_REPORT 129
#define IDC_ERROR_TEXT 1000
