// The preview picture and the program's resources.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Preview.h"
#include "TestSupport.h"
#include "resource.h"

using namespace qvtest;

namespace {

// Draws the picture into a 32-bit DIB and returns its pixels (top-down).
std::vector<uint32_t> RenderPicture(int w, int h) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = w;
  info.bmiHeader.biHeight = -h;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(dc, bitmap);
  DrawPreviewPicture(dc, w, h);
  GdiFlush();
  std::vector<uint32_t> pixels(static_cast<const uint32_t*>(bits), static_cast<const uint32_t*>(bits) + w * h);
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
  return pixels;
}

int DarkPixelsInRows(const std::vector<uint32_t>& p, int w, int y0, int y1) {
  int n = 0;
  for (int y = y0; y < y1; ++y)
    for (int x = 0; x < w; ++x)
      if ((p[y * w + x] & 0xFFFFFF) < 0x404040) ++n;
  return n;
}

}  // namespace

TEST(PreviewPictureTest, WhiteGroundWithFourTextRows) {
  const int w = 160, h = 120;
  auto pixels = RenderPicture(w, h);
  EXPECT_EQ(pixels[0] & 0xFFFFFF, 0xFFFFFFu);
  EXPECT_EQ(pixels[w * h - 1] & 0xFFFFFF, 0xFFFFFFu);
  // Text starts at x = 10 of rows y = 5, h/5 + 5, 2h/5 + 5, 3h/5 + 5.
  for (int row = 0; row < 4; ++row) {
    int y = row * h / 5 + 5;
    EXPECT_GT(DarkPixelsInRows(pixels, w, y, y + 12), 10) << "row " << row;
  }
  // Nothing is written left of x = 10 or in the last fifth.
  EXPECT_EQ(DarkPixelsInRows(pixels, w, 4 * h / 5 + 5, h), 0);
}

namespace {
HWND g_parent = nullptr;
HWND g_child = nullptr;
RECT g_childRect{};
COLORREF g_childPixel = CLR_INVALID;

void CALLBACK InspectThenDestroyParent(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  g_child = FindWindowExA(g_parent, nullptr, "MYCLASS", nullptr);
  if (g_child) {
    GetClientRect(g_child, &g_childRect);
    HDC dc = GetDC(g_child);
    g_childPixel = GetPixel(dc, 2, 2);
    ReleaseDC(g_child, dc);
  }
  DestroyWindow(g_parent);
}

void CALLBACK CloseStandAlone(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  g_child = FindWindowA("MYCLASS", "MYCLASS");
  if (g_child) PostMessageA(g_child, WM_CLOSE, 0, 0);
}
}  // namespace

TEST(PreviewWindowTest, FillsTheParentAndEndsWithIt) {
  WNDCLASSA cls{};
  cls.lpfnWndProc = DefWindowProcA;
  cls.hInstance = GetModuleHandleA(nullptr);
  cls.lpszClassName = "QvPreviewHost";
  RegisterClassA(&cls);
  g_parent = CreateWindowExA(0, "QvPreviewHost", "host", WS_POPUP | WS_VISIBLE, 10, 10, 152, 112, nullptr, nullptr,
                             cls.hInstance, nullptr);
  ASSERT_NE(g_parent, nullptr);
  SetTimer(nullptr, 0, 500, InspectThenDestroyParent);
  EXPECT_EQ(ShowPreview(GetModuleHandleA(nullptr), g_parent), 0);  // returns once the parent is gone
  ASSERT_NE(g_child, nullptr);
  EXPECT_EQ(g_childRect.right, 152);
  EXPECT_EQ(g_childRect.bottom, 112);
  EXPECT_EQ(g_childPixel, RGB(255, 255, 255));
  EXPECT_FALSE(IsWindow(g_child));
}

TEST(PreviewWindowTest, WithoutParentOpensAStandAloneWindow) {
  g_child = nullptr;
  SetTimer(nullptr, 0, 500, CloseStandAlone);
  EXPECT_EQ(ShowPreview(GetModuleHandleA(nullptr), nullptr), 0);
  ASSERT_NE(g_child, nullptr);
  EXPECT_FALSE(IsWindow(g_child));
}

TEST(ResourceTest, IconAndAcceleratorTable) {
  HMODULE program = LoadLibraryExA((DistDir() + "Qelvar.scr").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(program, nullptr);
  EXPECT_NE(FindResourceA(program, MAKEINTRESOURCEA(IDI_MAIN_ICON), MAKEINTRESOURCEA(14) /* RT_GROUP_ICON */),
            nullptr);
  EXPECT_EQ(FindResourceA(program, MAKEINTRESOURCEA(141), MAKEINTRESOURCEA(4) /* RT_MENU */), nullptr);

  HRSRC found = FindResourceA(program, MAKEINTRESOURCEA(IDR_ACCELERATORS), MAKEINTRESOURCEA(9) /* RT_ACCELERATOR */);
  ASSERT_NE(found, nullptr);
  // Raw entries: fVirt (WORD), key (WORD), cmd (WORD), padding (WORD).
  struct Entry {
    WORD fVirt, key, cmd, pad;
  };
  const auto* entries = static_cast<const Entry*>(LockResource(LoadResource(program, found)));
  ASSERT_EQ(SizeofResource(program, found), 8 * sizeof(Entry));
  struct Expected {
    WORD key;
    bool alt;
    WORD cmd;
  } expected[] = {{VK_ESCAPE, false, 40006}, {'X', true, 40006},  {'C', false, 40001}, {'S', false, 40005},
                  {'Z', false, 40018},       {'X', false, 40019}, {VK_RETURN, true, 40003}, {'P', false, 40004}};
  for (int i = 0; i < 8; ++i) {
    EXPECT_EQ(entries[i].key, expected[i].key) << i;
    EXPECT_EQ(entries[i].cmd, expected[i].cmd) << i;
    EXPECT_TRUE(entries[i].fVirt & FVIRTKEY) << i;
    EXPECT_EQ((entries[i].fVirt & FALT) != 0, expected[i].alt) << i;
  }
  FreeLibrary(program);
}
