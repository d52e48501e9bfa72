// Device enumeration over a scripted Direct3D object: what is kept, what is
// dropped, and in which order.
#include <gtest/gtest.h>

#include <vector>

#include "FakeDirect3D9.h"
#include "enumeration/C3DeviceEnum.h"
#include "util/EngineUtil.h"

using qvtest::FakeAdapter;
using qvtest::FakeDirect3D9;

namespace {

D3DDISPLAYMODE Mode(UINT w, UINT h, UINT refresh, D3DFORMAT format) {
  return D3DDISPLAYMODE{w, h, refresh, format};
}

std::vector<D3DFORMAT> DepthFormats(const C3DeviceCombo* combo) {
  std::vector<D3DFORMAT> out;
  for (UINT i = 0; i < combo->DepthStencilFormats.Count(); ++i) {
    out.push_back(combo->GetDepthStencilFormat(i));
  }
  return out;
}

std::vector<UINT> VertexTypes(const C3DeviceCombo* combo) {
  std::vector<UINT> out;
  for (UINT i = 0; i < combo->VertexProcessingTypes.Count(); ++i) {
    out.push_back(combo->GetVertexProcessingType(i));
  }
  return out;
}

std::vector<UINT> Intervals(const C3DeviceCombo* combo) {
  std::vector<UINT> out;
  for (UINT i = 0; i < combo->PresentIntervals.Count(); ++i) {
    out.push_back(combo->GetPresentInterval(i));
  }
  return out;
}

// The application's settings: depth buffer with at least 24 bits.
void ProductRequirements(C3DeviceEnum* e) {
  e->UsesDepthBuffer = true;
  e->MinDepthBits = 24;
}

// A callback that counts its questions and refuses listed types.
std::vector<UINT> g_refusedVertexTypes;
int g_callbackCalls = 0;
bool ScriptedConfirm(D3DCAPS9* caps, UINT type, D3DFORMAT, D3DFORMAT) {
  ++g_callbackCalls;
  caps->DevCaps = 0;  // a callback scribbling on the caps must not change the record
  for (UINT refused : g_refusedVertexTypes) {
    if (refused == type) return false;
  }
  return true;
}

class DeviceEnumTest : public ::testing::Test {
 protected:
  void SetUp() override {
    g_refusedVertexTypes.clear();
    g_callbackCalls = 0;
    e.Direct3D = &d3d;
  }
  FakeDirect3D9 d3d;
  C3DeviceEnum e;
};

}  // namespace

TEST(DeviceEnumNames, DeviceTypeNames) {
  EXPECT_STREQ(GetDeviceTypeName(D3DDEVTYPE_HAL), "D3DDEVTYPE_HAL");
  EXPECT_STREQ(GetDeviceTypeName(D3DDEVTYPE_REF), "D3DDEVTYPE_REF");
  EXPECT_STREQ(GetDeviceTypeName(D3DDEVTYPE_SW), "D3DDEVTYPE_SW");
  EXPECT_STREQ(GetDeviceTypeName(D3DDEVTYPE_NULLREF), "Unknown devType");
  EXPECT_STREQ(GetDeviceTypeName(static_cast<D3DDEVTYPE>(0)), "Unknown devType");
}

