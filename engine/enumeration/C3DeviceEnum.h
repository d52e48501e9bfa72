#pragma once
// What the machine's Direct3D 9 adapters can do, listed before any device
// exists: per adapter its display modes, per device type its caps, and per
// device combo (adapter format, back-buffer format, windowed or not) the
// depth/stencil formats, multisample types, vertex processing types and
// present intervals that work. The application picks its display settings
// from these records and keeps pointers into them for the whole run.
#include <windows.h>
#include <d3d9.h>

#include "util/C3ArrayList.h"

// Vertex processing types of a device combo.
enum C3VertexProcessingType {
  C3VP_SOFTWARE = 0,
  C3VP_MIXED = 1,
  C3VP_HARDWARE = 2,
  C3VP_PURE_HARDWARE = 3,
};

// A depth/stencil format that cannot be used with a multisample type.
struct C3DSMSConflict {
  D3DFORMAT DSFormat;
  D3DMULTISAMPLE_TYPE MSType;
};

struct C3DeviceCombo {
  C3DeviceCombo();
  UINT AdapterOrdinal = 0;
  D3DDEVTYPE DevType = D3DDEVTYPE_HAL;
  D3DFORMAT AdapterFormat = D3DFMT_UNKNOWN;
  D3DFORMAT BackBufferFormat = D3DFMT_UNKNOWN;
  bool IsWindowed = false;
  C3ArrayList DepthStencilFormats;      // D3DFORMAT
  C3ArrayList MultiSampleTypes;         // D3DMULTISAMPLE_TYPE
  C3ArrayList MultiSampleQualities;     // DWORD, parallel to the types
  C3ArrayList DSMSConflicts;            // C3DSMSConflict
  C3ArrayList VertexProcessingTypes;    // UINT, C3VertexProcessingType
  C3ArrayList PresentIntervals;         // UINT, D3DPRESENT_INTERVAL_*

  // Bounds-checked reads; the fallback when i is out of range.
  D3DFORMAT GetDepthStencilFormat(UINT i) const;        // D3DFMT_UNKNOWN
  D3DMULTISAMPLE_TYPE GetMultiSampleType(UINT i) const; // D3DMULTISAMPLE_NONE
  DWORD GetMultiSampleQuality(UINT i) const;            // 0
  UINT GetVertexProcessingType(UINT i) const;           // C3VP_SOFTWARE
  UINT GetPresentInterval(UINT i) const;                // D3DPRESENT_INTERVAL_DEFAULT
};

// One device type of one adapter. Owns its combos.
struct C3DeviceInfo {
  C3DeviceInfo();
  ~C3DeviceInfo();
  C3DeviceInfo(const C3DeviceInfo&) = delete;
  C3DeviceInfo& operator=(const C3DeviceInfo&) = delete;

  UINT AdapterOrdinal = 0;
  D3DDEVTYPE DevType = D3DDEVTYPE_HAL;
  D3DCAPS9 Caps;
  C3ArrayList DeviceCombos;             // C3DeviceCombo*, owned

  UINT ComboCount() const { return DeviceCombos.Count(); }
  C3DeviceCombo* GetCombo(UINT i) const;  // null when out of range
};

// One adapter. Owns its device infos.
struct C3AdapterInfo {
  C3AdapterInfo();
  ~C3AdapterInfo();
  C3AdapterInfo(const C3AdapterInfo&) = delete;
  C3AdapterInfo& operator=(const C3AdapterInfo&) = delete;

  UINT AdapterOrdinal = 0;
  D3DADAPTER_IDENTIFIER9 AdapterIdentifier;
  C3ArrayList DisplayModes;             // D3DDISPLAYMODE, sorted
  C3ArrayList DeviceInfos;              // C3DeviceInfo*, owned

  UINT ModeCount() const { return DisplayModes.Count(); }
  const D3DDISPLAYMODE* GetMode(UINT i) const;  // null when out of range
  UINT DeviceInfoCount() const { return DeviceInfos.Count(); }
  C3DeviceInfo* GetDeviceInfo(UINT i) const;    // null when out of range
};

// Asked for every vertex processing type of every combo; null accepts all.
typedef bool (*C3ConfirmDeviceCallback)(D3DCAPS9* caps, UINT vertexProcessingType,
                                        D3DFORMAT adapterFormat,
                                        D3DFORMAT backBufferFormat);

class C3DeviceEnum {
 public:
  C3DeviceEnum();
  ~C3DeviceEnum();
  C3DeviceEnum(const C3DeviceEnum&) = delete;
  C3DeviceEnum& operator=(const C3DeviceEnum&) = delete;

  // Builds every list from Direct3D (which must be set). E_FAIL without it,
  // E_OUTOFMEMORY when an allocation fails; Direct3D query failures only drop
  // what they concern. An earlier result is cleared first. An empty result is
  // not an error here.
  HRESULT Enumerate();
  // Frees every record and empties the lists.
  void Clear();

  UINT AdapterCount() const { return Adapters.Count(); }
  C3AdapterInfo* GetAdapter(UINT i) const;  // null when out of range

  // Set by the application before Enumerate.
  IDirect3D9* Direct3D = nullptr;       // not owned
  C3ArrayList Adapters;                 // C3AdapterInfo*, owned
  C3ConfirmDeviceCallback ConfirmDevice = nullptr;
  UINT MinFullscreenWidth = 640;
  UINT MinFullscreenHeight = 480;
  UINT MinColorChannelBits = 5;
  UINT MinAlphaChannelBits = 0;
  UINT MinDepthBits = 15;
  UINT MinStencilBits = 0;
  bool UsesDepthBuffer = false;
  bool UsesMixedVP = false;
  bool RequiresWindowed = false;
  bool RequiresFullscreen = false;
  C3ArrayList AllowedAdapterFormats;    // D3DFORMAT

 private:
  HRESULT EnumerateDevices(C3AdapterInfo* adapter, C3ArrayList* adapterFormats);
  HRESULT EnumerateCombos(C3DeviceInfo* device, C3ArrayList* adapterFormats);
  HRESULT BuildDepthStencilFormats(C3DeviceCombo* combo);
  HRESULT BuildMultiSampleTypes(C3DeviceCombo* combo);
  HRESULT BuildConflicts(C3DeviceCombo* combo);
  HRESULT BuildVertexProcessingTypes(const C3DeviceInfo* device, C3DeviceCombo* combo);
};

// "D3DDEVTYPE_HAL", "D3DDEVTYPE_REF", "D3DDEVTYPE_SW", else "Unknown devType".
const char* GetDeviceTypeName(D3DDEVTYPE type);

// Bits per colour channel and alpha bits of a format (0 for formats outside
// the enumeration's table).
UINT GetColorChannelBits(D3DFORMAT format);
UINT GetAlphaChannelBits(D3DFORMAT format);
// Depth and stencil bits of the depth/stencil candidates (0 for others).
UINT GetDepthBits(D3DFORMAT format);
UINT GetStencilBits(D3DFORMAT format);

// Sort order of display modes: Width, then Height, then Format, then
// RefreshRate, all ascending.
bool DisplayModeLess(const D3DDISPLAYMODE& a, const D3DDISPLAYMODE& b);

// The present intervals a combo offers, in the order IMMEDIATE, DEFAULT, ONE,
// TWO, THREE, FOUR: DEFAULT always; the others when the caps' intervals hold
// their bits; windowed combos never TWO, THREE or FOUR. Returns the count
// written (at most 6).
UINT SelectPresentIntervals(DWORD capsPresentationIntervals, bool windowed, UINT out[6]);
