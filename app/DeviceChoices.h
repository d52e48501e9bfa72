#pragma once
// The choices of the settings dialog's device page, made from the device
// enumeration: adapters, their device types, the adapter formats of a
// device's full-screen combos, the resolutions and refresh rates of a
// format; and the storing of a choice into the full-screen half of the
// display settings. Every list holds each text once.
#include <windows.h>
#include <d3d9.h>

#include <string>
#include <vector>

#include "enumeration/C3DeviceEnum.h"
#include "frame/DisplaySettings.h"

struct ChoiceItem {
  std::string text;
  LPARAM data;
};
using ChoiceList = std::vector<ChoiceItem>;

// Appends the item unless an item with exactly the same text is listed
// (case and length count); returns whether it was added.
bool AddDistinctChoice(ChoiceList* items, const std::string& text, LPARAM data);
// Position of the first item carrying `data`, else 0; -1 for an empty list.
int PreferredChoice(const ChoiceList& items, LPARAM data);

// Adapter descriptions (data: adapter ordinal).
ChoiceList AdapterChoices(const C3DeviceEnum& enumeration);
// Device type names, "D3DDEVTYPE_HAL" and so on (data: the device type).
ChoiceList DeviceTypeChoices(const C3AdapterInfo* adapter);
// Adapter formats of the device's full-screen combos, named without the
// "D3DFMT_" prefix (data: the format).
ChoiceList AdapterFormatChoices(const C3DeviceInfo* device);
// "%d by %d" of the adapter's modes of the format (data: ResolutionData).
ChoiceList ResolutionChoices(const C3AdapterInfo* adapter, D3DFORMAT format);
// "%d Hz", or "Default Rate" for 0, of the modes of that format and size
// (data: the rate).
ChoiceList RefreshChoices(const C3AdapterInfo* adapter, D3DFORMAT format, UINT width, UINT height);

inline LPARAM ResolutionData(UINT width, UINT height) {
  return static_cast<LPARAM>(height) * 65536 + static_cast<LPARAM>(width);
}

C3AdapterInfo* FindAdapter(const C3DeviceEnum& enumeration, UINT ordinal);
C3DeviceInfo* FindDeviceInfo(const C3AdapterInfo* adapter, D3DDEVTYPE type);
// Whether the device drives an adapter group of more than one head.
bool DeviceHasDualView(const C3DeviceInfo* device);

// The full-screen half takes the adapter and device (and a full-screen
// combo of the device, in the current format when it has one).
void StoreFullscreenDevice(DisplaySettings* settings, C3AdapterInfo* adapter, C3DeviceInfo* device);
// The full-screen format (and the device's first full-screen combo of it).
void StoreFullscreenFormat(DisplaySettings* settings, D3DFORMAT format);
void StoreFullscreenResolution(DisplaySettings* settings, LPARAM resolutionData);
void StoreFullscreenRefresh(DisplaySettings* settings, UINT rate);