TEST(DeviceEnumNames, FormatNames) {
  EXPECT_STREQ(GetFormatName(static_cast<D3DFORMAT>(22), true), "D3DFMT_X8R8G8B8");
  EXPECT_STREQ(GetFormatName(static_cast<D3DFORMAT>(22), false), "X8R8G8B8");
  EXPECT_STREQ(GetFormatName(static_cast<D3DFORMAT>(999), true), "Unknown format");
  EXPECT_STREQ(GetFormatName(static_cast<D3DFORMAT>(999), false), "Unknown format");
  EXPECT_STREQ(GetFormatName(D3DFMT_UNKNOWN, true), "D3DFMT_UNKNOWN");
  EXPECT_STREQ(GetFormatName(D3DFMT_UNKNOWN, false), "UNKNOWN");
  // One from each numbered group and the four-character codes.
  const struct { DWORD value; const char* name; } table[] = {
      {20, "R8G8B8"},   {36, "A16B16G16R16"}, {40, "A8P8"},        {41, "P8"},
      {50, "L8"},       {52, "A4L4"},         {60, "V8U8"},        {64, "V16U16"},
      {67, "A2W10V10U10"}, {70, "D16_LOCKABLE"}, {71, "D32"},      {73, "D15S1"},
      {75, "D24S8"},    {77, "D24X8"},        {79, "D24X4S4"},     {80, "D16"},
      {81, "L16"},      {100, "VERTEXDATA"},  {102, "INDEX32"},    {110, "Q16W16V16U16"},
      {116, "A32B32G32R32F"}, {117, "CxV8U8"},
      {MAKEFOURCC('M', 'E', 'T', '1'), "MULTI2_ARGB8"},
      {MAKEFOURCC('D', 'X', 'T', '1'), "DXT1"}, {MAKEFOURCC('D', 'X', 'T', '5'), "DXT5"},
      {MAKEFOURCC('Y', 'U', 'Y', '2'), "YUY2"}, {MAKEFOURCC('U', 'Y', 'V', 'Y'), "UYVY"},
  };
  for (const auto& entry : table) {
    EXPECT_STREQ(GetFormatName(static_cast<D3DFORMAT>(entry.value), false), entry.name)
        << entry.value;
  }
  // Gaps between the groups are unknown.
  for (DWORD gap : {19u, 37u, 42u, 53u, 65u, 72u, 74u, 82u, 103u, 118u}) {
    EXPECT_STREQ(GetFormatName(static_cast<D3DFORMAT>(gap), true), "Unknown format") << gap;
  }
}

TEST(DeviceEnumRules, PresentIntervals) {
  UINT out[6];
  const DWORD all = D3DPRESENT_INTERVAL_IMMEDIATE | D3DPRESENT_INTERVAL_ONE |
                    D3DPRESENT_INTERVAL_TWO | D3DPRESENT_INTERVAL_THREE |
                    D3DPRESENT_INTERVAL_FOUR;
  ASSERT_EQ(SelectPresentIntervals(all, false, out), 6u);
  EXPECT_EQ(out[0], UINT(D3DPRESENT_INTERVAL_IMMEDIATE));
  EXPECT_EQ(out[1], UINT(D3DPRESENT_INTERVAL_DEFAULT));
  EXPECT_EQ(out[2], UINT(D3DPRESENT_INTERVAL_ONE));
  EXPECT_EQ(out[5], UINT(D3DPRESENT_INTERVAL_FOUR));
  // Windowed: at most IMMEDIATE, DEFAULT and ONE.
  ASSERT_EQ(SelectPresentIntervals(all, true, out), 3u);
  EXPECT_EQ(out[2], UINT(D3DPRESENT_INTERVAL_ONE));
  // DEFAULT even when the caps list nothing.
  ASSERT_EQ(SelectPresentIntervals(0, false, out), 1u);
  EXPECT_EQ(out[0], UINT(D3DPRESENT_INTERVAL_DEFAULT));
}

TEST_F(DeviceEnumTest, WithoutDirect3DNothingIsBuilt) {
  C3DeviceEnum empty;
  EXPECT_EQ(empty.Enumerate(), E_FAIL);
  EXPECT_EQ(empty.AdapterCount(), 0u);
  EXPECT_EQ(empty.AllowedAdapterFormats.Count(), 0u);
  EXPECT_EQ(empty.GetAdapter(0), nullptr);
}

