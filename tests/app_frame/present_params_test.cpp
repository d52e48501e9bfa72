// Present parameters of the single-window and the adapter-group device, and
// the behaviour flags of the vertex processing types.
#include <gtest/gtest.h>

#include "frame/DisplaySettings.h"

namespace {

DisplaySettings Settings(bool windowed) {
  DisplaySettings s;
  s.IsWindowed = windowed;
  s.windowedDisplayMode = D3DDISPLAYMODE{1280, 1024, 0, D3DFMT_X8R8G8B8};
  s.windowedDepthStencilFormat = D3DFMT_D24X8;
  s.windowedMultisampleType = D3DMULTISAMPLE_NONE;
  s.windowedPresentInterval = D3DPRESENT_INTERVAL_DEFAULT;
  s.fullscreenDisplayMode = D3DDISPLAYMODE{1024, 768, 75, D3DFMT_X8R8G8B8};
  s.fullscreenDepthStencilFormat = D3DFMT_D24S8;
  s.fullscreenMultisampleType = D3DMULTISAMPLE_4_SAMPLES;
  s.fullscreenMultisampleQuality = 2;
  s.fullscreenPresentInterval = D3DPRESENT_INTERVAL_IMMEDIATE;
  return s;
}

HWND FakeWindow(uintptr_t v) { return reinterpret_cast<HWND>(v); }

}  // namespace

TEST(PresentParamsTest, WindowedUsesTheClientSize) {
  D3DPRESENT_PARAMETERS p = BuildPresentParameters(Settings(true), D3DFMT_X8R8G8B8, FakeWindow(0x10), 800, 619, true);
  EXPECT_TRUE(p.Windowed);
  EXPECT_EQ(p.BackBufferWidth, 800u);
  EXPECT_EQ(p.BackBufferHeight, 619u);
  EXPECT_EQ(p.FullScreen_RefreshRateInHz, 0u);
  EXPECT_EQ(p.BackBufferCount, 1u);
  EXPECT_EQ(p.SwapEffect, D3DSWAPEFFECT_DISCARD);
  EXPECT_EQ(p.hDeviceWindow, FakeWindow(0x10));
  EXPECT_TRUE(p.EnableAutoDepthStencil);
  EXPECT_EQ(p.AutoDepthStencilFormat, D3DFMT_D24X8);
  EXPECT_EQ(p.Flags, static_cast<DWORD>(D3DPRESENTFLAG_DISCARD_DEPTHSTENCIL));
  EXPECT_EQ(p.BackBufferFormat, D3DFMT_X8R8G8B8);
  EXPECT_EQ(p.PresentationInterval, static_cast<UINT>(D3DPRESENT_INTERVAL_DEFAULT));
}

TEST(PresentParamsTest, FullscreenUsesTheModeAndNoDepthBufferMeansNoFlags) {
  D3DPRESENT_PARAMETERS p = BuildPresentParameters(Settings(false), D3DFMT_A8R8G8B8, FakeWindow(0x10), 800, 619, false);
  EXPECT_FALSE(p.Windowed);
  EXPECT_EQ(p.BackBufferWidth, 1024u);
  EXPECT_EQ(p.BackBufferHeight, 768u);
  EXPECT_EQ(p.FullScreen_RefreshRateInHz, 75u);
  EXPECT_EQ(p.MultiSampleType, D3DMULTISAMPLE_4_SAMPLES);
  EXPECT_EQ(p.MultiSampleQuality, 2u);
  EXPECT_FALSE(p.EnableAutoDepthStencil);
  EXPECT_EQ(p.Flags, 0u);
  EXPECT_EQ(p.BackBufferFormat, D3DFMT_A8R8G8B8);
  EXPECT_EQ(p.PresentationInterval, static_cast<UINT>(D3DPRESENT_INTERVAL_IMMEDIATE));
}

TEST(PresentParamsTest, GroupHasOneRecordPerAdapterOfTheGroup) {
  DisplaySettings s = Settings(false);
  for (UINT count : {2u, 3u, 4u}) {
    auto heads = BuildGroupPresentParameters(s, D3DFMT_X8R8G8B8, FakeWindow(0x10), FakeWindow(0x20), count, true);
    ASSERT_EQ(heads.size(), count);
    EXPECT_EQ(heads[0].hDeviceWindow, FakeWindow(0x10));
    EXPECT_EQ(heads[1].hDeviceWindow, FakeWindow(0x20));
    for (UINT i = 2; i < count; ++i) EXPECT_EQ(heads[i].hDeviceWindow, nullptr);
    for (const auto& h : heads) {
      EXPECT_EQ(h.BackBufferWidth, 1024u);
      EXPECT_EQ(h.BackBufferHeight, 768u);
      EXPECT_EQ(h.FullScreen_RefreshRateInHz, 75u);
      EXPECT_EQ(h.AutoDepthStencilFormat, D3DFMT_D24S8);
      EXPECT_FALSE(h.Windowed);
    }
  }
  // A group that reports no adapters still yields one record.
  EXPECT_EQ(BuildGroupPresentParameters(s, D3DFMT_X8R8G8B8, FakeWindow(1), FakeWindow(2), 0, true).size(), 1u);
}

TEST(PresentParamsTest, GroupRecordsAreSizedByTheActiveMode) {
  // Windowed settings (debug mode never asks for a group, but the size rule holds).
  auto heads = BuildGroupPresentParameters(Settings(true), D3DFMT_X8R8G8B8, FakeWindow(1), FakeWindow(2), 2, true);
  EXPECT_EQ(heads[0].BackBufferWidth, 1280u);
  EXPECT_EQ(heads[1].BackBufferHeight, 1024u);
  EXPECT_EQ(heads[1].FullScreen_RefreshRateInHz, 75u);
}

TEST(PresentParamsTest, BehaviourFlagsOfTheVertexProcessingTypes) {
  EXPECT_EQ(BehaviourFlagsForVertexProcessing(C3VP_SOFTWARE), 0x20u);
  EXPECT_EQ(BehaviourFlagsForVertexProcessing(C3VP_MIXED), 0x80u);
  EXPECT_EQ(BehaviourFlagsForVertexProcessing(C3VP_HARDWARE), 0x40u);
  EXPECT_EQ(BehaviourFlagsForVertexProcessing(C3VP_PURE_HARDWARE), 0x50u);
  EXPECT_EQ(BehaviourFlagsForVertexProcessing(4), 0u);
}
