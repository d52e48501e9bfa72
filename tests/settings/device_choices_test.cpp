// The device page's choices over a scripted enumeration: each list holds a
// text once, formats come from full-screen combos only, and a choice lands
// in the full-screen half of the display settings.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "DeviceChoices.h"
#include "FakeDirect3D9.h"

using qvtest::FakeAdapter;
using qvtest::FakeDirect3D9;

namespace {

std::vector<std::string> Texts(const ChoiceList& items) {
  std::vector<std::string> texts;
  for (const ChoiceItem& item : items) texts.push_back(item.text);
  return texts;
}

class DeviceChoices : public ::testing::Test {
 protected:
  void SetUp() override {
    FakeAdapter adapter = FakeDirect3D9::MakeAdapter({
        {640, 480, 60, D3DFMT_X8R8G8B8},
        {640, 480, 75, D3DFMT_X8R8G8B8},
        {800, 600, 0, D3DFMT_X8R8G8B8},
        {800, 600, 60, D3DFMT_X8R8G8B8},
        {1024, 768, 60, D3DFMT_R5G6B5},
    });
    adapter.description = "First adapter";
    adapter.devices[D3DDEVTYPE_REF] = FakeDirect3D9::MakeCaps(D3DDEVTYPE_REF);
    D3DCAPS9 grouped = FakeDirect3D9::MakeCaps(D3DDEVTYPE_HAL);
    grouped.NumberOfAdaptersInGroup = 2;
    FakeAdapter second = FakeDirect3D9::MakeAdapter({{640, 480, 60, D3DFMT_X8R8G8B8}});
    second.description = "Second adapter";
    second.devices[D3DDEVTYPE_HAL] = grouped;
    d3d.adapters = {adapter, second};
    enumeration.Direct3D = &d3d;
    ASSERT_EQ(enumeration.Enumerate(), S_OK);
    ASSERT_EQ(enumeration.AdapterCount(), 2u);
  }
  FakeDirect3D9 d3d;
  C3DeviceEnum enumeration;
};

}  // namespace

TEST(DeviceChoiceLists, TextsAreComparedExactly) {
  ChoiceList items;
  EXPECT_TRUE(AddDistinctChoice(&items, "60 Hz", 60));
  EXPECT_FALSE(AddDistinctChoice(&items, "60 Hz", 61));
  EXPECT_TRUE(AddDistinctChoice(&items, "60 hz", 62));   // case counts
  EXPECT_TRUE(AddDistinctChoice(&items, "60 Hz ", 63));  // so does length
  const std::string longText(300, 'x');
  EXPECT_TRUE(AddDistinctChoice(&items, longText, 1));
  EXPECT_FALSE(AddDistinctChoice(&items, longText, 2));  // long texts match too
  EXPECT_TRUE(AddDistinctChoice(&items, longText + "y", 3));
  EXPECT_EQ(items.size(), 5u);

  EXPECT_EQ(PreferredChoice(items, 62), 1);
  EXPECT_EQ(PreferredChoice(items, 99), 0);  // not listed: the first
  EXPECT_EQ(PreferredChoice(ChoiceList(), 60), -1);
}

