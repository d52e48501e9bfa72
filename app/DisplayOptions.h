#pragma once
// The [Display] keys of qelvar.ini: start-up options, the full-screen mode
// choice and the writing of the chosen mode back.
#include <windows.h>
#include <d3d9.h>

#include <functional>
#include <string>

#include "enumeration/C3DeviceEnum.h"
#include "frame/DisplaySettings.h"

class MyApplication;

// "qelvar.ini" in the program folder.
std::string MainIniPath();

// Program folder, X1 indexes, debug keys and the dual-view keys into the
// application; also feeds the log level and program folder to the diagnostics.
void ReadDisplayOptions(MyApplication* app);
// The same keys from `folder`'s qelvar.ini (folder ends in a backslash).
void ReadDisplayOptionsFrom(MyApplication* app, const char* folder);

// The full-screen keys of [Display] with their defaults.
struct FullscreenKeys {
  int adapter = 0;
  int format = 0;  // 0: any adapter format
  int height = 480;
  int width = 640;
  int refresh = 60;
  int devType = 1;  // D3DDEVTYPE_HAL
};
FullscreenKeys ReadFullscreenKeys(const std::string& iniPath);

// The adapter index a key selects: the key when it names an enumerated
// adapter, else 0.
UINT SelectFullscreenAdapter(const C3DeviceEnum& enumeration, int adapterKey);

// The desktop mode of an adapter ordinal; false when it cannot be read.
using DesktopModeQuery = std::function<bool(UINT ordinal, D3DDISPLAYMODE* mode)>;

// Fills the full-screen half of `settings` from the enumeration and the keys.
// False (settings untouched) when there is no adapter, device info or combo
// to use. When no listed mode fits the combo's adapter format, the adapter's
// desktop mode is used.
bool ChooseFullscreenSettings(const C3DeviceEnum& enumeration, const FullscreenKeys& keys,
                              const DesktopModeQuery& desktopMode, bool usesDepthBuffer,
                              DisplaySettings* settings);

// Writes the full-screen half to [Display] (Adapter, Format, Height, Width,
// Refresh, DevType). False, with nothing written, when the half is not set.
bool SaveDisplayMode(const DisplaySettings* settings, const std::string& iniPath);
bool SaveDisplayMode(const DisplaySettings* settings);
