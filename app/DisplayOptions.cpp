#include "DisplayOptions.h"

#include "MyApplication.h"
#include "config/X2ConfigList.h"
#include "diagnostics/Diagnostics.h"

namespace {

const char kDisplaySection[] = "Display";
const char kSystemSection[] = "system";
const char kMainIniName[] = "qelvar.ini";

// A value that is no number keeps the default (logged).
int ReadInt(const std::string& ini, const char* section, const char* key, int fallback) {
  return configini::ReadInt(ini, section, key, fallback);
}

void WriteInt(const std::string& ini, const char* key, long long value) {
  char text[32];
  FormatBoundedV(text, sizeof text, "%lld", value);
  WritePrivateProfileStringA(kDisplaySection, key, text, ini.c_str());
}

// The full-screen combo of the keys' device type and format: the first one,
// replaced by the first that runs in the desktop format with the same back
// buffer. False when none fits.
bool PickFullscreenCombo(C3AdapterInfo* adapter, const FullscreenKeys& keys, D3DFORMAT desktopFormat,
                         C3DeviceInfo** chosenDevice, C3DeviceCombo** chosenCombo) {
  *chosenDevice = nullptr;
  *chosenCombo = nullptr;
  for (UINT d = 0; d < adapter->DeviceInfoCount(); ++d) {
    C3DeviceInfo* device = adapter->GetDeviceInfo(d);
    if (!device || static_cast<int>(device->DevType) != keys.devType) continue;
    for (UINT c = 0; c < device->ComboCount(); ++c) {
      C3DeviceCombo* combo = device->GetCombo(c);
      if (!combo || combo->IsWindowed) continue;
      if (keys.format != 0 && static_cast<int>(combo->AdapterFormat) != keys.format) continue;
      bool desktopLike = combo->AdapterFormat == desktopFormat && combo->AdapterFormat == combo->BackBufferFormat;
      if (!*chosenCombo || desktopLike) {
        *chosenDevice = device;
        *chosenCombo = combo;
        if (desktopLike) return true;
      }
    }
  }
  return *chosenCombo != nullptr;
}

}  // namespace

std::string MainIniPath() { return std::string(GetProgramFolder()) + kMainIniName; }

void ReadDisplayOptions(MyApplication* app) { ReadDisplayOptionsFrom(app, GetProgramFolder()); }

void ReadDisplayOptionsFrom(MyApplication* app, const char* folder) {
  FormatBoundedV(app->m_programFolder, sizeof app->m_programFolder, "%s", folder ? folder : "");
  if (app->m_programFolder[0]) SetProgramFolder(app->m_programFolder);
  std::string ini = MainIniPath();

  app->m_x1Adapter = ReadInt(ini, kDisplaySection, "X1Adapter", app->m_x1Adapter);
  app->m_x1DeviceInfo = ReadInt(ini, kDisplaySection, "X1DeviceInfo", app->m_x1DeviceInfo);
  app->m_x1DisplayMode = ReadInt(ini, kDisplaySection, "X1DisplayMode", app->m_x1DisplayMode);
  app->m_x1MultiSample = ReadInt(ini, kDisplaySection, "X1MultiSample", app->m_x1MultiSample);
  app->m_debugLogLevel = ReadInt(ini, kDisplaySection, "DebugLogLevel", 0);
  SetDebugLogLevel(app->m_debugLogLevel);
  GetPrivateProfileStringA(kDisplaySection, "DebugDisableRender", "", app->m_debugDisableRender,
                           sizeof app->m_debugDisableRender, ini.c_str());
  app->m_debugDisplayFlag = ReadInt(ini, kDisplaySection, "DebugDisplayFlag", app->m_debugDisplayFlag);

  int dualView = ReadInt(ini, kSystemSection, "DualView", app->DualView());
  int swap = ReadInt(ini, kSystemSection, "DualView_SwapLR", app->SwapViews());
  app->SetDualView(dualView, swap);
}

FullscreenKeys ReadFullscreenKeys(const std::string& ini) {
  FullscreenKeys keys;
  keys.adapter = ReadInt(ini, kDisplaySection, "Adapter", keys.adapter);
  keys.format = ReadInt(ini, kDisplaySection, "Format", keys.format);
  keys.height = ReadInt(ini, kDisplaySection, "Height", keys.height);
  keys.width = ReadInt(ini, kDisplaySection, "Width", keys.width);
  keys.refresh = ReadInt(ini, kDisplaySection, "Refresh", keys.refresh);
  keys.devType = ReadInt(ini, kDisplaySection, "DevType", keys.devType);
  return keys;
}