TEST_F(DeviceEnumTest, ModesAreFilteredAndSorted) {
  d3d.adapters.push_back(FakeDirect3D9::MakeAdapter({
      Mode(1024, 768, 75, D3DFMT_X8R8G8B8), Mode(800, 600, 85, D3DFMT_R5G6B5),
      Mode(320, 240, 60, D3DFMT_X8R8G8B8),   // too narrow
      Mode(640, 400, 60, D3DFMT_X8R8G8B8),   // too low
      Mode(800, 600, 60, D3DFMT_X8R8G8B8), Mode(800, 600, 75, D3DFMT_X8R8G8B8),
      Mode(640, 480, 60, D3DFMT_R5G6B5), Mode(800, 600, 60, D3DFMT_R5G6B5),
      Mode(640, 480, 60, D3DFMT_A8R8G8B8),   // not an allowed adapter format
      Mode(1280, 1024, 60, D3DFMT_A2R10G10B10),
  }));
  ASSERT_EQ(e.Enumerate(), S_OK);
  ASSERT_EQ(e.AllowedAdapterFormats.Count(), 4u);
  EXPECT_EQ(*e.AllowedAdapterFormats.Get<D3DFORMAT>(0), D3DFMT_X8R8G8B8);
  EXPECT_EQ(*e.AllowedAdapterFormats.Get<D3DFORMAT>(3), D3DFMT_A2R10G10B10);

  ASSERT_EQ(e.AdapterCount(), 1u);
  const C3AdapterInfo* adapter = e.GetAdapter(0);
  EXPECT_STREQ(adapter->AdapterIdentifier.Description, "Fake adapter");
  const D3DDISPLAYMODE expected[] = {
      Mode(640, 480, 60, D3DFMT_R5G6B5),  Mode(800, 600, 60, D3DFMT_X8R8G8B8),
      Mode(800, 600, 75, D3DFMT_X8R8G8B8), Mode(800, 600, 60, D3DFMT_R5G6B5),
      Mode(800, 600, 85, D3DFMT_R5G6B5),  Mode(1024, 768, 75, D3DFMT_X8R8G8B8),
      Mode(1280, 1024, 60, D3DFMT_A2R10G10B10),
  };
  ASSERT_EQ(adapter->ModeCount(), 7u);
  for (UINT i = 0; i < 7; ++i) {
    const D3DDISPLAYMODE* m = adapter->GetMode(i);
    EXPECT_EQ(m->Width, expected[i].Width) << i;
    EXPECT_EQ(m->Height, expected[i].Height) << i;
    EXPECT_EQ(m->RefreshRate, expected[i].RefreshRate) << i;
    EXPECT_EQ(m->Format, expected[i].Format) << i;
  }
  EXPECT_EQ(adapter->GetMode(7), nullptr);

  // Combos exist for each adapter format that had a mode, in the order the
  // formats were allowed.
  const C3DeviceInfo* hal = adapter->GetDeviceInfo(0);
  ASSERT_NE(hal, nullptr);
  EXPECT_EQ(hal->ComboCount(), 3u * 6u * 2u);
  EXPECT_EQ(hal->GetCombo(0)->AdapterFormat, D3DFMT_X8R8G8B8);
  EXPECT_EQ(hal->GetCombo(12)->AdapterFormat, D3DFMT_R5G6B5);
  EXPECT_EQ(hal->GetCombo(24)->AdapterFormat, D3DFMT_A2R10G10B10);
}

TEST_F(DeviceEnumTest, HigherColourMinimumDropsSixteenBitModes) {
  d3d.adapters.push_back(FakeDirect3D9::MakeAdapter(
      {Mode(800, 600, 60, D3DFMT_R5G6B5), Mode(800, 600, 60, D3DFMT_X8R8G8B8)}));
  e.MinColorChannelBits = 8;
  e.MinFullscreenWidth = 800;
  e.MinFullscreenHeight = 600;
  ASSERT_EQ(e.Enumerate(), S_OK);
  ASSERT_EQ(e.GetAdapter(0)->ModeCount(), 1u);
  EXPECT_EQ(e.GetAdapter(0)->GetMode(0)->Format, D3DFMT_X8R8G8B8);
}

