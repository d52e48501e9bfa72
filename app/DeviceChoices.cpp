#include "DeviceChoices.h"

#include <cstdio>
#include <cstring>

#include "util/EngineUtil.h"

bool AddDistinctChoice(ChoiceList* items, const std::string& text, LPARAM data) {
  for (const ChoiceItem& item : *items)
    if (item.text == text) return false;
  items->push_back({text, data});
  return true;
}

int PreferredChoice(const ChoiceList& items, LPARAM data) {
  if (items.empty()) return -1;
  for (size_t i = 0; i < items.size(); ++i)
    if (items[i].data == data) return static_cast<int>(i);
  return 0;
}

ChoiceList AdapterChoices(const C3DeviceEnum& enumeration) {
  ChoiceList items;
  for (UINT a = 0; a < enumeration.AdapterCount(); ++a) {
    const C3AdapterInfo* adapter = enumeration.GetAdapter(a);
    if (!adapter) continue;
    const char* description = adapter->AdapterIdentifier.Description;
    AddDistinctChoice(&items, std::string(description, strnlen(description, MAX_DEVICE_IDENTIFIER_STRING)),
                      static_cast<LPARAM>(adapter->AdapterOrdinal));
  }
  return items;
}

ChoiceList DeviceTypeChoices(const C3AdapterInfo* adapter) {
  ChoiceList items;
  for (UINT d = 0; adapter && d < adapter->DeviceInfoCount(); ++d)
    if (const C3DeviceInfo* device = adapter->GetDeviceInfo(d))
      AddDistinctChoice(&items, GetDeviceTypeName(device->DevType), static_cast<LPARAM>(device->DevType));
  return items;
}

ChoiceList AdapterFormatChoices(const C3DeviceInfo* device) {
  ChoiceList items;
  for (UINT c = 0; device && c < device->ComboCount(); ++c) {
    const C3DeviceCombo* combo = device->GetCombo(c);
    if (!combo || combo->IsWindowed) continue;
    AddDistinctChoice(&items, GetFormatName(combo->AdapterFormat, false), static_cast<LPARAM>(combo->AdapterFormat));
  }
  return items;
}

ChoiceList ResolutionChoices(const C3AdapterInfo* adapter, D3DFORMAT format) {
  ChoiceList items;
  for (UINT m = 0; adapter && m < adapter->ModeCount(); ++m) {
    const D3DDISPLAYMODE* mode = adapter->GetMode(m);
    if (!mode || mode->Format != format) continue;
    char text[64];
    snprintf(text, sizeof text, "%d by %d", static_cast<int>(mode->Width), static_cast<int>(mode->Height));
    AddDistinctChoice(&items, text, ResolutionData(mode->Width, mode->Height));
  }
  return items;
}

ChoiceList RefreshChoices(const C3AdapterInfo* adapter, D3DFORMAT format, UINT width, UINT height) {
  ChoiceList items;
  for (UINT m = 0; adapter && m < adapter->ModeCount(); ++m) {
    const D3DDISPLAYMODE* mode = adapter->GetMode(m);
    if (!mode || mode->Format != format || mode->Width != width || mode->Height != height) continue;
    char text[32];
    if (mode->RefreshRate == 0)
      snprintf(text, sizeof text, "Default Rate");
    else
      snprintf(text, sizeof text, "%d Hz", static_cast<int>(mode->RefreshRate));
    AddDistinctChoice(&items, text, static_cast<LPARAM>(mode->RefreshRate));
  }
  return items;
}

C3AdapterInfo* FindAdapter(const C3DeviceEnum& enumeration, UINT ordinal) {
  for (UINT a = 0; a < enumeration.AdapterCount(); ++a) {
    C3AdapterInfo* adapter = enumeration.GetAdapter(a);
    if (adapter && adapter->AdapterOrdinal == ordinal) return adapter;
  }
  return nullptr;
}

C3DeviceInfo* FindDeviceInfo(const C3AdapterInfo* adapter, D3DDEVTYPE type) {
  for (UINT d = 0; adapter && d < adapter->DeviceInfoCount(); ++d) {
    C3DeviceInfo* device = adapter->GetDeviceInfo(d);
    if (device && device->DevType == type) return device;
  }
  return nullptr;
}

bool DeviceHasDualView(const C3DeviceInfo* device) {
  return device && device->Caps.NumberOfAdaptersInGroup > 1;
}

namespace {

// The device's first full-screen combo of the format, else its first
// full-screen combo; null when it has none.
C3DeviceCombo* FullscreenCombo(const C3DeviceInfo* device, D3DFORMAT format) {
  C3DeviceCombo* first = nullptr;
  for (UINT c = 0; device && c < device->ComboCount(); ++c) {
    C3DeviceCombo* combo = device->GetCombo(c);
    if (!combo || combo->IsWindowed) continue;
    if (combo->AdapterFormat == format) return combo;
    if (!first) first = combo;
  }
  return first;
}

}  // namespace

void StoreFullscreenDevice(DisplaySettings* settings, C3AdapterInfo* adapter, C3DeviceInfo* device) {
  if (!settings || !adapter || !device) return;
  settings->fullscreenAdapterInfo = adapter;
  settings->fullscreenDeviceInfo = device;
  if (C3DeviceCombo* combo = FullscreenCombo(device, settings->fullscreenDisplayMode.Format))
    settings->fullscreenDeviceCombo = combo;
}

void StoreFullscreenFormat(DisplaySettings* settings, D3DFORMAT format) {
  if (!settings) return;
  settings->fullscreenDisplayMode.Format = format;
  C3DeviceCombo* combo = FullscreenCombo(settings->fullscreenDeviceInfo, format);
  if (combo && combo->AdapterFormat == format) settings->fullscreenDeviceCombo = combo;
}

void StoreFullscreenResolution(DisplaySettings* settings, LPARAM resolutionData) {
  if (!settings) return;
  settings->fullscreenDisplayMode.Width = static_cast<UINT>(resolutionData & 0xFFFF);
  settings->fullscreenDisplayMode.Height = static_cast<UINT>((resolutionData >> 16) & 0xFFFF);
}

void StoreFullscreenRefresh(DisplaySettings* settings, UINT rate) {
  if (settings) settings->fullscreenDisplayMode.RefreshRate = rate;
}