TEST_F(DeviceChoices, ListsOfTheChain) {
  EXPECT_EQ(Texts(AdapterChoices(enumeration)), (std::vector<std::string>{"First adapter", "Second adapter"}));
  C3AdapterInfo* first = FindAdapter(enumeration, 0);
  ASSERT_NE(first, nullptr);
  const ChoiceList devices = DeviceTypeChoices(first);
  EXPECT_EQ(Texts(devices), (std::vector<std::string>{"D3DDEVTYPE_HAL", "D3DDEVTYPE_REF"}));
  EXPECT_EQ(devices[1].data, D3DDEVTYPE_REF);

  const ChoiceList formats = AdapterFormatChoices(FindDeviceInfo(first, D3DDEVTYPE_HAL));
  EXPECT_EQ(Texts(formats), (std::vector<std::string>{"X8R8G8B8", "R5G6B5"}));

  // Each size once although it has several rates.
  const ChoiceList sizes = ResolutionChoices(first, D3DFMT_X8R8G8B8);
  EXPECT_EQ(Texts(sizes), (std::vector<std::string>{"640 by 480", "800 by 600"}));
  EXPECT_EQ(sizes[1].data, 600 * 65536 + 800);
  EXPECT_EQ(Texts(ResolutionChoices(first, D3DFMT_R5G6B5)), (std::vector<std::string>{"1024 by 768"}));
  EXPECT_TRUE(ResolutionChoices(first, D3DFMT_A8R8G8B8).empty());

  EXPECT_EQ(Texts(RefreshChoices(first, D3DFMT_X8R8G8B8, 640, 480)), (std::vector<std::string>{"60 Hz", "75 Hz"}));
  const ChoiceList rates = RefreshChoices(first, D3DFMT_X8R8G8B8, 800, 600);
  EXPECT_EQ(Texts(rates), (std::vector<std::string>{"Default Rate", "60 Hz"}));
  EXPECT_EQ(rates[0].data, 0);

  // Nothing to choose from gives empty lists, not a fault.
  EXPECT_TRUE(DeviceTypeChoices(nullptr).empty());
  EXPECT_TRUE(AdapterFormatChoices(nullptr).empty());
  EXPECT_TRUE(RefreshChoices(nullptr, D3DFMT_X8R8G8B8, 640, 480).empty());
  EXPECT_EQ(FindAdapter(enumeration, 7), nullptr);
  EXPECT_EQ(FindDeviceInfo(first, D3DDEVTYPE_SW), nullptr);

  // Dual view only for a device of an adapter group.
  EXPECT_FALSE(DeviceHasDualView(FindDeviceInfo(first, D3DDEVTYPE_HAL)));
  EXPECT_TRUE(DeviceHasDualView(FindDeviceInfo(FindAdapter(enumeration, 1), D3DDEVTYPE_HAL)));
  EXPECT_FALSE(DeviceHasDualView(nullptr));
}

TEST(DeviceChoiceLists, FormatsOfWindowedCombosAreNotOffered) {
  C3DeviceInfo device;
  for (D3DFORMAT format : {D3DFMT_R5G6B5, D3DFMT_X8R8G8B8, D3DFMT_R5G6B5}) {
    auto* combo = new C3DeviceCombo();
    combo->AdapterFormat = format;
    combo->IsWindowed = device.ComboCount() == 0;  // the first R5G6B5 combo only
    device.DeviceCombos.Add(combo);
  }
  EXPECT_EQ(Texts(AdapterFormatChoices(&device)), (std::vector<std::string>{"X8R8G8B8", "R5G6B5"}));
}

TEST_F(DeviceChoices, AChoiceLandsInTheFullscreenHalf) {
  DisplaySettings settings;
  settings.fullscreenDisplayMode = {640, 480, 60, D3DFMT_R5G6B5};
  C3AdapterInfo* first = FindAdapter(enumeration, 0);
  C3DeviceInfo* ref = FindDeviceInfo(first, D3DDEVTYPE_REF);
  StoreFullscreenDevice(&settings, first, ref);
  EXPECT_EQ(settings.fullscreenAdapterInfo, first);
  EXPECT_EQ(settings.fullscreenDeviceInfo, ref);
  ASSERT_NE(settings.fullscreenDeviceCombo, nullptr);
  EXPECT_EQ(settings.fullscreenDeviceCombo->AdapterFormat, D3DFMT_R5G6B5);
  EXPECT_FALSE(settings.fullscreenDeviceCombo->IsWindowed);

  StoreFullscreenFormat(&settings, D3DFMT_X8R8G8B8);
  EXPECT_EQ(settings.fullscreenDisplayMode.Format, D3DFMT_X8R8G8B8);
  EXPECT_EQ(settings.fullscreenDeviceCombo->AdapterFormat, D3DFMT_X8R8G8B8);
  EXPECT_EQ(settings.fullscreenDeviceCombo->DevType, D3DDEVTYPE_REF);

  StoreFullscreenResolution(&settings, ResolutionData(800, 600));
  StoreFullscreenRefresh(&settings, 75);
  EXPECT_EQ(settings.fullscreenDisplayMode.Width, 800u);
  EXPECT_EQ(settings.fullscreenDisplayMode.Height, 600u);
  EXPECT_EQ(settings.fullscreenDisplayMode.RefreshRate, 75u);
  // The windowed half is never touched.
  EXPECT_EQ(settings.windowedAdapterInfo, nullptr);

  // Nothing to store: nothing changes.
  StoreFullscreenDevice(&settings, first, nullptr);
  EXPECT_EQ(settings.fullscreenDeviceInfo, ref);
}