TEST_F(DeviceEnumTest, SixteenBitDesktopStillYieldsCombos) {
  FakeAdapter adapter = FakeDirect3D9::MakeAdapter(
      {Mode(640, 480, 60, D3DFMT_R5G6B5), Mode(1024, 768, 60, D3DFMT_R5G6B5)});
  adapter.desktop = Mode(1024, 768, 60, D3DFMT_R5G6B5);
  d3d.adapters.push_back(adapter);
  // The driver renders only into its own format.
  d3d.checkDeviceType = [](UINT, D3DDEVTYPE, D3DFORMAT af, D3DFORMAT bb, BOOL) {
    return af == bb ? D3D_OK : D3DERR_NOTAVAILABLE;
  };
  ProductRequirements(&e);
  ASSERT_EQ(e.Enumerate(), S_OK);
  const C3DeviceInfo* hal = e.GetAdapter(0)->GetDeviceInfo(0);
  ASSERT_EQ(hal->ComboCount(), 2u);
  for (UINT i = 0; i < 2; ++i) {
    EXPECT_EQ(hal->GetCombo(i)->AdapterFormat, D3DFMT_R5G6B5);
    EXPECT_EQ(hal->GetCombo(i)->BackBufferFormat, D3DFMT_R5G6B5);
  }
  EXPECT_FALSE(hal->GetCombo(0)->IsWindowed);
  EXPECT_TRUE(hal->GetCombo(1)->IsWindowed);
}

TEST_F(DeviceEnumTest, ComboOrderAndWindowRequirements) {
  d3d.adapters.push_back(FakeDirect3D9::MakeAdapter({Mode(800, 600, 60, D3DFMT_X8R8G8B8)}));
  ASSERT_EQ(e.Enumerate(), S_OK);
  const C3DeviceInfo* hal = e.GetAdapter(0)->GetDeviceInfo(0);
  const D3DFORMAT backBuffers[] = {D3DFMT_A8R8G8B8, D3DFMT_X8R8G8B8, D3DFMT_A2R10G10B10,
                                   D3DFMT_R5G6B5,   D3DFMT_A1R5G5B5, D3DFMT_X1R5G5B5};
  ASSERT_EQ(hal->ComboCount(), 12u);
  for (UINT i = 0; i < 12; ++i) {
    const C3DeviceCombo* combo = hal->GetCombo(i);
    EXPECT_EQ(combo->BackBufferFormat, backBuffers[i / 2]) << i;
    EXPECT_EQ(combo->IsWindowed, (i % 2) == 1) << i;
    EXPECT_EQ(combo->AdapterOrdinal, 0u);
    EXPECT_EQ(combo->DevType, D3DDEVTYPE_HAL);
    // Without a depth buffer the depth list stays empty and the combo stays.
    EXPECT_EQ(combo->DepthStencilFormats.Count(), 0u);
  }
  EXPECT_EQ(hal->GetCombo(12), nullptr);

  C3DeviceEnum windowedOnly;
  windowedOnly.Direct3D = &d3d;
  windowedOnly.RequiresWindowed = true;
  windowedOnly.MinAlphaChannelBits = 8;  // only A8R8G8B8 back buffers
  ASSERT_EQ(windowedOnly.Enumerate(), S_OK);
  hal = windowedOnly.GetAdapter(0)->GetDeviceInfo(0);
  ASSERT_EQ(hal->ComboCount(), 1u);
  EXPECT_TRUE(hal->GetCombo(0)->IsWindowed);
  EXPECT_EQ(hal->GetCombo(0)->BackBufferFormat, D3DFMT_A8R8G8B8);

  C3DeviceEnum fullscreenOnly;
  fullscreenOnly.Direct3D = &d3d;
  fullscreenOnly.RequiresFullscreen = true;
  ASSERT_EQ(fullscreenOnly.Enumerate(), S_OK);
  hal = fullscreenOnly.GetAdapter(0)->GetDeviceInfo(0);
  ASSERT_EQ(hal->ComboCount(), 6u);
  for (UINT i = 0; i < 6; ++i) EXPECT_FALSE(hal->GetCombo(i)->IsWindowed);
}

