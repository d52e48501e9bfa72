#pragma once
// Small services of the engine frame: bounded string copy, Direct3D format
// names, the device cursor and the quaternion helpers of the arcball.
#include <windows.h>
#include <d3d9.h>
#include <d3dx9math.h>

// Copies at most size characters of source and always terminates at
// position size - 1. E_INVALIDARG (nothing written) when a pointer is null or
// size is below 1; otherwise 0.
HRESULT SafeStrCopy(char* destination, const char* source, int size);

// "D3DFMT_X8R8G8B8" for D3DFMT_X8R8G8B8, or "X8R8G8B8" without the prefix;
// "Unknown format" for values outside the table. The text is static.
const char* GetFormatName(D3DFORMAT format, bool withPrefix);

// Builds a device cursor from a Windows cursor (32-bit ARGB, transparent
// where the AND mask is set) and hands it to SetCursorProperties. With
// addMark a small marker is drawn into the top-left corner. E_FAIL when the
// cursor cannot be read; device failures are returned as they come.
HRESULT MakeDeviceCursor(IDirect3DDevice9* device, HCURSOR cursor, BOOL addMark);

// The pixel rule of MakeDeviceCursor: 0 where the AND mask pixel is set,
// else the image pixel with alpha 0xFF, plus the marker when addMark. mask
// and image hold width x height 32-bit pixels, top row first; out rows are
// pitchPixels apart.
void ComposeCursorPixels(const DWORD* mask, const DWORD* image, int width, int height,
                         BOOL addMark, DWORD* out, int pitchPixels);

// (u x v, u . v) for unit vectors u and v: the rotation by twice the angle
// between them.
// 1 when one of the four values is not a number (0 for null).
int HasNaN4(const float* values);

D3DXQUATERNION QuatFromUnitVectors(const D3DXVECTOR3& u, const D3DXVECTOR3& v);
// The shortest-arc rotation carrying from onto to (both normalised first).
// Opposite points give a half turn about an axis perpendicular to from;
// a zero-length point gives the identity.
D3DXQUATERNION QuatFromBallPoints(const D3DXVECTOR3& from, const D3DXVECTOR3& to);
