#include "EngineUtil.h"

#include <cmath>
#include <cstring>
#include <vector>

HRESULT SafeStrCopy(char* destination, const char* source, int size) {
  if (destination == nullptr || source == nullptr || size < 1) return E_INVALIDARG;
  int i = 0;
  for (; i < size - 1 && source[i] != '\0'; ++i) destination[i] = source[i];
  destination[i] = '\0';
  destination[size - 1] = '\0';
  return S_OK;
}

namespace {

struct FormatName {
  D3DFORMAT format;
  const char* name;
};

#define QV_FMT(f) {f, #f}
const FormatName kFormatNames[] = {
    QV_FMT(D3DFMT_UNKNOWN),
    QV_FMT(D3DFMT_R8G8B8),       QV_FMT(D3DFMT_A8R8G8B8),      QV_FMT(D3DFMT_X8R8G8B8),
    QV_FMT(D3DFMT_R5G6B5),       QV_FMT(D3DFMT_X1R5G5B5),      QV_FMT(D3DFMT_A1R5G5B5),
    QV_FMT(D3DFMT_A4R4G4B4),     QV_FMT(D3DFMT_R3G3B2),        QV_FMT(D3DFMT_A8),
    QV_FMT(D3DFMT_A8R3G3B2),     QV_FMT(D3DFMT_X4R4G4B4),      QV_FMT(D3DFMT_A2B10G10R10),
    QV_FMT(D3DFMT_A8B8G8R8),     QV_FMT(D3DFMT_X8B8G8R8),      QV_FMT(D3DFMT_G16R16),
    QV_FMT(D3DFMT_A2R10G10B10),  QV_FMT(D3DFMT_A16B16G16R16),
    QV_FMT(D3DFMT_A8P8),         QV_FMT(D3DFMT_P8),
    QV_FMT(D3DFMT_L8),           QV_FMT(D3DFMT_A8L8),          QV_FMT(D3DFMT_A4L4),
    QV_FMT(D3DFMT_V8U8),         QV_FMT(D3DFMT_L6V5U5),        QV_FMT(D3DFMT_X8L8V8U8),
    QV_FMT(D3DFMT_Q8W8V8U8),     QV_FMT(D3DFMT_V16U16),        QV_FMT(D3DFMT_A2W10V10U10),
    QV_FMT(D3DFMT_D16_LOCKABLE), QV_FMT(D3DFMT_D32),           QV_FMT(D3DFMT_D15S1),
    QV_FMT(D3DFMT_D24S8),        QV_FMT(D3DFMT_D24X8),         QV_FMT(D3DFMT_D24X4S4),
    QV_FMT(D3DFMT_D16),          QV_FMT(D3DFMT_L16),
    QV_FMT(D3DFMT_VERTEXDATA),   QV_FMT(D3DFMT_INDEX16),       QV_FMT(D3DFMT_INDEX32),
    QV_FMT(D3DFMT_Q16W16V16U16), QV_FMT(D3DFMT_R16F),          QV_FMT(D3DFMT_G16R16F),
    QV_FMT(D3DFMT_A16B16G16R16F), QV_FMT(D3DFMT_R32F),         QV_FMT(D3DFMT_G32R32F),
    QV_FMT(D3DFMT_A32B32G32R32F), QV_FMT(D3DFMT_CxV8U8),
    QV_FMT(D3DFMT_MULTI2_ARGB8),
    QV_FMT(D3DFMT_DXT1), QV_FMT(D3DFMT_DXT2), QV_FMT(D3DFMT_DXT3), QV_FMT(D3DFMT_DXT4),
    QV_FMT(D3DFMT_DXT5), QV_FMT(D3DFMT_YUY2), QV_FMT(D3DFMT_UYVY),
};
#undef QV_FMT

const char kPrefix[] = "D3DFMT_";

}  // namespace

const char* GetFormatName(D3DFORMAT format, bool withPrefix) {
  for (const FormatName& entry : kFormatNames) {
    if (entry.format == format) {
      return withPrefix ? entry.name : entry.name + (sizeof kPrefix - 1);
    }
  }
  return "Unknown format";
}

namespace {

// The marker drawn into the cursor's top-left corner: 12 columns of 5 rows,
// bit (15 - column) of each row's word.
const WORD kCursorMark[5] = {0xCCC0, 0xA2A0, 0xA4A0, 0xA2A0, 0xCCC0};

bool ReadBitmapPixels(HDC dc, HBITMAP bitmap, int width, int height, std::vector<DWORD>* out) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down rows
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  out->assign(size_t(width) * size_t(height), 0);
  return GetDIBits(dc, bitmap, 0, UINT(height), out->data(), &info, DIB_RGB_COLORS) == height;
}

}  // namespace