TEST_F(DeviceEnumTest, DepthStencilMinimumsAndChecks) {
  d3d.adapters.push_back(FakeDirect3D9::MakeAdapter({Mode(800, 600, 60, D3DFMT_X8R8G8B8)}));
  d3d.checkDeviceType = [](UINT, D3DDEVTYPE, D3DFORMAT, D3DFORMAT bb, BOOL) {
    return bb == D3DFMT_X8R8G8B8 || bb == D3DFMT_R5G6B5 ? D3D_OK : D3DERR_NOTAVAILABLE;
  };
  d3d.checkDepthFormat = [](UINT, D3DDEVTYPE, D3DFORMAT, D3DFORMAT depth) {
    return depth == D3DFMT_D24X4S4 ? D3DERR_NOTAVAILABLE : D3D_OK;
  };
  // 32-bit depth does not go with a 16-bit colour buffer.
  d3d.checkDepthStencilMatch = [](UINT, D3DDEVTYPE, D3DFORMAT, D3DFORMAT target, D3DFORMAT depth) {
    return target == D3DFMT_R5G6B5 && depth == D3DFMT_D32 ? D3DERR_NOTAVAILABLE : D3D_OK;
  };

  ProductRequirements(&e);
  ASSERT_EQ(e.Enumerate(), S_OK);
  const C3DeviceInfo* hal = e.GetAdapter(0)->GetDeviceInfo(0);
  ASSERT_EQ(hal->ComboCount(), 4u);
  EXPECT_EQ(DepthFormats(hal->GetCombo(0)),
            (std::vector<D3DFORMAT>{D3DFMT_D24X8, D3DFMT_D24S8, D3DFMT_D32}));
  EXPECT_EQ(hal->GetCombo(2)->BackBufferFormat, D3DFMT_R5G6B5);
  EXPECT_EQ(DepthFormats(hal->GetCombo(2)),
            (std::vector<D3DFORMAT>{D3DFMT_D24X8, D3DFMT_D24S8}));

  // The engine's own default of 15 bits lets the small formats in, in
  // candidate order.
  C3DeviceEnum defaults;
  defaults.Direct3D = &d3d;
  defaults.UsesDepthBuffer = true;
  ASSERT_EQ(defaults.Enumerate(), S_OK);
  EXPECT_EQ(DepthFormats(defaults.GetAdapter(0)->GetDeviceInfo(0)->GetCombo(0)),
            (std::vector<D3DFORMAT>{D3DFMT_D16, D3DFMT_D15S1, D3DFMT_D24X8, D3DFMT_D24S8,
                                    D3DFMT_D32}));

  // Stencil bits required: only the stencil formats that pass remain.
  C3DeviceEnum stencil;
  stencil.Direct3D = &d3d;
  stencil.UsesDepthBuffer = true;
  stencil.MinStencilBits = 4;
  ASSERT_EQ(stencil.Enumerate(), S_OK);
  EXPECT_EQ(DepthFormats(stencil.GetAdapter(0)->GetDeviceInfo(0)->GetCombo(0)),
            (std::vector<D3DFORMAT>{D3DFMT_D24S8}));
}

TEST_F(DeviceEnumTest, CombosWithoutDepthFormatDropTheirDeviceAndAdapter) {
  d3d.adapters.push_back(FakeDirect3D9::MakeAdapter({Mode(800, 600, 60, D3DFMT_X8R8G8B8)}));
  d3d.adapters.push_back(FakeDirect3D9::MakeAdapter({Mode(800, 600, 60, D3DFMT_X8R8G8B8)}));
  d3d.adapters[1].description = "Second";
  // Adapter 0 has only 16-bit depth buffers.
  d3d.checkDepthFormat = [](UINT adapter, D3DDEVTYPE, D3DFORMAT, D3DFORMAT depth) {
    return adapter == 0 && depth != D3DFMT_D16 ? D3DERR_NOTAVAILABLE : D3D_OK;
  };
  ProductRequirements(&e);
  ASSERT_EQ(e.Enumerate(), S_OK);
  ASSERT_EQ(e.AdapterCount(), 1u);
  EXPECT_EQ(e.GetAdapter(0)->AdapterOrdinal, 1u);
  EXPECT_STREQ(e.GetAdapter(0)->AdapterIdentifier.Description, "Second");
  EXPECT_EQ(e.GetAdapter(0)->GetDeviceInfo(0)->GetCombo(0)->AdapterOrdinal, 1u);
}