UINT SelectFullscreenAdapter(const C3DeviceEnum& enumeration, int adapterKey) {
  if (adapterKey < 0 || static_cast<UINT>(adapterKey) >= enumeration.AdapterCount()) return 0;
  return static_cast<UINT>(adapterKey);
}

bool ChooseFullscreenSettings(const C3DeviceEnum& enumeration, const FullscreenKeys& keys,
                              const DesktopModeQuery& desktopMode, bool usesDepthBuffer,
                              DisplaySettings* settings) {
  if (!settings || enumeration.AdapterCount() == 0) {
    LogPrint("full screen: no adapter\n");
    return false;
  }
  C3AdapterInfo* adapter = enumeration.GetAdapter(SelectFullscreenAdapter(enumeration, keys.adapter));
  if (!adapter) return false;
  D3DDISPLAYMODE desktop{};
  if (!desktopMode || !desktopMode(adapter->AdapterOrdinal, &desktop)) desktop = D3DDISPLAYMODE{};

  C3DeviceInfo* chosenDevice = nullptr;
  C3DeviceCombo* chosenCombo = nullptr;
  if (!PickFullscreenCombo(adapter, keys, desktop.Format, &chosenDevice, &chosenCombo)) {
    // Nothing fits the keys: adapter 0, its first device info and first combo.
    adapter = enumeration.GetAdapter(0);
    chosenDevice = adapter ? adapter->GetDeviceInfo(0) : nullptr;
    chosenCombo = chosenDevice ? chosenDevice->GetCombo(0) : nullptr;
    if (!chosenCombo) {
      LogPrint("full screen: no device combo\n");
      return false;
    }
    if (!desktopMode || !desktopMode(adapter->AdapterOrdinal, &desktop)) desktop = D3DDISPLAYMODE{};
  }

  const D3DDISPLAYMODE* chosenMode = nullptr;
  for (UINT i = 0; i < adapter->ModeCount(); ++i) {
    const D3DDISPLAYMODE* mode = adapter->GetMode(i);
    if (!mode || mode->Format != chosenCombo->AdapterFormat) continue;
    if (static_cast<int>(mode->Width) == keys.width && static_cast<int>(mode->Height) == keys.height &&
        static_cast<int>(mode->RefreshRate) == keys.refresh && static_cast<int>(mode->Format) == keys.format) {
      LogPrint("Found Perfect Match Format : %d\n", static_cast<int>(i));
      chosenMode = mode;
      break;
    }
    if (!chosenMode || (static_cast<int>(mode->Width) == keys.width &&
                        static_cast<int>(mode->RefreshRate) <= keys.refresh))
      chosenMode = mode;
  }
  D3DDISPLAYMODE mode;
  if (chosenMode) {
    mode = *chosenMode;
  } else {
    LogPrint("full screen: no listed mode of the format, desktop mode used\n");
    mode = desktop;
    if (mode.Format == D3DFMT_UNKNOWN) mode.Format = chosenCombo->AdapterFormat;
  }

  settings->fullscreenAdapterInfo = adapter;
  settings->fullscreenDeviceInfo = chosenDevice;
  settings->fullscreenDeviceCombo = chosenCombo;
  settings->fullscreenDisplayMode = mode;
  settings->IsWindowed = FALSE;
  if (usesDepthBuffer) settings->fullscreenDepthStencilFormat = chosenCombo->GetDepthStencilFormat(0);
  settings->fullscreenMultisampleType = chosenCombo->GetMultiSampleType(0);
  settings->fullscreenMultisampleQuality = 0;
  settings->fullscreenVertexProcessingType = chosenCombo->GetVertexProcessingType(0);
  settings->fullscreenPresentInterval = D3DPRESENT_INTERVAL_IMMEDIATE;
  return true;
}

bool SaveDisplayMode(const DisplaySettings* settings, const std::string& ini) {
  if (!settings || !settings->fullscreenAdapterInfo || !settings->fullscreenDeviceInfo) {
    LogPrint("save display mode: no full-screen settings\n");
    return false;
  }
  const D3DDISPLAYMODE& mode = settings->fullscreenDisplayMode;
  WriteInt(ini, "Adapter", settings->fullscreenAdapterInfo->AdapterOrdinal);
  WriteInt(ini, "Format", static_cast<long long>(mode.Format));
  WriteInt(ini, "Height", mode.Height);
  WriteInt(ini, "Width", mode.Width);
  WriteInt(ini, "Refresh", mode.RefreshRate);
  WriteInt(ini, "DevType", static_cast<long long>(settings->fullscreenDeviceInfo->DevType));
  return true;
}

bool SaveDisplayMode(const DisplaySettings* settings) { return SaveDisplayMode(settings, MainIniPath()); }