void ComposeCursorPixels(const DWORD* mask, const DWORD* image, int width, int height,
                         BOOL addMark, DWORD* out, int pitchPixels) {
  for (int y = 0; y < height; ++y) {
    DWORD* row = out + ptrdiff_t(y) * pitchPixels;
    for (int x = 0; x < width; ++x) {
      const size_t i = size_t(y) * width + x;
      DWORD pixel = mask[i] != 0 ? 0 : (image[i] | 0xFF000000u);
      if (addMark && y < 5 && x < 12 && (kCursorMark[y] & (1u << (15 - x))) != 0) {
        pixel |= 0xFF808080u;
      }
      row[x] = pixel;
    }
  }
}

HRESULT MakeDeviceCursor(IDirect3DDevice9* device, HCURSOR cursor, BOOL addMark) {
  if (device == nullptr || cursor == nullptr) return E_FAIL;
  ICONINFO icon{};
  if (!GetIconInfo(cursor, &icon)) return E_FAIL;

  HRESULT result = E_FAIL;
  IDirect3DSurface9* surface = nullptr;
  HDC dc = nullptr;
  do {
    BITMAP bm{};
    if (icon.hbmMask == nullptr || GetObjectA(icon.hbmMask, sizeof bm, &bm) == 0) break;
    const bool monochrome = icon.hbmColor == nullptr;
    const int width = bm.bmWidth;
    const int maskHeight = bm.bmHeight;
    // A monochrome cursor keeps its AND mask and image one above the other.
    const int height = monochrome ? maskHeight / 2 : maskHeight;
    if (width <= 0 || height <= 0) break;

    result = device->CreateOffscreenPlainSurface(UINT(width), UINT(height), D3DFMT_A8R8G8B8,
                                                 D3DPOOL_SCRATCH, &surface, nullptr);
    if (FAILED(result)) break;
    result = E_FAIL;

    dc = CreateCompatibleDC(nullptr);
    if (dc == nullptr) break;
    std::vector<DWORD> mask, color;
    if (!ReadBitmapPixels(dc, icon.hbmMask, width, maskHeight, &mask)) break;
    if (!monochrome && !ReadBitmapPixels(dc, icon.hbmColor, width, height, &color)) break;

    D3DLOCKED_RECT locked{};
    result = surface->LockRect(&locked, nullptr, 0);
    if (FAILED(result)) break;
    const DWORD* image = monochrome ? mask.data() + size_t(width) * height : color.data();
    ComposeCursorPixels(mask.data(), image, width, height, addMark,
                        static_cast<DWORD*>(locked.pBits), locked.Pitch / 4);
    surface->UnlockRect();

    result = device->SetCursorProperties(icon.xHotspot, icon.yHotspot, surface);
    if (SUCCEEDED(result)) result = S_OK;
  } while (false);

  if (dc != nullptr) DeleteDC(dc);
  if (surface != nullptr) surface->Release();
  if (icon.hbmMask != nullptr) DeleteObject(icon.hbmMask);
  if (icon.hbmColor != nullptr) DeleteObject(icon.hbmColor);
  return result;
}

D3DXQUATERNION QuatFromUnitVectors(const D3DXVECTOR3& u, const D3DXVECTOR3& v) {
  D3DXVECTOR3 axis;
  D3DXVec3Cross(&axis, &u, &v);
  return D3DXQUATERNION(axis.x, axis.y, axis.z, D3DXVec3Dot(&u, &v));
}

namespace {

// Unit vector of v, or false when v has no usable length.
bool NormaliseOrFail(const D3DXVECTOR3& v, D3DXVECTOR3* out) {
  float length = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
  if (!(length > 1e-6f) || !std::isfinite(length)) return false;
  *out = v / length;
  return true;
}

}  // namespace

D3DXQUATERNION QuatFromBallPoints(const D3DXVECTOR3& from, const D3DXVECTOR3& to) {
  D3DXVECTOR3 f, t, half;
  if (!NormaliseOrFail(from, &f) || !NormaliseOrFail(to, &t)) {
    return D3DXQUATERNION(0.0f, 0.0f, 0.0f, 1.0f);
  }
  if (!NormaliseOrFail(f + t, &half)) {
    // Opposite points: every half turn about an axis perpendicular to from
    // carries it onto to; build one from a helper axis not parallel to from.
    D3DXVECTOR3 helper = std::fabs(f.x) < 0.9f ? D3DXVECTOR3(1, 0, 0) : D3DXVECTOR3(0, 1, 0);
    D3DXVECTOR3 perpendicular;
    D3DXVec3Cross(&perpendicular, &f, &helper);
    NormaliseOrFail(perpendicular, &half);
  }
  return QuatFromUnitVectors(f, half);
}

int HasNaN4(const float* values) {
  if (!values) return 0;
  for (int i = 0; i < 4; ++i)
    if (std::isnan(values[i])) return 1;
  return 0;
}