TEST_F(DeviceEnumTest, DeviceTypesInOrderAndMissingOnesDropped) {
  FakeAdapter adapter = FakeDirect3D9::MakeAdapter({Mode(800, 600, 60, D3DFMT_X8R8G8B8)});
  adapter.devices[D3DDEVTYPE_REF] = FakeDirect3D9::MakeCaps(D3DDEVTYPE_REF);
  adapter.devices[D3DDEVTYPE_SW] = FakeDirect3D9::MakeCaps(D3DDEVTYPE_SW);
  d3d.adapters.push_back(adapter);
  ASSERT_EQ(e.Enumerate(), S_OK);
  const C3AdapterInfo* info = e.GetAdapter(0);
  ASSERT_EQ(info->DeviceInfoCount(), 3u);
  EXPECT_EQ(info->GetDeviceInfo(0)->DevType, D3DDEVTYPE_HAL);
  EXPECT_EQ(info->GetDeviceInfo(1)->DevType, D3DDEVTYPE_SW);
  EXPECT_EQ(info->GetDeviceInfo(2)->DevType, D3DDEVTYPE_REF);

  // No software device registered (GetDeviceCaps fails) and the reference
  // device refusing every format: only HAL remains.
  d3d.adapters[0].devices.erase(D3DDEVTYPE_SW);
  d3d.checkDeviceType = [](UINT, D3DDEVTYPE type, D3DFORMAT, D3DFORMAT, BOOL) {
    return type == D3DDEVTYPE_REF ? D3DERR_NOTAVAILABLE : D3D_OK;
  };
  ASSERT_EQ(e.Enumerate(), S_OK);  // a second run replaces the first
  ASSERT_EQ(e.AdapterCount(), 1u);
  info = e.GetAdapter(0);
  ASSERT_EQ(info->DeviceInfoCount(), 1u);
  EXPECT_EQ(info->GetDeviceInfo(0)->DevType, D3DDEVTYPE_HAL);
  EXPECT_EQ(info->GetDeviceInfo(1), nullptr);
  EXPECT_EQ(e.AllowedAdapterFormats.Count(), 4u);
}

TEST_F(DeviceEnumTest, MultisampleTypesAndConflicts) {
  d3d.adapters.push_back(FakeDirect3D9::MakeAdapter({Mode(800, 600, 60, D3DFMT_X8R8G8B8)}));
  d3d.checkDeviceType = [](UINT, D3DDEVTYPE, D3DFORMAT, D3DFORMAT bb, BOOL windowed) {
    return bb == D3DFMT_X8R8G8B8 && !windowed ? D3D_OK : D3DERR_NOTAVAILABLE;
  };
  d3d.checkMultiSample = [](UINT, D3DDEVTYPE, D3DFORMAT surface, BOOL, D3DMULTISAMPLE_TYPE type,
                            DWORD* quality) {
    if (quality) *quality = type == D3DMULTISAMPLE_4_SAMPLES ? 3 : 1;
    if (type == D3DMULTISAMPLE_NONE) return D3D_OK;
    if (type == D3DMULTISAMPLE_2_SAMPLES || type == D3DMULTISAMPLE_4_SAMPLES ||
        type == D3DMULTISAMPLE_16_SAMPLES) {
      // The stencil format cannot do 4 samples.
      if (surface == D3DFMT_D24S8 && type == D3DMULTISAMPLE_4_SAMPLES) return D3DERR_NOTAVAILABLE;
      return D3D_OK;
    }
    return D3DERR_NOTAVAILABLE;
  };
  ProductRequirements(&e);
  ASSERT_EQ(e.Enumerate(), S_OK);
  const C3DeviceCombo* combo = e.GetAdapter(0)->GetDeviceInfo(0)->GetCombo(0);
  ASSERT_NE(combo, nullptr);
  ASSERT_EQ(combo->MultiSampleTypes.Count(), 4u);
  EXPECT_EQ(combo->GetMultiSampleType(0), D3DMULTISAMPLE_NONE);
  EXPECT_EQ(combo->GetMultiSampleType(1), D3DMULTISAMPLE_2_SAMPLES);
  EXPECT_EQ(combo->GetMultiSampleType(2), D3DMULTISAMPLE_4_SAMPLES);
  EXPECT_EQ(combo->GetMultiSampleType(3), D3DMULTISAMPLE_16_SAMPLES);
  EXPECT_EQ(combo->GetMultiSampleQuality(2), 3u);
  EXPECT_EQ(combo->GetMultiSampleQuality(1), 1u);
  EXPECT_EQ(combo->GetMultiSampleType(4), D3DMULTISAMPLE_NONE);  // out of range
  ASSERT_EQ(combo->DSMSConflicts.Count(), 1u);
  const C3DSMSConflict* conflict = combo->DSMSConflicts.Get<C3DSMSConflict>(0);
  EXPECT_EQ(conflict->DSFormat, D3DFMT_D24S8);
  EXPECT_EQ(conflict->MSType, D3DMULTISAMPLE_4_SAMPLES);

  // No multisample type at all (not even NONE) drops the combo.
  d3d.checkMultiSample = [](UINT, D3DDEVTYPE, D3DFORMAT, BOOL, D3DMULTISAMPLE_TYPE, DWORD*) {
    return D3DERR_NOTAVAILABLE;
  };
  ASSERT_EQ(e.Enumerate(), S_OK);
  EXPECT_EQ(e.AdapterCount(), 0u);
}

TEST_F(DeviceEnumTest, VertexProcessingTypesFollowCapsAndCallback) {
  FakeAdapter adapter = FakeDirect3D9::MakeAdapter({Mode(800, 600, 60, D3DFMT_X8R8G8B8)});
  adapter.devices[D3DDEVTYPE_REF] = FakeDirect3D9::MakeCaps(D3DDEVTYPE_REF, 0);
  d3d.adapters.push_back(adapter);
  d3d.checkDeviceType = [](UINT, D3DDEVTYPE, D3DFORMAT, D3DFORMAT bb, BOOL windowed) {
    return bb == D3DFMT_X8R8G8B8 && !windowed ? D3D_OK : D3DERR_NOTAVAILABLE;
  };
  e.ConfirmDevice = ScriptedConfirm;
  ASSERT_EQ(e.Enumerate(), S_OK);
  const C3AdapterInfo* info = e.GetAdapter(0);
  EXPECT_EQ(VertexTypes(info->GetDeviceInfo(0)->GetCombo(0)),
            (std::vector<UINT>{C3VP_PURE_HARDWARE, C3VP_HARDWARE, C3VP_SOFTWARE}));
  // The callback's scribbles did not reach the stored caps.
  EXPECT_NE(info->GetDeviceInfo(0)->Caps.DevCaps & D3DDEVCAPS_PUREDEVICE, 0u);
  // Without hardware T&L only software processing is asked for.
  EXPECT_EQ(VertexTypes(info->GetDeviceInfo(1)->GetCombo(0)), (std::vector<UINT>{C3VP_SOFTWARE}));
  EXPECT_EQ(g_callbackCalls, 4);

  e.UsesMixedVP = true;
  g_refusedVertexTypes = {C3VP_PURE_HARDWARE};
  ASSERT_EQ(e.Enumerate(), S_OK);
  EXPECT_EQ(VertexTypes(e.GetAdapter(0)->GetDeviceInfo(0)->GetCombo(0)),
            (std::vector<UINT>{C3VP_HARDWARE, C3VP_MIXED, C3VP_SOFTWARE}));

  // A callback refusing everything leaves nothing, and callers see empty
  // lists rather than dangling records.
  g_refusedVertexTypes = {C3VP_PURE_HARDWARE, C3VP_HARDWARE, C3VP_MIXED, C3VP_SOFTWARE};
  ASSERT_EQ(e.Enumerate(), S_OK);
  EXPECT_EQ(e.AdapterCount(), 0u);
  EXPECT_EQ(e.GetAdapter(0), nullptr);
}

TEST_F(DeviceEnumTest, PresentIntervalsPerCombo) {
  FakeAdapter adapter = FakeDirect3D9::MakeAdapter({Mode(800, 600, 60, D3DFMT_X8R8G8B8)});
  adapter.devices[D3DDEVTYPE_HAL].PresentationIntervals =
      D3DPRESENT_INTERVAL_IMMEDIATE | D3DPRESENT_INTERVAL_ONE | D3DPRESENT_INTERVAL_TWO;
  d3d.adapters.push_back(adapter);
  d3d.checkDeviceType = [](UINT, D3DDEVTYPE, D3DFORMAT, D3DFORMAT bb, BOOL) {
    return bb == D3DFMT_X8R8G8B8 ? D3D_OK : D3DERR_NOTAVAILABLE;
  };
  ASSERT_EQ(e.Enumerate(), S_OK);
  const C3DeviceInfo* hal = e.GetAdapter(0)->GetDeviceInfo(0);
  ASSERT_EQ(hal->ComboCount(), 2u);
  EXPECT_EQ(Intervals(hal->GetCombo(0)),
            (std::vector<UINT>{UINT(D3DPRESENT_INTERVAL_IMMEDIATE), D3DPRESENT_INTERVAL_DEFAULT,
                               D3DPRESENT_INTERVAL_ONE, D3DPRESENT_INTERVAL_TWO}));
  EXPECT_EQ(Intervals(hal->GetCombo(1)),
            (std::vector<UINT>{UINT(D3DPRESENT_INTERVAL_IMMEDIATE), D3DPRESENT_INTERVAL_DEFAULT,
                               D3DPRESENT_INTERVAL_ONE}));
}

TEST_F(DeviceEnumTest, NoAdaptersIsAnEmptyResult) {
  ASSERT_EQ(e.Enumerate(), S_OK);
  EXPECT_EQ(e.AdapterCount(), 0u);
  EXPECT_EQ(e.GetAdapter(0), nullptr);
  e.Clear();
  EXPECT_EQ(e.AdapterCount(), 0u);
  EXPECT_EQ(e.AllowedAdapterFormats.Count(), 0u);
}

// A sanity check against the real runtime: Wine offers at least one adapter
// with a HAL device that has combos for the product's requirements.
TEST(DeviceEnumReal, EnumeratesTheRealRuntime) {
  IDirect3D9* d3d = Direct3DCreate9(D3D_SDK_VERSION);
  ASSERT_NE(d3d, nullptr);
  {
    C3DeviceEnum e;
    e.Direct3D = d3d;
    ProductRequirements(&e);
    ASSERT_EQ(e.Enumerate(), S_OK);
    ASSERT_GE(e.AdapterCount(), 1u);
    const C3AdapterInfo* adapter = e.GetAdapter(0);
    EXPECT_GE(adapter->ModeCount(), 1u);
    const C3DeviceInfo* hal = nullptr;
    for (UINT i = 0; i < adapter->DeviceInfoCount(); ++i) {
      if (adapter->GetDeviceInfo(i)->DevType == D3DDEVTYPE_HAL) hal = adapter->GetDeviceInfo(i);
    }
    ASSERT_NE(hal, nullptr);
    ASSERT_GE(hal->ComboCount(), 1u);
    bool windowed = false;
    for (UINT i = 0; i < hal->ComboCount(); ++i) {
      const C3DeviceCombo* combo = hal->GetCombo(i);
      windowed = windowed || combo->IsWindowed;
      for (D3DFORMAT depth : DepthFormats(combo)) EXPECT_GE(GetDepthBits(depth), 24u);
      EXPECT_GE(combo->VertexProcessingTypes.Count(), 1u);
      EXPECT_GE(combo->MultiSampleTypes.Count(), 1u);
    }
    EXPECT_TRUE(windowed);
    for (UINT i = 1; i < adapter->ModeCount(); ++i) {
      EXPECT_FALSE(DisplayModeLess(*adapter->GetMode(i), *adapter->GetMode(i - 1)));
    }
  }
  d3d->Release();
}
